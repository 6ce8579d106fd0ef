// Helpers for sound tests: tones written to files, and the mix rendered on demand.
#pragma once

#include <string>
#include <vector>

#include "audio/SoundSystem.h"

namespace testing_support {

// A tone at 44.1 kHz, WAV or, by the name's extension, MP3, the same on each channel; with whole cycles
// in the file it also loops without a seam. A cosine stands at its peak wherever a whole cycle begins.
enum class Wave { Sine, Cosine, Square };
std::string writeTone(const std::string& dir, const char* name, double frequency, double seconds,
                      double amplitude = 0.5, Wave wave = Wave::Sine, int channels = 1);

// Points OpenAL Soft at a configuration of its own: the output limiter turned off, as a player's may be,
// and the wave writer as the output device, writing the file returned. OpenAL Soft reads it once, at
// its first call in the process, so this comes before any other sound call. It also logs its warnings.
std::string configureOpenAL();
// What OpenAL Soft has complained of since the last call, a line each: an error our calls caused, or
// sources left to the context's end.
std::string openALComplaints();

// Stereo frames at 44.1 kHz, as floats, and what a test reads from them; times are in frames.
struct Recording {
    int channels = 2;
    std::vector<float> samples; // interleaved
    float sample(long frame, int c) const { return samples[static_cast<size_t>(frame * channels + c)]; }
    long frames() const { return static_cast<long>(samples.size()) / channels; }

    bool read(const std::string& path); // a wave file
    float rms(int channel, long from, long to) const;
    float peak(long from, long to) const;
    float quietest(int channel, long from, long to) const; // the lowest rms of its windows of 1024 frames
    double frequency(int channel, long from, long to) const; // from rising zero crossings
    float largestStep(long from, long to) const;             // from one sample to the next, either side
};

// A loopback device that the next sound system mixes on (mixNextSystemOn): time passes for it only
// while the test renders, and what it renders is recorded. Never freed, as the systems are not.
struct LoopbackMix : Recording {
    static constexpr int Rate = 44100;
    static constexpr int Period = 1024; // rendered at a time, as a real device mixes
    void* device = nullptr;

    static LoopbackMix& next(bool feeder = true);
    void render(long frames); // a period at a time
};

} // namespace testing_support

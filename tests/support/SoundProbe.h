// Helpers for sound tests: tones written to files, recordings of the wave-writer output, waiting.
#pragma once

#include <string>
#include <vector>

#include "audio/SoundSystem.h"

namespace testing_support {

std::string makeTempDir();

// A mono sine (or square) at 44.1 kHz, WAV or, by the name's extension, MP3; with whole cycles in
// the file it also loops without a seam.
std::string writeTone(const std::string& dir, const char* name, double frequency, double seconds,
                      double amplitude = 0.5, bool square = false);

// Points OpenAL Soft at its wave-writer output, a stereo file in `dir`; call before the system's init.
// OpenAL Soft reads its settings once per process, so later calls return the first call's file, which
// every device opened afterwards writes afresh.
std::string useWaveWriter(const std::string& dir);

struct Recording {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved
    float sample(long frame, int c) const { return samples[static_cast<size_t>(frame * channels + c)]; }

    bool read(const std::string& path);
    double seconds() const { return rate ? static_cast<double>(samples.size()) / channels / rate : 0; }
    float rms(int channel, double from, double to) const;
    double frequency(int channel, double from, double to) const; // from rising zero crossings
    // The largest change from one sample to the next on either side; `at` gets its time.
    float largestStep(double from, double to, double* at = nullptr) const;
};

// The frame loop's share of the sound work, done more often than a frame: update() every 10 ms.
void runFor(audio::SoundSystem* system, double seconds);

} // namespace testing_support

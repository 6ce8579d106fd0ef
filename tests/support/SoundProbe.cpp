// Tones, wave-writer recordings and their levels and pitches, for the sound tests.
#include "support/SoundProbe.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace testing_support {

std::string makeTempDir() {
    char pattern[] = "/tmp/gravimel-sound-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "/tmp";
}

std::string writeTone(const std::string& dir, const char* name, double frequency, double seconds,
                      double amplitude, bool square) {
    const int rate = 44100;
    std::string path = dir + "/" + name;
    const bool mp3 = path.size() > 4 && path.compare(path.size() - 4, 4, ".mp3") == 0;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = mp3 ? (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return path;
    std::vector<float> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); i++) {
        double s = std::sin(2 * M_PI * frequency * static_cast<double>(i) / rate);
        samples[i] = static_cast<float>(amplitude * (square ? (s < 0 ? -1 : 1) : s));
    }
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return path;
}

std::string useWaveWriter(const std::string& dir) {
    static std::string output;
    if (!output.empty()) return output;
    output = dir + "/output.wav";
    std::string config = dir + "/alsoft.conf";
    if (FILE* f = fopen(config.c_str(), "w")) {
        fprintf(f, "[general]\ndrivers = wave\nchannels = stereo\nfrequency = 44100\nhrtf = false\n");
        fprintf(f, "[wave]\nfile = %s\n", output.c_str());
        fclose(f);
    }
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1); // the test environment asks for the null output
    return output;
}

bool Recording::read(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return false;
    rate = info.samplerate;
    channels = info.channels;
    samples.resize(static_cast<size_t>(info.frames * info.channels));
    sf_count_t got = sf_readf_float(file, samples.data(), info.frames);
    samples.resize(static_cast<size_t>(got * info.channels));
    sf_close(file);
    return got > 0;
}

float Recording::rms(int channel, double from, double to) const {
    long first = static_cast<long>(from * rate), last = static_cast<long>(to * rate);
    long frames = static_cast<long>(samples.size()) / channels;
    double sum = 0;
    long n = 0;
    for (long i = std::max(0L, first); i < std::min(last, frames); i++, n++) {
        double v = samples[static_cast<size_t>(i * channels + channel)];
        sum += v * v;
    }
    return n ? static_cast<float>(std::sqrt(sum / n)) : 0.0f;
}

double Recording::frequency(int channel, double from, double to) const {
    long first = static_cast<long>(from * rate), last = static_cast<long>(to * rate);
    long frames = static_cast<long>(samples.size()) / channels;
    last = std::min(last, frames);
    long firstCrossing = -1, lastCrossing = -1, crossings = 0;
    for (long i = std::max(1L, first); i < last; i++) {
        float a = samples[static_cast<size_t>((i - 1) * channels + channel)];
        float b = samples[static_cast<size_t>(i * channels + channel)];
        if (a < 0 && b >= 0) {
            if (firstCrossing < 0)
                firstCrossing = i;
            else
                crossings++;
            lastCrossing = i;
        }
    }
    if (crossings == 0) return 0;
    return crossings * static_cast<double>(rate) / static_cast<double>(lastCrossing - firstCrossing);
}

float Recording::largestStep(double from, double to, double* at) const {
    long frames = static_cast<long>(samples.size()) / channels;
    long first = std::max(1L, static_cast<long>(from * rate)),
         last = std::min(frames, static_cast<long>(to * rate));
    float largest = 0;
    for (long i = first; i < last; i++)
        for (int c = 0; c < channels; c++) {
            float step = std::fabs(samples[static_cast<size_t>(i * channels + c)] -
                                   samples[static_cast<size_t>((i - 1) * channels + c)]);
            if (step > largest) {
                largest = step;
                if (at) *at = static_cast<double>(i) / rate;
            }
        }
    return largest;
}

void runFor(audio::SoundSystem* system, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        system->update();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace testing_support

// Tones, wave-writer recordings and their levels and pitches, for the sound tests.
#include "support/SoundProbe.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

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

namespace {

// The frames from `from` to `to` seconds that the recording holds, none before `lowest`.
std::pair<long, long> frames(const Recording& r, double from, double to, long lowest) {
    const long held = static_cast<long>(r.samples.size()) / r.channels;
    return {std::max(lowest, static_cast<long>(from * r.rate)),
            std::min(held, static_cast<long>(to * r.rate))};
}

} // namespace

float Recording::rms(int channel, double from, double to) const {
    const auto [first, last] = frames(*this, from, to, 0);
    double sum = 0;
    for (long i = first; i < last; i++)
        sum += static_cast<double>(sample(i, channel)) * sample(i, channel);
    return last > first ? static_cast<float>(std::sqrt(sum / static_cast<double>(last - first))) : 0.0f;
}

double Recording::frequency(int channel, double from, double to) const {
    const auto [first, last] = frames(*this, from, to, 1);
    long firstCrossing = -1, lastCrossing = -1, crossings = 0;
    for (long i = first; i < last; i++)
        if (sample(i - 1, channel) < 0 && sample(i, channel) >= 0) {
            if (crossings++ == 0) firstCrossing = i;
            lastCrossing = i;
        }
    if (crossings < 2) return 0;
    return static_cast<double>(crossings - 1) * rate / static_cast<double>(lastCrossing - firstCrossing);
}

float Recording::largestStep(double from, double to, double* at) const {
    const auto [first, last] = frames(*this, from, to, 1);
    float largest = 0;
    for (long i = first; i < last; i++)
        for (int c = 0; c < channels; c++) {
            const float step = std::fabs(sample(i, c) - sample(i - 1, c));
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

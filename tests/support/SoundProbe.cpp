// Tones, OpenAL Soft's settings for tests, and the mix rendered and measured.
#include "support/SoundProbe.h"
#include "support/TempDir.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/alc.h>
#include <AL/alext.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace testing_support {

std::string writeTone(const std::string& dir, const char* name, double frequency, double seconds,
                      double amplitude, Wave wave, int channels) {
    const int rate = 44100;
    std::string path = dir + "/" + name;
    const bool mp3 = path.size() > 4 && path.compare(path.size() - 4, 4, ".mp3") == 0;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = mp3 ? (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return path;
    const size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<float> samples(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < samples.size(); i++) {
        const double frame = static_cast<double>(i / static_cast<size_t>(channels));
        const double phase = 2 * M_PI * frequency * frame / rate;
        const double s = wave == Wave::Cosine ? std::cos(phase) : std::sin(phase);
        samples[i] = static_cast<float>(amplitude * (wave == Wave::Square ? (s < 0 ? -1 : 1) : s));
    }
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    return path;
}

namespace {
const TempDir& alDir() {
    static const TempDir dir; // goes at exit, after the systems have closed
    return dir;
}
} // namespace

std::string configureOpenAL() {
    const std::string config = alDir().file("alsoft.conf"), output = alDir().file("output.wav");
    if (FILE* f = fopen(config.c_str(), "w")) {
        fprintf(f, "[general]\ndrivers = wave\nchannels = stereo\nfrequency = 44100\nhrtf = false\n");
        fprintf(f, "output-limiter = false\n[wave]\nfile = %s\n", output.c_str());
        fclose(f);
    }
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1); // the test environment asks for the null output
    setenv("ALSOFT_LOGLEVEL", "2", 1);   // warnings, among them every error a call causes
    setenv("ALSOFT_LOGFILE", alDir().file("openal.log").c_str(), 1);
    return output;
}

std::string openALComplaints() {
    static size_t seen = 0;
    fflush(nullptr); // OpenAL Soft's log is an output stream of the process like any other
    const std::string log = readFile(alDir().file("openal.log"));
    std::string complaints;
    for (size_t at = std::min(seen, log.size()), end; at < log.size(); at = end + 1) {
        end = std::min(log.find('\n', at), log.size());
        const std::string line = log.substr(at, end - at);
        if (line.find("Error generated") != std::string::npos || line.find(" Source") != std::string::npos)
            complaints += line + "\n";
    }
    seen = log.size();
    return complaints;
}

bool Recording::read(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return false;
    channels = info.channels;
    samples.resize(static_cast<size_t>(info.frames * info.channels));
    sf_count_t got = sf_readf_float(file, samples.data(), info.frames);
    samples.resize(static_cast<size_t>(got * info.channels));
    sf_close(file);
    return got > 0;
}

float Recording::rms(int channel, long from, long to) const {
    to = std::min(to, frames());
    double sum = 0;
    for (long i = from; i < to; i++)
        sum += static_cast<double>(sample(i, channel)) * sample(i, channel);
    return to > from ? static_cast<float>(std::sqrt(sum / static_cast<double>(to - from))) : 0.0f;
}

float Recording::peak(long from, long to) const {
    float largest = 0;
    for (long i = from * channels; i < std::min(to, frames()) * channels; i++)
        largest = std::max(largest, std::fabs(samples[static_cast<size_t>(i)]));
    return largest;
}

float Recording::quietest(int channel, long from, long to) const {
    float lowest = 1;
    for (long at = from; at + 1024 <= to; at += 1024)
        lowest = std::min(lowest, rms(channel, at, at + 1024));
    return lowest;
}

double Recording::frequency(int channel, long from, long to) const {
    long first = -1, last = -1, crossings = 0;
    for (long i = std::max(from, 1L); i < std::min(to, frames()); i++)
        if (sample(i - 1, channel) < 0 && sample(i, channel) >= 0) {
            if (crossings++ == 0) first = i;
            last = i;
        }
    return crossings < 2 ? 0 : static_cast<double>(crossings - 1) * 44100 / static_cast<double>(last - first);
}

float Recording::largestStep(long from, long to) const {
    float largest = 0;
    for (long i = std::max(from, 1L); i < std::min(to, frames()); i++)
        for (int c = 0; c < channels; c++)
            largest = std::max(largest, std::fabs(sample(i, c) - sample(i - 1, c)));
    return largest;
}

LoopbackMix& LoopbackMix::next(bool feeder) {
    auto* loopback = new LoopbackMix;
    loopback->device = alcLoopbackOpenDeviceSOFT(nullptr);
    audio::mixNextSystemOn(
        audio::Loopback{loopback->device, [loopback](int frames) { loopback->render(frames); }, feeder});
    return *loopback;
}

void LoopbackMix::render(long frames) {
    for (long done = 0, n = 0; done < frames; done += n) {
        n = std::min<long>(Period, frames - done);
        samples.resize(samples.size() + static_cast<size_t>(2 * n));
        alcRenderSamplesSOFT(static_cast<ALCdevice*>(device), &samples[samples.size() - 2 * n],
                             static_cast<int>(n));
    }
}

} // namespace testing_support

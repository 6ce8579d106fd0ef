// Voices, envelopes, the looping canvas, a small reverb, and writing with headroom and seams checked.
#include "tools/sounds/Synth.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/support/SoundFile.h"

namespace synth {

namespace {

// One cycle of a waveform with the given harmonic weights, read back with linear interpolation.
struct Wavetable {
    static constexpr int Size = 4096;
    std::vector<float> table;

    explicit Wavetable(const std::vector<float>& harmonics) : table(Size + 1) {
        for (int i = 0; i <= Size; i++) {
            double sum = 0;
            for (size_t h = 0; h < harmonics.size(); h++)
                sum += harmonics[h] * std::sin(2 * Pi * static_cast<double>(h + 1) * i / Size);
            table[i] = static_cast<float>(sum);
        }
        float peak = 0;
        for (float v : table)
            peak = std::max(peak, std::fabs(v));
        for (float& v : table)
            v /= peak;
    }
    float at(double phase) const { // phase in cycles
        double p = (phase - std::floor(phase)) * Size;
        int i = static_cast<int>(p);
        float f = static_cast<float>(p - i);
        return table[i] + (table[i + 1] - table[i]) * f;
    }
};

const Wavetable& padTable() {
    static const Wavetable table([] {
        std::vector<float> h;
        for (int n = 1; n <= 12; n++)
            h.push_back(static_cast<float>(std::pow(n, -1.4) * std::exp(-0.18 * n)));
        return h;
    }());
    return table;
}

const Wavetable& brassTable() {
    static const Wavetable table([] {
        std::vector<float> h;
        for (int n = 1; n <= 16; n++)
            h.push_back(static_cast<float>(1.0 / n * std::exp(-0.08 * n)));
        return h;
    }());
    return table;
}

// Freeverb's comb and all-pass stages, with delays in samples at 44.1 kHz.
struct Comb {
    std::vector<float> line;
    size_t at = 0;
    float feedback, damp, store = 0;
    Comb(size_t length, float feedback, float damp) : line(length), feedback(feedback), damp(damp) {}
    float process(float in) {
        float out = line[at];
        store = out * (1 - damp) + store * damp;
        line[at] = in + store * feedback;
        at = (at + 1) % line.size();
        return out;
    }
};

struct AllPass {
    std::vector<float> line;
    size_t at = 0;
    explicit AllPass(size_t length) : line(length) {}
    float process(float in) {
        float buffered = line[at];
        line[at] = in + buffered * 0.5f;
        at = (at + 1) % line.size();
        return buffered - in;
    }
};

Samples reverbChannel(const Samples& dry, bool loop, float roomSize, int spread) {
    const size_t combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491};
    const size_t allPassLengths[] = {556, 441};
    std::vector<Comb> combs;
    for (size_t l : combLengths)
        combs.emplace_back(l + spread, roomSize, 0.35f);
    std::vector<AllPass> passes;
    for (size_t l : allPassLengths)
        passes.emplace_back(l + spread);

    // A loop runs through twice and keeps the second pass, whose start already hears the first's end.
    size_t n = dry.size();
    Samples wet(n);
    int passesOver = loop ? 2 : 1;
    for (int pass = 0; pass < passesOver; pass++) {
        for (size_t i = 0; i < n; i++) {
            float in = dry[i] * 0.05f;
            float sum = 0;
            for (Comb& c : combs)
                sum += c.process(in);
            for (AllPass& a : passes)
                sum = a.process(sum);
            wet[i] = sum;
        }
    }
    return wet;
}

} // namespace

double noteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }
long frames(double seconds) { return std::lround(seconds * Rate); }

float smoothEnvelope(double t, double length, double attack, double release) {
    if (t < 0 || t >= length) return 0;
    double a = t < attack ? 0.5 - 0.5 * std::cos(Pi * t / attack) : 1.0;
    double left = length - t;
    double r = left < release ? 0.5 - 0.5 * std::cos(Pi * left / release) : 1.0;
    return static_cast<float>(a * r);
}

Samples pad(double frequency, double seconds, double attack, double release, Random& random) {
    Samples out(frames(seconds));
    const double detune[] = {-0.004, 0.0, 0.0037};
    double phase[3], vibratoPhase = random.uniform();
    for (double& p : phase)
        p = random.uniform();
    const Wavetable& table = padTable();
    for (size_t i = 0; i < out.size(); i++) {
        double t = static_cast<double>(i) / Rate;
        double vibrato = 1 + 0.0015 * std::sin(2 * Pi * (0.21 * t + vibratoPhase));
        float sum = 0;
        for (int v = 0; v < 3; v++) {
            phase[v] += frequency * (1 + detune[v]) * vibrato / Rate;
            sum += table.at(phase[v]);
        }
        out[i] = sum / 3 * smoothEnvelope(t, seconds, attack, release);
    }
    return out;
}

Samples bell(double frequency, double seconds, double brightness) {
    Samples out(frames(seconds));
    for (size_t i = 0; i < out.size(); i++) {
        double t = static_cast<double>(i) / Rate;
        double index = brightness * std::exp(-t * 3.0);
        double modulator = std::sin(2 * Pi * frequency * 3.5 * t);
        double carrier = std::sin(2 * Pi * frequency * t + index * modulator);
        double overtone = 0.25 * std::sin(2 * Pi * frequency * 2.76 * t) * std::exp(-t * 6);
        double envelope = std::exp(-t * 2.2 / seconds * 2) * smoothEnvelope(t, seconds, 0.004, 0.05);
        out[i] = static_cast<float>((carrier + overtone) * envelope);
    }
    return out;
}

Samples softLead(double frequency, double seconds) {
    Samples out(frames(seconds));
    double phase = 0;
    for (size_t i = 0; i < out.size(); i++) {
        double t = static_cast<double>(i) / Rate;
        double vibrato = 1 + 0.004 * std::sin(2 * Pi * 4.8 * t) * std::min(1.0, t / 0.6);
        phase += frequency * vibrato / Rate;
        double tone =
            std::sin(2 * Pi * phase) + 0.18 * std::sin(4 * Pi * phase) + 0.06 * std::sin(6 * Pi * phase);
        out[i] = static_cast<float>(tone * smoothEnvelope(t, seconds, 0.25, seconds * 0.45));
    }
    return out;
}

Samples bass(double frequency, double seconds) {
    Samples out(frames(seconds));
    for (size_t i = 0; i < out.size(); i++) {
        double t = static_cast<double>(i) / Rate;
        double tone = std::sin(2 * Pi * frequency * t) + 0.2 * std::sin(4 * Pi * frequency * t);
        out[i] = static_cast<float>(tone * smoothEnvelope(t, seconds, 0.8, 1.6));
    }
    return out;
}

Samples brass(double frequency, double seconds, double vibrato) {
    Samples out(frames(seconds));
    const Wavetable& table = brassTable();
    double phase = 0;
    for (size_t i = 0; i < out.size(); i++) {
        double t = static_cast<double>(i) / Rate;
        double wobble = 1 + vibrato * std::sin(2 * Pi * 5.5 * t) * std::min(1.0, t / 0.3);
        phase += frequency * wobble / Rate;
        out[i] = table.at(phase) * smoothEnvelope(t, seconds, 0.03, std::min(0.25, seconds / 2));
    }
    return out;
}

Canvas::Canvas(double seconds, bool loop, bool stereo)
    : left(frames(seconds)), right(stereo ? frames(seconds) : 0), loop(loop), stereo(stereo) {}

void Canvas::mix(const Samples& note, double start, float gain, float pan) {
    long n = length();
    long first = frames(start);
    float gl = gain, gr = gain;
    if (stereo) { // equal-power pan
        double angle = (pan + 1) * Pi / 4;
        gl = gain * static_cast<float>(std::cos(angle) * std::sqrt(2.0));
        gr = gain * static_cast<float>(std::sin(angle) * std::sqrt(2.0));
    }
    for (size_t i = 0; i < note.size(); i++) {
        long at = first + static_cast<long>(i);
        if (loop)
            at = ((at % n) + n) % n;
        else if (at < 0 || at >= n)
            continue;
        left[at] += note[i] * gl;
        if (stereo) right[at] += note[i] * gr;
    }
}

void Canvas::mixDelayed(const Samples& note, double start, float gain, float pan, double delay, int echoes,
                        float feedback) {
    mix(note, start, gain, pan);
    float g = gain;
    for (int e = 1; e <= echoes; e++) {
        g *= feedback;
        mix(note, start + delay * e, g, (e % 2) ? -pan * 0.8f - 0.3f : pan);
    }
}

void Canvas::reverb(float wet, float roomSize) {
    Samples l = reverbChannel(left, loop, roomSize, 0);
    for (size_t i = 0; i < left.size(); i++)
        left[i] += wet * l[i];
    if (stereo) {
        Samples r = reverbChannel(right, loop, roomSize, 23);
        for (size_t i = 0; i < right.size(); i++)
            right[i] += wet * r[i];
    }
}

void Canvas::normalise(float peak) {
    float most = 0;
    for (float v : left)
        most = std::max(most, std::fabs(v));
    for (float v : right)
        most = std::max(most, std::fabs(v));
    if (most <= 0) return;
    for (float& v : left)
        v *= peak / most;
    for (float& v : right)
        v *= peak / most;
}

void Canvas::fadeEdges(double in, double out) {
    long n = length();
    for (long i = 0; i < n; i++) {
        double t = static_cast<double>(i) / Rate;
        float g = smoothEnvelope(t, static_cast<double>(n) / Rate, in, out);
        left[i] *= g;
        if (stereo) right[i] *= g;
    }
}

void Canvas::startAt(double seconds) {
    long n = length(), centre = frames(seconds), best = 0;
    float quietest = 1e30f;
    for (long i = centre - Rate / 100; i <= centre + Rate / 100; i++) {
        long k = ((i % n) + n) % n;
        float level = std::fabs(left[k]) + (stereo ? std::fabs(right[k]) : 0.0f);
        if (level < quietest) {
            quietest = level;
            best = k;
        }
    }
    std::rotate(left.begin(), left.begin() + best, left.end());
    if (stereo) std::rotate(right.begin(), right.begin() + best, right.end());
}

namespace {

bool encode(const std::string& path, const Canvas& canvas, float gain) {
    const int channels = canvas.stereo ? 2 : 1;
    std::vector<float> interleaved(static_cast<size_t>(canvas.length() * channels));
    for (long i = 0; i < canvas.length(); i++) {
        interleaved[i * channels] = canvas.left[i] * gain;
        if (canvas.stereo) interleaved[i * 2 + 1] = canvas.right[i] * gain;
    }
    const double mp3Compression = 0.25; // 0 best, 1 smallest
    return soundfile::write(path, soundfile::formatFor(path), Rate, channels, interleaved, mp3Compression);
}

// The largest sample of the file as a player's decoder gives it back, unclipped.
float decodedPeak(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return 2;
    std::vector<float> samples(static_cast<size_t>(Rate) * info.channels);
    float peak = 0;
    sf_count_t got;
    while ((got = sf_readf_float(file, samples.data(), Rate)) > 0)
        for (sf_count_t i = 0; i < got * info.channels; i++)
            peak = std::max(peak, std::fabs(samples[i]));
    sf_close(file);
    return peak;
}

// What a player would hear wrong in the file as decoded: near silence; and for a loop, a gap or a click
// where it comes round, or a click at its very first start from silence. Empty when it is sound.
std::string heardProblem(const std::string& path, bool loop) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return "does not decode";
    const int ch = info.channels;
    std::vector<float> s(static_cast<size_t>(info.frames * ch));
    const long n = static_cast<long>(sf_readf_float(file, s.data(), info.frames));
    sf_close(file);
    auto rms = [&](long from, long to) {
        double sum = 0;
        for (long i = from * ch; i < to * ch; i++)
            sum += static_cast<double>(s[i]) * s[i];
        return std::sqrt(sum / static_cast<double>((to - from) * ch));
    };
    const double overall = rms(0, n);
    if (n < Rate / 10 || overall < 0.03) return "near silence";
    if (!loop) return "";
    const long edge = Rate / 50; // the first and last 20 ms carry sound like the rest
    if (rms(0, edge) < 0.2 * overall || rms(n - edge, n) < 0.2 * overall) return "a gap at the loop's seam";
    for (int c = 0; c < ch; c++) {
        std::vector<float> steps;
        for (long i = 1; i < n; i++)
            steps.push_back(std::fabs(s[i * ch + c] - s[(i - 1) * ch + c]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
        const float typical = steps[steps.size() * 999 / 1000]; // 99.9 % of the steps are within it
        if (std::fabs(s[c]) > typical) return "the first start, from silence, clicks";
        if (std::fabs(s[c] - s[(n - 1) * ch + c]) > typical) return "the loop's seam clicks";
    }
    return "";
}

} // namespace

bool write(const std::string& path, const Canvas& canvas) {
    // MP3 rings past sharp edges, so a file can decode louder than the peak it was written with. One
    // that comes back above the ceiling is written again, that much quieter, so nothing ever clips.
    const float ceiling = 0.891f; // 1 dB below full scale
    float gain = 1;
    for (int attempt = 0; attempt < 4; attempt++) {
        if (!encode(path, canvas, gain)) return false;
        float peak = decodedPeak(path);
        if (peak > ceiling) {
            gain *= 0.995f * ceiling / peak;
            continue;
        }
        const std::string problem = heardProblem(path, canvas.loop);
        if (!problem.empty()) fprintf(stderr, "make_sounds: %s: %s\n", path.c_str(), problem.c_str());
        return problem.empty();
    }
    return false;
}

} // namespace synth

// Synthesises the game's music and sound effects into <build>/sounds, the same bytes on every run.
#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "tools/sounds/Synth.h"

using namespace synth;

namespace {

// A calm theme over four slow chords in D minor; the second pass adds a melody. 64 s, seamless,
// starting half a second before the first chord, in the lull between two.
Canvas music() {
    Canvas c(64.0, true, true);
    Random random(11);
    // Pad voicings and bass root of each chord: Dm9, Bbmaj9, Fmaj7, C6/9.
    const int chords[4][4] = {{50, 57, 60, 64}, {50, 53, 57, 60}, {53, 57, 60, 64}, {52, 55, 57, 62}};
    const int roots[4] = {38, 34, 41, 36};
    const float pans[4] = {-0.55f, -0.15f, 0.2f, 0.55f};
    for (int k = 0; k < 8; k++) {
        double start = 8.0 * k;
        const int* chord = chords[k % 4];
        for (int v = 0; v < 4; v++)
            c.mix(pad(noteFrequency(chord[v]), 11.5, 3.0, 4.5, random), start - 1.5, 0.11f, pans[v]);
        c.mix(bass(noteFrequency(roots[k % 4]), 9.0), start - 0.5, 0.22f);
        // Bells pick chord tones two octaves up; the second pass rings twice as often.
        double step = k < 4 ? 1.0 : 0.5;
        for (double t = 0; t < 8.0 - 1e-9; t += step) {
            if (random.uniform() < 0.3f) continue;
            int note = chord[random.next() % 4] + 24 + (random.uniform() < 0.25f ? 12 : 0);
            float pan = random.bipolar() * 0.7f;
            c.mixDelayed(bell(noteFrequency(note), 3.0, 1.2), start + t, 0.045f, pan, 0.75, 3, 0.45f);
        }
    }
    // Start time in seconds, MIDI note, length in seconds; the last note's tail comes round to 0 s.
    const struct {
        double start;
        int note;
        double length;
    } melody[] = {
        {32.0, 81, 2.2}, {34.0, 79, 1.2}, {35.0, 77, 1.2}, {36.0, 76, 3.8}, {40.0, 74, 2.2},
        {42.0, 77, 1.7}, {43.5, 81, 2.7}, {46.0, 79, 2.2}, {48.0, 76, 2.2}, {50.0, 72, 1.2},
        {51.0, 74, 1.2}, {52.0, 76, 3.8}, {56.0, 79, 2.2}, {58.0, 76, 1.7}, {59.5, 74, 5.5},
    };
    for (const auto& n : melody)
        c.mixDelayed(softLead(noteFrequency(n.note), n.length), n.start, 0.085f, 0.1f, 0.5, 2, 0.35f);
    // Distant stars: faint, high, short pings anywhere in the loop.
    for (int i = 0; i < 48; i++) {
        double t = random.uniform() * 64.0;
        double f = 2000 + 4000 * random.uniform();
        c.mix(bell(f, 0.7, 0.6), t, 0.012f, random.bipolar());
    }
    c.reverb(0.9f, 0.86f);
    c.normalise(0.7f);
    c.startAt(63.5); // the lull before the first chord
    return c;
}

// A bright zap: a falling square-ish tone over a short burst of noise.
Canvas laser() {
    Canvas c(0.35, false, false);
    Random random(21);
    double phase = 0;
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double f = 250 + 1900 * std::exp(-t * 11);
        phase += f / Rate;
        double tone = std::tanh(3 * std::sin(2 * Pi * phase)) * 0.7 + 0.3 * std::sin(4 * Pi * phase + 0.5);
        double body = tone * std::exp(-t * 13) * std::min(1.0, t / 0.002);
        double hiss = random.bipolar() * 0.35 * std::exp(-t * 60);
        c.left[i] = static_cast<float>(body + hiss);
    }
    c.fadeEdges(0.001, 0.03);
    c.normalise(0.8f);
    return c;
}

// A boom: a falling thump, darkening noise with crackle, and a long noisy tail.
Canvas explosion() {
    Canvas c(2.6, false, false);
    Random random(31);
    double low = 0, lower = 0, phase = 0;
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double cutoff = 180 + 3200 * std::exp(-t * 3.5);
        double a = 1 - std::exp(-2 * Pi * cutoff / Rate);
        low += a * (random.bipolar() - low);
        lower += a * (low - lower);
        double noise = lower * (std::exp(-t * 2.2) * 0.75 + std::exp(-t * 0.9) * 0.25) * 3.0;
        phase += (32 + 48 * std::exp(-t * 5)) / Rate;
        double thump = std::sin(2 * Pi * phase) * std::exp(-t * 3.2) * 0.9;
        double crackle =
            (t < 1.3 && random.uniform() < 0.0016) ? random.bipolar() * 0.8 * std::exp(-t * 2) : 0;
        double onset = std::min(1.0, t / 0.004);
        c.left[i] = static_cast<float>(std::tanh((noise + thump + crackle) * onset * 1.4));
    }
    c.fadeEdges(0.001, 0.25);
    c.normalise(0.85f);
    return c;
}

// A sparkling loop: high partials that each complete whole cycles in the loop, breathing at whole
// multiples of its length, with glints that wrap round the seam.
Canvas shimmer() {
    const double length = 2.0;
    Canvas c(length, true, false);
    Random random(41);
    const double partials[] = {2637.0, 3136.0, 3520.0, 4186.0, 4699.0, 5274.0};
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double sum = 0;
        for (int p = 0; p < 6; p++) {
            double breathing = 0.5 + 0.5 * std::sin(2 * Pi * ((p % 3) + 1) * t / length + p * 1.3);
            sum += std::sin(2 * Pi * partials[p] * t + p) * breathing * breathing;
        }
        c.left[i] = static_cast<float>(sum / 6);
    }
    for (int g = 0; g < 14; g++)
        c.mix(bell(3000 + 5000 * random.uniform(), 0.4, 0.8), length * g / 14.0, 0.35f);
    c.normalise(0.7f);
    c.startAt(0);
    return c;
}

// A rising chime: an arpeggio of D major over a soft swell.
Canvas gameStart() {
    Canvas c(1.8, false, false);
    Random random(51);
    const int notes[] = {74, 78, 81, 86};
    for (int i = 0; i < 4; i++)
        c.mix(bell(noteFrequency(notes[i]), 1.5, 1.0), 0.12 * i, 0.25f);
    for (int n : {62, 66, 69})
        c.mix(pad(noteFrequency(n), 1.8, 0.3, 1.2, random), 0, 0.12f);
    c.fadeEdges(0.002, 0.2);
    c.normalise(0.8f);
    return c;
}

// A whoosh that rises into two chimes.
Canvas spawn() {
    Canvas c(1.1, false, false);
    Random random(61);
    double band = 0, low = 0;
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double cutoff = 300 + 5000 * std::pow(std::min(t / 0.6, 1.0), 2);
        double a = 1 - std::exp(-2 * Pi * cutoff / Rate);
        low += a * (random.bipolar() - low);
        band += 0.02 * (low - band);
        c.left[i] = static_cast<float>((low - band) * smoothEnvelope(t, 0.75, 0.45, 0.3) * 0.8);
    }
    c.mix(bell(noteFrequency(81), 0.8, 1.0), 0.5, 0.3f);
    c.mix(bell(noteFrequency(88), 0.6, 1.0), 0.62, 0.25f);
    c.fadeEdges(0.005, 0.1);
    c.normalise(0.8f);
    return c;
}

// Powering down: a buzzing tone that slides and wobbles to a stop.
Canvas death() {
    Canvas c(1.8, false, false);
    double phase = 0, low = 0;
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double f = 110 + 520 * std::exp(-t * 1.8);
        phase += f * (1 + 0.03 * std::sin(2 * Pi * 7 * t)) / Rate;
        double saw = 2 * (phase - std::floor(phase)) - 1;
        low += 0.12 * (saw - low);
        c.left[i] = static_cast<float>(low * smoothEnvelope(t, 1.8, 0.01, 0.9));
    }
    c.normalise(0.8f);
    return c;
}

// A short fanfare that climbs to a held major chord.
Canvas winner() {
    Canvas c(3.0, false, false);
    const struct {
        double start;
        int note;
        double length;
    } notes[] = {
        {0.0, 72, 0.22}, {0.22, 76, 0.22}, {0.44, 79, 0.22},
        {0.66, 84, 2.2}, {0.66, 76, 2.2},  {0.66, 79, 2.2},
    };
    for (const auto& n : notes)
        c.mix(brass(noteFrequency(n.note), n.length, 0.004), n.start, 0.3f);
    for (int n : {84, 88, 91, 96})
        c.mix(bell(noteFrequency(n), 2.0, 1.0), 0.66 + (n - 84) * 0.01, 0.12f);
    c.reverb(0.5f, 0.8f);
    c.fadeEdges(0.002, 0.3);
    c.normalise(0.8f);
    return c;
}

// The sad trombone: three falling notes and a long, wobbling last one.
Canvas loser() {
    Canvas c(2.8, false, false);
    const struct {
        double start;
        int note;
        double length;
        double vibrato;
    } notes[] = {
        {0.0, 67, 0.45, 0.0},
        {0.5, 66, 0.45, 0.0},
        {1.0, 65, 0.45, 0.0},
        {1.5, 64, 1.2, 0.025},
    };
    for (const auto& n : notes)
        c.mix(brass(noteFrequency(n.note) / 2, n.length, n.vibrato), n.start, 0.4f);
    c.reverb(0.35f, 0.75f);
    c.fadeEdges(0.002, 0.2);
    c.normalise(0.8f);
    return c;
}

// A low rumbling drone; partials and their swell complete whole cycles in the 3 s loop.
Canvas planet() {
    const double length = 3.0;
    Canvas c(length, true, false);
    const double partials[][2] = {{55.0, 1.0}, {247.0 / 3, 0.6}, {110.0, 0.35}, {494.0 / 3, 0.2}};
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double sum = 0;
        for (const auto& p : partials)
            sum += p[1] * std::sin(2 * Pi * p[0] * t);
        c.left[i] = static_cast<float>(sum * (0.8 + 0.2 * std::sin(2 * Pi * t / length)));
    }
    c.reverb(0.4f, 0.7f);
    c.normalise(0.6f);
    c.startAt(0);
    return c;
}

// An engine hum at 90 Hz that pulses six times a second, one second to the loop.
Canvas ship() {
    Canvas c(1.0, true, false);
    for (long i = 0; i < c.length(); i++) {
        double t = static_cast<double>(i) / Rate;
        double sum = 0;
        for (int h = 1; h <= 8; h++)
            sum += std::sin(2 * Pi * 90 * h * t) / h;
        c.left[i] = static_cast<float>(sum * (0.75 + 0.25 * std::sin(2 * Pi * 6 * t)));
    }
    c.normalise(0.6f);
    c.startAt(0);
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s BUILD_DIR\n", argv[0]);
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/sounds";
    mkdir(dir.c_str(), 0755);
    const struct {
        const char* name;
        Canvas (*make)();
    } sounds[] = {
        {"background.mp3", music},
        {"laser.mp3", laser},
        {"explosion.mp3", explosion},
        {"shimmer.mp3", shimmer},
        {"game_start.wav", gameStart},
        {"spawn.wav", spawn},
        {"death.mp3", death},
        {"winner.wav", winner},
        {"loser.mp3", loser},
        {"planet.mp3", planet},
        {"ship.mp3", ship},
    };
    for (const auto& s : sounds) {
        std::string path = dir + "/" + s.name;
        if (!write(path, s.make())) {
            fprintf(stderr, "make_sounds: could not make %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

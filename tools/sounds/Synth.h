// Building blocks of the game's synthesised sounds: voices, envelopes, a looping canvas and reverb.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/support/Pi.h"
#include "tools/support/Random.h"

namespace synth {

constexpr int Rate = 44100;

using Samples = std::vector<float>;

// The sounds draw on xorshift32.
using Random = SeededRandom<XorShift32>;

double noteFrequency(int midiNote);
long frames(double seconds);

// A note's amplitude: a raised-cosine rise, a hold and an exponential or raised-cosine fall.
float smoothEnvelope(double t, double length, double attack, double release);

// Voices: each returns the note alone, to be mixed at its start time.
Samples pad(double frequency, double seconds, double attack, double release, Random& random);
Samples bell(double frequency, double seconds, double brightness);
Samples softLead(double frequency, double seconds);
Samples bass(double frequency, double seconds);
Samples brass(double frequency, double seconds, double vibrato);

// A canvas that is either a plain timeline or a loop: on a loop, whatever runs past the end comes
// round to the start, so the whole is periodic and its seam is as smooth as any other instant.
struct Canvas {
    Samples left, right;
    bool loop = false;
    bool stereo = false;

    Canvas(double seconds, bool loop, bool stereo);
    long length() const { return static_cast<long>(left.size()); }
    void mix(const Samples& note, double start, float gain, float pan = 0); // pan -1 left to 1 right
    void mixDelayed(const Samples& note, double start, float gain, float pan, double delay, int echoes,
                    float feedback);
    void reverb(float wet, float roomSize); // on a loop the tail of the end reaches the start
    void normalise(float peak);
    void fadeEdges(double in, double out); // plain timelines only
    // Loops only: turns the loop so that it begins at the quietest instant within 10 ms of
    // `seconds`, so that its very first start, from silence, does not click.
    void startAt(double seconds);
};

// Writes MP3 or WAV by the file's extension, 16-bit for WAV, and sees that the file decodes to a peak
// at least 1 dB below full scale, turning it down where the codec overshoots; false, with the reason on
// stderr, when it decodes to near silence or, for a loop, gaps or clicks where it comes round.
bool write(const std::string& path, const Canvas& canvas);

} // namespace synth

// The mixer's voices: the OpenAL sources that the most audible channels play on, and the fading tails
// of the sources they let go of.
#pragma once

#include <vector>

#include "audio/Output.h"

namespace audio {

// Stopped or paused in mid-sound, a source would drop to silence in one sample, a click. A voice that
// lets go of a playing sound turns its source down instead and leaves it to fade out as a tail, and
// goes on at once with a spare source, of which there are as many as voices.
class Voices {
  public:
    // Up to `count` voices and their spares, as many as the context gives; `fade` is how long a source
    // turned down takes to fall silent, surely.
    void open(int count, Time fade);
    void close(); // deletes every source

    int size() const { return static_cast<int>(sources.size()); }
    bool anyFree() const { return !freeVoices.empty(); }
    int take(); // a free voice; its source may hold what it last played
    unsigned source(int voice) const { return sources[voice]; }
    // Frees a voice. Its source fades out as a tail if it is playing and `fade` allows; otherwise, or
    // without a spare, it is stopped outright.
    void free(int voice, bool fade, Time now);
    void retireTails(Time now); // stops the tails whose fade is over
    void turnDown();            // every source to silence, over one period, at quit

  private:
    struct Tail {
        unsigned source = 0;
        Time end; // by when its fade is surely over and it can be stopped unheard
    };

    std::vector<unsigned> sources; // each voice's source
    std::vector<int> freeVoices;
    std::vector<unsigned> spares;
    std::vector<Tail> tails;
    Time fadeTime = 0;
};

} // namespace audio

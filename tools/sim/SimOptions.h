// The simulator's command line: how many frames, which seed, who flies ship 0, and what is shown.
#pragma once

#include <string>

namespace sim {

struct SimOptions {
    long long frames = 9000; // five minutes of game time
    bool seedGiven = false;
    unsigned seed = 0;      // used when seedGiven; otherwise the clock's seconds
    bool autopilot = false; // ship 0 flown by its own computer pilot
    bool render = false;
    bool quiet = false; // the game's own lines go nowhere
    bool help = false;
};

constexpr long long MaxFrames = 1000000000;

// False with a one-line reason in `error` for an unknown flag, a missing value or a bad number.
bool parseOptions(int argc, char** argv, SimOptions& options, std::string& error);

const char* usageText();

} // namespace sim

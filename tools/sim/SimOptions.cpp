// Reading the simulator's flags; numbers must be whole, in range and nothing else.
#include "tools/sim/SimOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

// strtoll alone would take " 12", "12abc" and "-0" and clamp what overflows.
bool readNumber(const char* text, long long low, long long high, long long& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    long long v = strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    value = v;
    return true;
}

} // namespace

bool parseOptions(int argc, char** argv, SimOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long long number = 0;
        if (flag == "--frames") {
            if (!readNumber(value, 1, MaxFrames, number)) {
                error = "--frames wants a whole number from 1 to " + std::to_string(MaxFrames) + ", not '" +
                        (value ? value : "") + "'";
                return false;
            }
            options.frames = number;
            ++i;
        } else if (flag == "--seed") {
            if (!readNumber(value, 0, 4294967295LL, number)) {
                error = std::string("--seed wants a whole number from 0 to 4294967295, not '") +
                        (value ? value : "") + "'";
                return false;
            }
            options.seed = static_cast<unsigned>(number);
            options.seedGiven = true;
            ++i;
        } else if (flag == "--autopilot") {
            options.autopilot = true;
        } else if (flag == "--render") {
            options.render = true;
        } else if (flag == "--quiet") {
            options.quiet = true;
        } else if (flag == "--help" || flag == "-h") {
            options.help = true;
        } else {
            error = "unknown option '" + flag + "'";
            return false;
        }
    }
    return true;
}

const char* usageText() {
    return "usage: gravimel-sim [--frames N] [--seed S] [--autopilot] [--render] [--quiet] [--help]\n"
           "Runs the game's World at full speed from the build folder and prints what happened.\n"
           "  --frames N   updates to run, 1/30 s of game time each (default 9000, five minutes)\n"
           "  --seed S     lay the rounds out from seed S instead of the clock\n"
           "  --autopilot  ship 0 is flown by its own computer pilot instead of idling at its spawn\n"
           "  --render     draw every frame into the window and time it\n"
           "  --quiet      hide the game's own output lines; the simulator's lines still show\n"
           "Exit status: 0 done, 1 an invariant broke, 2 a bad command line.\n";
}

} // namespace sim

// gravimel-sim: the real World stepped at full speed for a number of frames, with counts, timings and checks.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/FrameLoop.h"
#include "audio/GameAudio.h"
#include "data/Constants.h"
#include "ships/Ship.h"
#include "tools/sim/Histogram.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/Tally.h"
#include "tools/support/Capture.h"
#include "tools/support/Invariants.h"
#include "world/World.h"

// Present only in sanitizer builds, whose allocator mallinfo2 knows nothing about.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {

using Clock = std::chrono::steady_clock;

constexpr long long CheckpointPeriod = 10000;
constexpr int ExitInvariant = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNoGame = 3;

FILE* out = stdout; // the simulator's own lines; stays the terminal when --quiet silences the game

double microseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

long residentKilobytes() {
    long pages = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (!statm) return -1;
    if (fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
    fclose(statm);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long heapKilobytes() {
    if (__sanitizer_get_current_allocated_bytes)
        return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
    struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

// The game's own start-up, minus the full screen, the title image and the grabbed mouse, and with the
// random generator seeded by the caller instead of the clock.
World* startSim(bool render, unsigned seed) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "gravimel-sim: SDL: %s\n", SDL_GetError());
        exit(ExitNoGame);
    }
    // No SDL_Quit at exit: it would unload the GL driver before the leak check could name its frames.
    // The game asks for multisampling; timing a frame without it would flatter the renderer.
    if (render) SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 4);
    if (!SDL_SetVideoMode(ScreenWidth, ScreenHeight, 32, SDL_OPENGL)) {
        fprintf(stderr, "gravimel-sim: no OpenGL window (%s); run it under xvfb-run\n", SDL_GetError());
        exit(ExitNoGame);
    }
    SDL_WM_SetCaption("gravimel-sim", NULL);
    setUpViewport();
    enableSceneState();
    return &startWorld(seed);
}

void printCounts(const char* what, long long total, const long long (&byPlayer)[PlayerCount]) {
    fprintf(out, "sim: %s: %lld (", what, total);
    for (int n = 0; n < PlayerCount; ++n)
        fprintf(out, "%s%d: %lld", n ? ", " : "", n, byPlayer[n]);
    fprintf(out, ")\n");
}

void printSummary(const sim::Tally& tally, long long framesRun, long long roundStart,
                  const sim::Histogram& update, const sim::Histogram& render,
                  const sim::Histogram& renderAndSwap) {
    fprintf(out, "sim: summary\n");
    fprintf(out, "sim: frames run: %lld (%.1f minutes of game time)\n", framesRun, framesRun / 1800.0);

    const std::vector<sim::RoundRecord>& rounds = tally.rounds;
    fprintf(out, "sim: rounds finished: %zu\n", rounds.size());
    if (!rounds.empty()) {
        std::vector<long long> lengths;
        long long sum = 0;
        for (const sim::RoundRecord& r : rounds) {
            lengths.push_back(r.length);
            sum += r.length;
        }
        std::sort(lengths.begin(), lengths.end());
        fprintf(out, "sim: round lengths: min %lld, median %lld, mean %lld, max %lld frames\n",
                lengths.front(), lengths[(lengths.size() - 1) / 2],
                sum / static_cast<long long>(lengths.size()), lengths.back());
        long long wins[PlayerCount] = {};
        for (const sim::RoundRecord& r : rounds)
            wins[r.winner] += 1;
        printCounts("wins", static_cast<long long>(rounds.size()), wins);
    }
    fprintf(out, "sim: unfinished round: %lld frames so far\n", framesRun - roundStart + 1);

    long long deaths = 0, collected = 0;
    for (int n = 0; n < PlayerCount; ++n) {
        deaths += tally.deaths[n];
        collected += tally.rewardsCollected[n];
    }
    printCounts("ship deaths", deaths, tally.deaths);
    fprintf(out, "sim: planets destroyed: %lld\n", tally.planetsDestroyed);
    fprintf(out, "sim: rewards taken: %lld\n", tally.rewardsTaken);
    printCounts("rewards collected by ships", collected, tally.rewardsCollected);
    fprintf(out, "sim: peak projectiles: %d\n", tally.peakProjectiles);
    fprintf(out, "sim: peak explosions: %d\n", tally.peakExplosions);
    fprintf(out, "sim: peak explosion particles: %d\n", tally.peakParticles);
    fprintf(out, "sim: peak smoke puffs: %d\n", tally.peakSmokePuffs);
    fprintf(out, "sim: peak sound channels: %d playing, %d real\n", tally.peakChannels,
            tally.peakRealChannels);
    fprintf(out, "sim: update time: median %.0f us, p99 %.0f us, max %.0f us\n", update.percentile(0.5),
            update.percentile(0.99), update.max());
    if (render.count() > 0) {
        fprintf(out, "sim: render time: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                render.percentile(0.5) / 1000, render.percentile(0.99) / 1000, render.max() / 1000);
        fprintf(out, "sim: render and swap time: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                renderAndSwap.percentile(0.5) / 1000, renderAndSwap.percentile(0.99) / 1000,
                renderAndSwap.max() / 1000);
    }
    fprintf(out, "sim: peak resident memory: %ld kB\n", peakResidentKilobytes());
}

} // namespace

int main(int argc, char** argv) {
    sim::SimOptions options;
    std::string error;
    if (!sim::parseOptions(argc, argv, options, error)) {
        fprintf(stderr, "gravimel-sim: %s\n(gravimel-sim --help lists the options)\n", error.c_str());
        return ExitUsage;
    }
    if (options.help) {
        fputs(sim::usageText(), stdout);
        return 0;
    }
    // The game's lines go to /dev/null, the simulator's to what standard output was.
    if (options.quiet && !(out = capture::silenceStdout())) {
        fprintf(stderr, "gravimel-sim: cannot hide the game's output\n");
        return ExitNoGame;
    }

    unsigned seed = options.seedGiven ? options.seed : static_cast<unsigned>(time(NULL));
    World* world = startSim(options.render, seed);
    if (options.autopilot) ShipTable[0].computerControlled = true;
    fflush(stdout);
    fprintf(out, "sim: seed %u, %lld frames, ship 0 %s\n", seed, options.frames,
            options.autopilot ? "flown by its pilot" : "idle");

    sim::Tally tally;
    sim::Histogram updateTimes(1, 100000);  // microseconds, up to 0.1 s
    sim::Histogram renderTimes(10, 100000); // up to 1 s
    sim::Histogram renderAndSwapTimes(10, 100000);
    std::string broken = sim::checkRoundLayout(*world);
    if (broken.empty()) tally.afterUpdate(*world, true);

    long long frame = 0;
    while (broken.empty() && frame < options.frames) {
        ++frame;
        if (options.render) {
            Clock::time_point t0 = Clock::now();
            world->render();
            Clock::time_point t1 = Clock::now();
            SDL_GL_SwapBuffers();
            Clock::time_point t2 = Clock::now();
            renderTimes.add(microseconds(t0, t1));
            renderAndSwapTimes.add(microseconds(t0, t2));
        }
        bool restarting = tally.beforeUpdate(*world, frame);
        Clock::time_point t0 = Clock::now();
        world->update();
        updateTimes.add(microseconds(t0, Clock::now()));
        updateAudio();

        if (restarting) {
            // Every round's set-up hands ship 0 back to the player.
            if (options.autopilot) ShipTable[0].computerControlled = true;
            broken = sim::checkRoundLayout(*world);
            const sim::RoundRecord& round = tally.rounds.back();
            fflush(stdout);
            fprintf(out, "sim: round %zu won by player %d after %lld frames (ended at frame %lld)\n",
                    tally.rounds.size(), round.winner, round.length, round.endFrame);
        }
        if (broken.empty()) broken = sim::checkState();
        tally.afterUpdate(*world, restarting);

        if (frame % CheckpointPeriod == 0) {
            fflush(stdout);
            fprintf(
                out,
                "sim: checkpoint frame %lld: rss %ld kB, heap %ld kB, explosions %d, channels %d (%d real)\n",
                frame, residentKilobytes(), heapKilobytes(), tally.explosionsNow, tally.channelsNow,
                tally.realChannelsNow);
            fflush(out);
        }
    }

    fflush(stdout);
    if (!broken.empty()) fprintf(out, "sim: invariant broken at frame %lld: %s\n", frame, broken.c_str());
    long long roundStart = tally.rounds.empty() ? 1 : tally.rounds.back().endFrame + 1;
    printSummary(tally, frame, roundStart, updateTimes, renderTimes, renderAndSwapTimes);
    fflush(out);
    return broken.empty() ? 0 : ExitInvariant;
}

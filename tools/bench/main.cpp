// gravimel-bench: starts the game as it starts for a player, runs the benchmarks, then sums them up.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <ext/stdio_filebuf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/FrameLoop.h"
#include "tools/bench/Scenes.h"
#include "tools/support/Capture.h"
#include "world/World.h"

namespace {

// The console table as usual, and at the end the medians of the figures the targets are about.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    // drawsNothing: the GL driver is Mesa's no-op one, which takes every call and draws nothing.
    SummaryReporter(bool colour, bool drawsNothing)
        : ConsoleReporter(colour ? OO_ColorTabular : OO_Tabular), drawsNothing(drawsNothing) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            Times& t = times[run.run_name.function_name];
            double unit = benchmark::GetTimeUnitMultiplier(run.time_unit) / 1e3; // per millisecond
            if (run.run_type == Run::RT_Iteration) {
                t.wall.push_back(run.GetAdjustedRealTime() / unit);
                t.cpu.push_back(run.GetAdjustedCPUTime() / unit);
            } else if (run.aggregate_name == "median") {
                t.medianWall = run.GetAdjustedRealTime() / unit;
                t.medianCpu = run.GetAdjustedCPUTime() / unit;
            }
        }
    }

    void Finalize() override {
        std::ostream& out = GetOutputStream();
        struct Row {
            const char* name;
            const char* label;
            double target; // ms of wall time; 0 for none
        };
        const Row rows[] = {
            {"Update/Opening", "World::update, opening", 0},
            {"Update/Heaviest", "World::update, heaviest", 0.5},
            {"CollideAll/Opening", "World::collideAll, opening", 0},
            {"CollideAll/Heaviest", "World::collideAll, heaviest", 0},
            {"Render/Opening", "World::render, opening", 0},
            {"Render/Heaviest", "World::render, heaviest", 0},
            {"Render/Turned", "World::render, opening looking away", 0},
            {"SoundUpdate", "SoundSystem::update, 100 + 400 channels", 0},
            {"EmptyFrame", "frame, empty (clear + swap)", 0},
            {"Frame/Opening", "frame, opening", 20},
            {"Frame/Heaviest", "frame, heaviest", 33.3},
            {"Frame/Turned", "frame, opening looking away", 0},
        };
        double empty = median("EmptyFrame").first;
        char line[200];
        if (drawsNothing)
            out << "\nMedians (ms) on the no-op driver, which draws nothing. CPU time is the measure: for a\n"
                   "frame, what a machine whose GPU draws still pays on its CPU.\n";
        else
            out << "\nMedians (ms). Wall is the target's measure; CPU counts the rasteriser's threads too "
                   "where\n"
                   "the benchmark draws. Frames are also given as multiples of the empty frame's wall "
                   "time.\n";
        snprintf(line, sizeof line, "  %-40s %10s %10s\n", "", "wall", "CPU");
        out << line;
        for (const Row& row : rows) {
            std::pair<double, double> t = median(row.name);
            if (t.first < 0) continue;
            int n = snprintf(line, sizeof line, "  %-40s %10.3f %10.3f", row.label, t.first, t.second);
            bool frame = std::string(row.name).find("Frame/") == 0;
            if (drawsNothing) {
                out << line << "\n";
                continue;
            }
            if (frame && empty > 0)
                n += snprintf(line + n, sizeof line - n, "  %6.2f x empty", t.first / empty);
            if (row.target > 0)
                snprintf(line + n, sizeof line - n, "  target %s %g: %s",
                         frame && row.target > 30 ? "<=" : "<", row.target,
                         t.first <= row.target ? "met" : "MISSED");
            out << line << "\n";
        }
        reportCulling(out);
        out.flush();
    }

  private:
    // Leaving out what is out of view against drawing everything, in CPU time, scene by scene.
    void reportCulling(std::ostream& out) {
        char line[200];
        out << "\nView culling, CPU medians (ms); the gain is the share of the time without it saved.\n";
        snprintf(line, sizeof line, "  %-16s %10s %10s %8s\n", "", "culling", "without", "gain");
        out << line;
        for (const std::string scene : {"Render/Opening", "Render/Heaviest", "Render/Turned", "Frame/Opening",
                                        "Frame/Heaviest", "Frame/Turned"}) {
            double with = median(scene).second, without = median(scene + "/NoCulling").second;
            if (with < 0 || without < 0) continue;
            snprintf(line, sizeof line, "  %-16s %10.2f %10.2f %7.1f%%\n", scene.c_str(), with, without,
                     100.0 * (without - with) / without);
            out << line;
        }
    }

    struct Times {
        std::vector<double> wall, cpu;
        double medianWall = -1, medianCpu = -1;
    };

    static double middle(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }

    // Wall and CPU: the repetitions' median aggregate, or the median of the runs, or -1.
    std::pair<double, double> median(const std::string& name) {
        auto it = times.find(name);
        if (it == times.end()) return {-1, -1};
        const Times& t = it->second;
        if (t.medianWall >= 0) return {t.medianWall, t.medianCpu};
        if (t.wall.empty()) return {-1, -1};
        return {middle(t.wall), middle(t.cpu)};
    }

    std::map<std::string, Times> times;
    bool drawsNothing;
};

// Returns the GL renderer's name.
std::string describeDisplay() {
    int samples = 0;
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples);
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    benchmark::AddCustomContext("GL renderer", renderer ? renderer : "none");
    benchmark::AddCustomContext("multisample samples", std::to_string(samples));
    return renderer ? renderer : "";
}

// SDL draws into a multisampled framebuffer of its own and resolves it at the swap, so a frame is
// read back after its swap. The second of two frames, so both start from the state the same frame left.
std::vector<unsigned char> renderAndRead() {
    for (int i = 0; i < 2; ++i) {
        theWorld->render();
        SDL_GL_SwapBuffers();
    }
    return capture::readWindow();
}

// Frames for comparing two builds byte for byte (cmp): the scenes as laid out and after some play,
// so that a change to the update shows as well as a change to the drawing.
bool writeFrames(const std::string& dir) {
    struct Shot {
        const char* name;
        bool heaviest;
        int updates;
    };
    const Shot shots[] = {{"opening", false, 0},
                          {"opening-played", false, 300},
                          {"heaviest", true, 0},
                          {"heaviest-played", true, 90}};
    for (const Shot& shot : shots) {
        if (shot.heaviest)
            layOutHeaviest(*theWorld);
        else
            layOutOpening(*theWorld);
        for (int i = 1; i <= shot.updates; ++i) {
            theWorld->update();
            if (shot.heaviest && i % UpdatesPerRearm == 0) rearmHeaviest(*theWorld);
        }
        std::vector<unsigned char> pixels = renderAndRead();
        std::string path = dir + "/" + shot.name + ".rgb";
        FILE* f = fopen(path.c_str(), "wb");
        if (!f || fwrite(pixels.data(), 1, pixels.size(), f) != pixels.size()) {
            fprintf(stderr, "gravimel-bench: cannot write %s\n", path.c_str());
            if (f) fclose(f);
            return false;
        }
        fclose(f);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    setenv("ALSOFT_DRIVERS", "null", 0); // silent unless the caller asks for a device
    benchmark::Initialize(&argc, argv);
    std::string framesDir;
    const std::string framesFlag = "--frames_to=";
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind(framesFlag, 0) != 0) continue;
        framesDir = argv[i] + framesFlag.size();
        for (int j = i; j < argc; ++j)
            argv[j] = argv[j + 1];
        --argc;
        break;
    }
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

    startGame(); // window, GL state, title, sound, the World and the music, as for a player
    const std::string renderer = describeDisplay();

    // The game's own lines (target choices, kills, rewards) would break up the table: they go to
    // /dev/null, the report to what standard output was.
    bool colour = isatty(STDOUT_FILENO);
    FILE* original = capture::silenceStdout();
    __gnu_cxx::stdio_filebuf<char> reportBuffer(original ? original : stdout, std::ios::out);
    std::ostream report(&reportBuffer);

    if (!framesDir.empty()) return writeFrames(framesDir) ? 0 : 1;

    SummaryReporter reporter(colour, renderer == "NOOP");
    reporter.SetOutputStream(&report);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    report.flush();
    return 0;
}

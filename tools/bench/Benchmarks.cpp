// The timed work: the update, the collision pass, rendering, the sound update and whole frames.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "data/Globals.h"
#include "ships/MeshLists.h"
#include "ships/Ship.h"
#include "tools/bench/Scenes.h"
#include "world/World.h"

namespace {

// Turned: the opening with the camera looking out of the arena, so that most objects are out of view.
enum Scene { Opening, Heaviest, Turned };

void layOut(Scene scene) {
    if (scene == Heaviest)
        layOutHeaviest(*theWorld);
    else
        layOutOpening(*theWorld);
    if (scene == Turned) turnAway();
}

// Keeps a played scene what it was: the opening is laid out again after one second of play, the
// heaviest scene re-armed. Done with the clock stopped.
void keepSteady(benchmark::State& state, Scene scene, long& played) {
    if (++played % UpdatesPerRearm != 0) return;
    state.PauseTiming();
    if (scene == Heaviest)
        rearmHeaviest(*theWorld);
    else
        layOut(scene);
    state.ResumeTiming();
}

void report(benchmark::State& state) {
    SceneLoad load = measureLoad();
    state.counters["firing"] = load.firingShips;
    state.counters["bolts"] = load.projectiles;
    state.counters["puffs"] = load.smokePuffs;
    state.counters["blasts"] = load.explosions;
    state.counters["particles"] = load.particles;
    state.counters["channels"] = load.channelsPlaying;
}

void Update(benchmark::State& state, Scene scene) {
    layOut(scene);
    long played = 0;
    for (auto _ : state) {
        theWorld->update();
        keepSteady(state, scene, played);
    }
    report(state);
}
BENCHMARK_CAPTURE(Update, Opening, Opening)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Update, Heaviest, Heaviest)->Unit(benchmark::kMicrosecond);

// The pass tests every pair again each time; after the first call the bolts that hit are spent,
// so what is timed is the testing, as in most frames.
void CollideAll(benchmark::State& state, Scene scene) {
    layOut(scene);
    for (auto _ : state)
        theWorld->collideAll();
    report(state);
}
BENCHMARK_CAPTURE(CollideAll, Opening, Opening)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CollideAll, Heaviest, Heaviest)->Unit(benchmark::kMicrosecond);

// Whether a variant leaves out what is out of view, as the game always does, or draws everything.
struct Drawing {
    const char* name;
    bool culling;
};
const Drawing drawings[] = {{"", true}, {"/NoCulling", false}};

// Sets the variant up and draws one frame untimed, so that the first timed frame is like the others.
void drawWith(const Drawing& drawing) {
    cameraView.setCulling(drawing.culling);
    theWorld->render();
    glFinish();
}

// Objects (ships, planets, rewards) that the camera cannot see in this scene.
int outOfView() {
    theWorld->placeCamera();
    int n = 0;
    for (const Ship& s : ShipTable)
        n += s.alive && !cameraView.mayShow(s.frame.origin, shipMeshRadius());
    for (const Planet& p : theWorld->planets)
        n += p.alive && !cameraView.mayShow(p.position, Planet::FullRadius);
    for (const Reward& r : theWorld->rewards)
        n += r.active && !cameraView.mayShow(r.position, rewardMeshRadius());
    cameraView.forgetEye();
    return n;
}

// One still scene drawn again and again; glFinish waits for the software rasteriser's threads.
void DrawScene(benchmark::State& state, Scene scene, Drawing drawing) {
    layOut(scene);
    drawWith(drawing);
    for (auto _ : state) {
        theWorld->render();
        glFinish();
    }
    cameraView.setCulling(true);
    report(state);
    state.counters["hidden"] = outOfView();
}

// 500 looping sounds in all, the game's own among them: the 100 nearest the listener have the voices.
void SoundUpdate(benchmark::State& state) {
    layOutOpening(*theWorld);
    updateAudio(); // the listener at ship 0
    const int playing = audioSystem->channelsPlaying().playing;
    Vector3 listener = theWorld->listenerPosition();
    std::vector<audio::Channel> added;
    for (int i = 0; playing + i < 500; ++i) {
        audio::Channel c = audioSystem->playSound(shimmerSound, false);
        Vector3 p = listener;
        p.x += i < 100 ? 50.0f + i : 20000.0f + i * 10.0f;
        c.set3DAttributes(p);
        added.push_back(c);
    }
    audioSystem->update();
    for (auto _ : state)
        audioSystem->update();
    audio::SoundSystem::ChannelCount count = audioSystem->channelsPlaying();
    state.counters["playing"] = count.playing;
    state.counters["real"] = count.real;
    for (audio::Channel& c : added)
        c.stop();
    audioSystem->update();
}
BENCHMARK(SoundUpdate)->Unit(benchmark::kMicrosecond);

// What a frame costs with nothing in it: the clear and the buffer swap.
void EmptyFrame(benchmark::State& state) {
    for (auto _ : state) {
        SDL_GL_SwapBuffers();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
}
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The frame loop's own order; the swap presents the frame drawn in the iteration before.
void PlayFrame(benchmark::State& state, Scene scene, Drawing drawing) {
    layOut(scene);
    drawWith(drawing);
    long played = 0;
    for (auto _ : state) {
        SDL_GL_SwapBuffers();
        theWorld->render();
        theWorld->handleEvents();
        theWorld->update();
        updateAudio();
        keepSteady(state, scene, played);
    }
    cameraView.setCulling(true);
    report(state);
    state.counters["hidden"] = outOfView();
}

// Render and Frame for each scene and each variant, e.g. Frame/Turned/NoCulling.
bool registerDrawing() {
    const std::pair<const char*, Scene> scenes[] = {
        {"Opening", Opening}, {"Heaviest", Heaviest}, {"Turned", Turned}};
    for (auto [function, name] : {std::pair{DrawScene, "Render/"}, std::pair{PlayFrame, "Frame/"}})
        for (const auto& [sceneName, scene] : scenes)
            for (const Drawing& drawing : drawings)
                benchmark::RegisterBenchmark((std::string(name) + sceneName + drawing.name).c_str(), function,
                                             scene, drawing)
                    ->Unit(benchmark::kMillisecond)
                    ->MeasureProcessCPUTime();
    return true;
}
const bool drawingRegistered = registerDrawing();

} // namespace

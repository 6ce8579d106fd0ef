// The timed work: the update, the collision pass, rendering, the sound update and whole frames.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "bench/Scenes.h"
#include "render/SphereCache.h"
#include "ships/Ship.h"
#include "world/World.h"

namespace {

enum Scene { Opening, Heaviest };

void layOut(Scene scene) {
    if (scene == Opening)
        layOutOpening(*theWorld);
    else
        layOutHeaviest(*theWorld);
}

// Keeps a played scene what it was: the opening is laid out again after one second of play, the
// heaviest scene re-armed. Done with the clock stopped.
void keepSteady(benchmark::State& state, Scene scene, long& played) {
    if (++played % UpdatesPerRearm != 0) return;
    state.PauseTiming();
    if (scene == Opening)
        layOutOpening(*theWorld);
    else
        rearmHeaviest(*theWorld);
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

// Drawing with GLU building every sphere each frame is the "GluSpheres" variant, for comparison.
enum Spheres { FromLists, FromGlu };

// One still scene drawn again and again; glFinish waits for the software rasteriser's threads.
void Render(benchmark::State& state, Scene scene, Spheres spheres) {
    layOut(scene);
    setSphereCaching(spheres == FromLists);
    for (auto _ : state) {
        theWorld->render();
        glFinish();
    }
    setSphereCaching(true);
    report(state);
}
BENCHMARK_CAPTURE(Render, Opening, Opening, FromLists)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Render, OpeningGluSpheres, Opening, FromGlu)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Render, Heaviest, Heaviest, FromLists)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Render, HeaviestGluSpheres, Heaviest, FromGlu)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

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
void Frame(benchmark::State& state, Scene scene, Spheres spheres) {
    layOut(scene);
    setSphereCaching(spheres == FromLists);
    long played = 0;
    for (auto _ : state) {
        SDL_GL_SwapBuffers();
        theWorld->render();
        theWorld->handleEvents();
        theWorld->update();
        updateAudio();
        keepSteady(state, scene, played);
    }
    setSphereCaching(true);
    report(state);
}
BENCHMARK_CAPTURE(Frame, Opening, Opening, FromLists)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Frame, OpeningGluSpheres, Opening, FromGlu)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Frame, Heaviest, Heaviest, FromLists)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Frame, HeaviestGluSpheres, Heaviest, FromGlu)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace

// Times the sound system's per-frame work with 100 mixed and 400 virtual channels, on the null output.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "audio/SoundSystem.h"

namespace {

struct Scene {
    audio::SoundSystem* system = nullptr;
    std::vector<audio::Channel> channels;
    std::vector<Vector3> places;
};

// 500 looping positional sounds: the nearest 100 get the voices, the 400 farther ones are virtual.
Scene& scene() {
    static Scene* s = [] {
        setenv("ALSOFT_DRIVERS", "null", 0);
        Scene* scene = new Scene;
        scene->system = audio::createSoundSystem();
        audio::Sound* sound = nullptr;
        if (scene->system->setSoftwareChannels(100) == audio::OK && scene->system->init(4093) == audio::OK &&
            scene->system->set3DSettings(1.0f, 35.0f, 1.0f) == audio::OK)
            sound = scene->system->createSound("sounds/shimmer.mp3", audio::Mode3D);
        if (sound == nullptr) {
            fprintf(stderr,
                    "audio_bench: no sound system or sounds/shimmer.mp3 (run it from the build folder)\n");
            exit(1);
        }
        sound->setMode(audio::LoopNormal);
        for (int i = 0; i < 500; i++) {
            audio::Channel c = scene->system->playSound(sound, false);
            Vector3 p(100.0f + (i < 100 ? i : 2000 + i) * 10.0f, static_cast<float>(i % 7) * 30, 0);
            c.set3DAttributes(p);
            scene->channels.push_back(c);
            scene->places.push_back(p);
        }
        scene->system->update();
        return scene;
    }();
    return *s;
}

void SystemUpdate(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        s.system->update();
    audio::SoundSystem::ChannelCount count = s.system->channelsPlaying();
    state.counters["playing"] = count.playing;
    state.counters["real"] = count.real;
}
BENCHMARK(SystemUpdate);

// A whole frame's sound work: every object places its channel and re-applies its pause, as the
// game's objects do, then the system update and the listener.
void FrameOfFiveHundredChannels(benchmark::State& state) {
    Scene& s = scene();
    Vector3 listener, still, forward(0, 0, 1), up(0, 1, 0);
    for (auto _ : state) {
        for (size_t i = 0; i < s.channels.size(); i++) {
            if (!s.channels[i].isPlaying()) continue;
            s.channels[i].set3DAttributes(s.places[i]);
            s.channels[i].setPaused(false);
        }
        s.system->update();
        s.system->set3DListenerAttributes(listener, still, forward, up);
    }
}
BENCHMARK(FrameOfFiveHundredChannels);

} // namespace

BENCHMARK_MAIN();

// What comes out of the speakers, recorded by OpenAL Soft's wave writer and measured.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <utility>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "math/Frame.h"
#include "support/SoundProbe.h"

using namespace audio;

namespace {

constexpr int Left = 0, Right = 1;

TEST(SoundOutput, ToneIsPannedByTheShipsAxesFadesWithDistanceAndVolumeAndShiftsWithSpeedAndMusicIsHeard) {
    const std::string dir = testing_support::makeTempDir(), output = testing_support::useWaveWriter(dir);
    const auto opened = std::chrono::steady_clock::now(); // the recording starts with the device
    testing::internal::CaptureStdout();
    initAudio(); // the game's own system, so its 3-D settings are the ones heard
    testing::internal::GetCapturedStdout();
    // Holds the scene for a while; returns the middle of that stretch, clear of any output latency.
    auto hold = [&](double seconds) {
        double from = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
        testing_support::runFor(audioSystem, seconds);
        return std::make_pair(from + 0.25, from + seconds - 0.05);
    };
    const std::string path = testing_support::writeTone(dir, "tone.wav", 1000.0, 1.0);
    Sound* tone = audioSystem->createSound(path.c_str(), Mode3D + LoopNormal);
    ASSERT_TRUE(tone);
    const Channel c = audioSystem->playSound(tone, true);
    ASSERT_TRUE(c);

    // The listener is a ship turned and tilted somewhere in the arena, given as the game gives it.
    Frame ship;
    ship.rotateAboutY(1.1f);
    ship.rotateAboutX(0.4f);
    ship.origin = Vector3(500, -200, 3000);
    Vector3 nose = ship.zAxis;
    nose.negate();
    const double speedOfSound = 343.3 * 35; // metres a second at 35 world units a metre
    const struct {
        const char* name;
        Vector3 axis;
        float distance, volume;
        float speed, away; // the listener's speed towards the sound, the sound's away from it
    } steps[] = {{"right", ship.xAxis, 200, 1, 0, 0},
                 {"left", ship.xAxis, -200, 1, 0, 0},
                 {"ahead", nose, 200, 1, 0, 0},
                 {"far right", ship.xAxis, 2000, 1, 0, 0},
                 {"close", nose, 20, 1, 0, 0},
                 {"close at a quarter", nose, 20, 0.25f, 0, 0},
                 {"still", nose, 6000, 1, 0, 0},
                 {"approaching", nose, 6000, 1, 3000, 0},
                 {"sound moving away", nose, 6000, 1, 0, 3000}};
    constexpr int Steps = sizeof steps / sizeof steps[0];
    std::pair<double, double> windows[Steps + 1];
    for (int i = 0; i < Steps; i++) {
        Vector3 p = ship.origin, v, away;
        p.addScaled(steps[i].axis, steps[i].distance);
        v.addScaled(nose, steps[i].speed);
        away.addScaled(steps[i].axis, steps[i].away);
        ASSERT_EQ(audioSystem->set3DListenerAttributes(ship.origin, v, ship.zAxis, ship.yAxis), OK);
        c.set3DAttributes(p, away);
        c.setVolume(steps[i].volume);
        c.setPaused(false);
        windows[i] = hold(0.7);
    }
    c.stop();
    playMusic();
    windows[Steps] = hold(2.0);
    audioSystem->close();
    testing_support::Recording r;
    ASSERT_TRUE(r.read(output));
    ASSERT_EQ(r.channels, 2);
    float left[Steps], right[Steps], level[Steps];
    for (int i = 0; i < Steps; i++) {
        left[i] = r.rms(Left, windows[i].first, windows[i].second);
        right[i] = r.rms(Right, windows[i].first, windows[i].second);
        level[i] = std::hypot(left[i], right[i]);
        EXPECT_GT(level[i], 0.0005f) << steps[i].name;
    }
    EXPECT_GT(right[0], 2 * left[0]) << "a sound off the right wing is louder on the right";
    EXPECT_GT(left[1], 2 * right[1]) << "and one off the left wing on the left";
    EXPECT_NEAR(left[2] / right[2], 1.0f, 0.2f) << "one ahead is centred";
    EXPECT_LT(level[3], 0.2f * level[0]) << "ten times as far is much quieter";
    EXPECT_GT(level[3], 0.05f * level[0]) << "but not silent: attenuation goes by inverse distance";
    EXPECT_GT(level[4], 0.05f);
    EXPECT_NEAR(level[5] / level[4], 0.25f, 0.04f) << "volume scales the level";
    for (int i = 6; i < Steps; i++)
        EXPECT_NEAR(r.frequency(Left, windows[i].first, windows[i].second),
                    1000.0 * (speedOfSound + steps[i].speed) / (speedOfSound + steps[i].away), 15.0)
            << steps[i].name;
    for (int side : {Left, Right}) {
        const float music = r.rms(side, windows[Steps].first, windows[Steps].second);
        EXPECT_TRUE(music > 0.01f && music < 0.3f) << "the game's music on side " << side << ": " << music;
    }
}

// A steady tone with a single voice to go round, paused, resumed, handed from a real voice to a virtual
// one and back, and stopped. The caller sees each change at once; the speakers hear each within a frame,
// faded, so no step in the output is larger than the tone's own.
TEST(SoundOutput, PauseResumeStopAndHandOverAreHeardAtOnceAndFadeInsteadOfCutting) {
    const std::string dir = testing_support::makeTempDir(), output = testing_support::useWaveWriter(dir);
    SoundSystem* system = createSoundSystem(); // never freed, as in the game
    ASSERT_EQ(system->setSoftwareChannels(1), OK);
    ASSERT_EQ(system->init(8), OK);
    const auto opened = std::chrono::steady_clock::now();
    const std::string path = testing_support::writeTone(dir, "tone.wav", 1000.0, 1.0);
    Sound* tone = system->createSound(path.c_str(), LoopNormal);
    ASSERT_TRUE(tone);
    auto start = [&](float volume) {
        Channel c = system->playSound(tone, true);
        EXPECT_TRUE(c);
        c.setVolume(volume);
        c.setPaused(false);
        return c;
    };
    Channel a, b;
    const struct {
        const char* name;
        std::function<void()> change;
        float level; // heard from a frame after the change on, as a share of the first stage's
    } stages[] = {
        {"a plays", [&] { a = start(0.5f); }, 1},
        {"a paused",
         [&] {
             a.setPaused(true);
             EXPECT_TRUE(a.isPlaying() && a.isPaused());
         },
         0},
        {"a resumed", [&] { a.setPaused(false); }, 1},
        {"b waits for the voice",
         [&] {
             b = start(0.4f);
             system->update();
             EXPECT_TRUE(b.isVirtual());
         },
         1},
        {"a hands the voice to b",
         [&] {
             a.setVolume(0.3f);
             system->update();
             EXPECT_TRUE(a.isVirtual() && !b.isVirtual());
         },
         0.8f},
        {"b hands it back", [&] { a.setVolume(0.5f); }, 1},
        {"a stopped, b takes over",
         [&] {
             a.stop();
             EXPECT_FALSE(a.isPlaying());
         },
         0.8f},
        {"b stopped", [&] { b.stop(); }, 0},
    };
    constexpr int Stages = sizeof stages / sizeof stages[0];
    double from[Stages + 1];
    for (int i = 0; i < Stages; i++) {
        from[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
        stages[i].change();
        testing_support::runFor(system, 0.4);
    }
    from[Stages] = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
    system->close();

    testing_support::Recording r;
    ASSERT_TRUE(r.read(output));
    // From a frame and a fade after each change to a while before the next: the writer catches up with
    // the clock after a stall, and what it mixes late shows the change early.
    auto window = [&](int i) { return std::make_pair(from[i] + 1 / 30.0 + 0.03, from[i + 1] - 0.1); };
    const float steady = r.rms(Left, window(0).first, window(0).second);
    ASSERT_GT(steady, 0.05f);
    for (int i = 0; i < Stages; i++)
        EXPECT_NEAR(r.rms(Left, window(i).first, window(i).second) / steady, stages[i].level, 0.05)
            << stages[i].name;
    double at = 0;
    const float own = r.largestStep(window(0).first, window(0).second);
    const float largest = r.largestStep(0, r.seconds(), &at);
    EXPECT_LE(largest, 1.02f * own) << "a step of " << largest / own << " times the tone's own at " << at
                                    << " s";
}

} // namespace

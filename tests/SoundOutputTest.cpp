// What comes out of the speakers, recorded by OpenAL Soft's wave writer and measured.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
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
    Sound* tone = nullptr;
    const std::string path = testing_support::writeTone(dir, "tone.wav", 1000.0, 1.0);
    ASSERT_EQ(audioSystem->createSound(path.c_str(), Mode3D, nullptr, &tone), OK);
    ASSERT_EQ(tone->setMode(LoopNormal), OK);
    Channel c;
    ASSERT_EQ(audioSystem->playSound(ChannelFree, tone, true, &c), OK);

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
        float distance, volume, speed; // the speed is the listener's, towards the sound
    } steps[] = {{"right", ship.xAxis, 200, 1, 0}, {"left", ship.xAxis, -200, 1, 0},
                 {"ahead", nose, 200, 1, 0},       {"far right", ship.xAxis, 2000, 1, 0},
                 {"close", nose, 20, 1, 0},        {"close at a quarter", nose, 20, 0.25f, 0},
                 {"still", nose, 6000, 1, 0},      {"approaching", nose, 6000, 1, 3000}};
    constexpr int Steps = sizeof steps / sizeof steps[0];
    std::pair<double, double> windows[Steps + 1];
    for (int i = 0; i < Steps; i++) {
        Vector3 p = ship.origin, v;
        p.addScaled(steps[i].axis, steps[i].distance);
        v.addScaled(nose, steps[i].speed);
        ASSERT_EQ(audioSystem->set3DListenerAttributes(0, &ship.origin, &v, &ship.zAxis, &ship.yAxis), OK);
        c.set3DAttributes(&p, nullptr);
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
                    1000.0 * (speedOfSound + steps[i].speed) / speedOfSound, 15.0)
            << steps[i].name;
    for (int side : {Left, Right}) {
        const float music = r.rms(side, windows[Steps].first, windows[Steps].second);
        EXPECT_TRUE(music > 0.01f && music < 0.3f) << "the game's music on side " << side << ": " << music;
    }
}

} // namespace

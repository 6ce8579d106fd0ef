// What comes out of the speakers, recorded by OpenAL Soft's wave writer and measured.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "math/Frame.h"
#include "support/SoundProbe.h"

using namespace audio;
using testing_support::Recording;

namespace {

constexpr int Left = 0, Right = 1;

class SoundOutput : public ::testing::Test {
  protected:
    std::string dir;
    std::string output;
    SoundSystem* system = nullptr;
    std::chrono::steady_clock::time_point opened;

    void SetUp() override {
        dir = testing_support::makeTempDir();
        output = testing_support::useWaveWriter(dir);
    }

    // Holds the scene for a while; returns the middle of that stretch, clear of any output latency.
    std::pair<double, double> hold(double seconds) {
        double from = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
        testing_support::runFor(system, seconds);
        return {from + 0.25, from + seconds - 0.05};
    }

    Recording finish() {
        system->close();
        Recording r;
        EXPECT_TRUE(r.read(output));
        EXPECT_EQ(r.channels, 2);
        return r;
    }
};

TEST_F(SoundOutput, TheGamesMusicIsAudibleOnBothSides) {
    testing::internal::CaptureStdout();
    initAudio();
    testing::internal::GetCapturedStdout();
    system = audioSystem;
    opened = std::chrono::steady_clock::now();
    playMusic();
    auto [from, to] = hold(2.0);
    Recording r = finish();
    for (int side : {Left, Right}) {
        EXPECT_GT(r.rms(side, from, to), 0.01f) << "side " << side;
        EXPECT_LT(r.rms(side, from, to), 0.3f) << "side " << side;
    }
}

TEST_F(SoundOutput, PositionalSoundIsPannedByTheShipsAxesFadesWithDistanceAndVolumeAndShiftsWithSpeed) {
    ASSERT_EQ(createSoundSystem(&system), OK);
    ASSERT_EQ(system->setSoftwareChannels(100), OK);
    ASSERT_EQ(system->init(4093, InitNormal, nullptr), OK);
    ASSERT_EQ(system->set3DSettings(1.0f, 35.0f, 1.0f), OK);
    opened = std::chrono::steady_clock::now();
    Sound* tone = nullptr;
    const std::string path = testing_support::writeTone(dir, "tone.wav", 1000.0, 1.0);
    ASSERT_EQ(system->createSound(path.c_str(), Mode3D, nullptr, &tone), OK);
    ASSERT_EQ(tone->setMode(LoopNormal), OK);
    Channel c;
    ASSERT_EQ(system->playSound(ChannelFree, tone, true, &c), OK);

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
    } steps[] = {{"right", ship.xAxis, 200, 1, 0},
                 {"left", ship.xAxis, -200, 1, 0},
                 {"ahead", nose, 200, 1, 0},
                 {"far right", ship.xAxis, 2000, 1, 0},
                 {"close", nose, 20, 1, 0},
                 {"close at a quarter", nose, 20, 0.25f, 0},
                 {"close at none", nose, 20, 0, 0},
                 {"still", nose, 6000, 1, 0},
                 {"approaching", nose, 6000, 1, 3000},
                 {"leaving", nose, 6000, 1, -3000}};
    constexpr int Steps = sizeof steps / sizeof steps[0];
    std::pair<double, double> windows[Steps];
    for (int i = 0; i < Steps; i++) {
        Vector3 p = ship.origin, v;
        p.addScaled(steps[i].axis, steps[i].distance);
        v.addScaled(nose, steps[i].speed);
        ASSERT_EQ(system->set3DListenerAttributes(0, &ship.origin, &v, &ship.zAxis, &ship.yAxis), OK);
        c.set3DAttributes(&p, nullptr);
        c.setVolume(steps[i].volume);
        c.setPaused(false);
        windows[i] = hold(0.7);
    }
    Recording r = finish();
    float left[Steps], right[Steps], level[Steps];
    for (int i = 0; i < Steps; i++) {
        left[i] = r.rms(Left, windows[i].first, windows[i].second);
        right[i] = r.rms(Right, windows[i].first, windows[i].second);
        level[i] = std::hypot(left[i], right[i]);
        if (steps[i].volume > 0) {
            EXPECT_GT(level[i], 0.0005f) << steps[i].name;
        }
    }
    EXPECT_GT(right[0], 2 * left[0]) << "a sound off the right wing is louder on the right";
    EXPECT_GT(left[1], 2 * right[1]) << "and one off the left wing on the left";
    EXPECT_NEAR(left[2] / right[2], 1.0f, 0.2f) << "one ahead is centred";
    EXPECT_LT(level[3], 0.2f * level[0]) << "ten times as far is much quieter";
    EXPECT_GT(level[3], 0.05f * level[0]) << "but not silent: attenuation goes by inverse distance";
    EXPECT_GT(level[4], 0.05f);
    EXPECT_NEAR(level[5] / level[4], 0.25f, 0.04f) << "volume scales the level";
    EXPECT_LT(level[6], 0.001f);
    for (int i = 7; i < Steps; i++)
        EXPECT_NEAR(r.frequency(Left, windows[i].first, windows[i].second),
                    1000.0 * (speedOfSound + steps[i].speed) / speedOfSound, 15.0)
            << steps[i].name;
}

} // namespace

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
using testing_support::runFor;

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

    void start() {
        ASSERT_EQ(createSoundSystem(&system), OK);
        ASSERT_EQ(system->setSoftwareChannels(100), OK);
        ASSERT_EQ(system->init(4093, InitNormal, nullptr), OK);
        ASSERT_EQ(system->set3DSettings(1.0f, 35.0f, 1.0f), OK);
        opened = std::chrono::steady_clock::now();
    }

    Sound* tone(Mode mode) {
        Sound* s = nullptr;
        std::string path = testing_support::writeTone(dir, "tone.wav", 1000.0, 1.0);
        EXPECT_EQ(system->createSound(path.c_str(), mode, nullptr, &s), OK);
        if (s) s->setMode(LoopNormal);
        return s;
    }

    double sinceOpened() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count();
    }

    // Holds the scene for a while; returns the middle of that stretch, clear of any output latency.
    std::pair<double, double> hold(double seconds) {
        double from = sinceOpened();
        runFor(system, seconds);
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
        float level = r.rms(side, from, to);
        EXPECT_GT(level, 0.01f) << "side " << side;
        EXPECT_LT(level, 0.3f) << "side " << side;
    }
}

TEST_F(SoundOutput, PositionalSoundIsPannedByTheShipsAxesAndFadesWithDistance) {
    start();
    Sound* sound = tone(Mode3D);
    // The listener is a ship turned and tilted somewhere in the arena, given as the game gives it.
    Frame ship;
    ship.rotateAboutY(1.1f);
    ship.rotateAboutX(0.4f);
    ship.origin = Vector3(500, -200, 3000);
    Vector3 still;
    ASSERT_EQ(system->set3DListenerAttributes(0, &ship.origin, &still, &ship.zAxis, &ship.yAxis), OK);
    Channel c;
    ASSERT_EQ(system->playSound(ChannelFree, sound, true, &c), OK);

    auto at = [&](Vector3 axis, float distance) {
        Vector3 p = ship.origin;
        p.addScaled(axis, distance);
        return p;
    };
    Vector3 nose = ship.zAxis;
    nose.negate();
    const struct {
        const char* name;
        Vector3 position;
    } places[] = {
        {"right", at(ship.xAxis, 200)},
        {"left", at(ship.xAxis, -200)},
        {"ahead", at(nose, 200)},
        {"far right", at(ship.xAxis, 2000)},
    };
    std::pair<double, double> windows[4];
    for (int i = 0; i < 4; i++) {
        c.set3DAttributes(&places[i].position, nullptr);
        c.setPaused(false);
        windows[i] = hold(0.7);
    }
    Recording r = finish();
    float left[4], right[4];
    for (int i = 0; i < 4; i++) {
        left[i] = r.rms(Left, windows[i].first, windows[i].second);
        right[i] = r.rms(Right, windows[i].first, windows[i].second);
        EXPECT_GT(left[i] + right[i], 0.0005f) << places[i].name;
    }
    EXPECT_GT(right[0], 2 * left[0]) << "a sound off the right wing is louder on the right";
    EXPECT_GT(left[1], 2 * right[1]) << "and one off the left wing on the left";
    EXPECT_NEAR(left[2] / right[2], 1.0f, 0.2f) << "one ahead is centred";
    float nearLevel = std::hypot(left[0], right[0]), farLevel = std::hypot(left[3], right[3]);
    EXPECT_LT(farLevel, 0.2f * nearLevel) << "ten times as far is much quieter";
    EXPECT_GT(farLevel, 0.05f * nearLevel) << "but not silent: attenuation goes by inverse distance";
}

TEST_F(SoundOutput, VolumeScalesTheLevel) {
    start();
    Channel c;
    ASSERT_EQ(system->playSound(ChannelFree, tone(Default), false, &c), OK);
    auto full = hold(0.7);
    c.setVolume(0.25f);
    auto quarter = hold(0.7);
    c.setVolume(0.0f);
    auto none = hold(0.6);
    Recording r = finish();
    float loud = r.rms(Left, full.first, full.second);
    EXPECT_GT(loud, 0.05f);
    EXPECT_NEAR(r.rms(Left, quarter.first, quarter.second) / loud, 0.25f, 0.04f);
    EXPECT_LT(r.rms(Left, none.first, none.second), 0.001f);
}

TEST_F(SoundOutput, ApproachingASoundRaisesItsPitchAndLeavingLowersIt) {
    start();
    Vector3 origin, forward(0, 0, 1), up(0, 1, 0), source(0, 0, -6000);
    Channel c;
    ASSERT_EQ(system->playSound(ChannelFree, tone(Mode3D), true, &c), OK);
    c.set3DAttributes(&source, nullptr);
    c.setPaused(false);
    // Speed of sound: 343.3 m/s at 35 world units per metre.
    const double speed = 343.3 * 35;
    const struct {
        float velocity;
        double expected;
    } cases[] = {
        {0, 1000.0}, {-3000, 1000.0 * (speed + 3000) / speed}, {3000, 1000.0 * (speed - 3000) / speed}};
    std::pair<double, double> windows[3];
    for (int i = 0; i < 3; i++) {
        Vector3 velocity(0, 0, cases[i].velocity);
        system->set3DListenerAttributes(0, &origin, &velocity, &forward, &up);
        windows[i] = hold(0.7);
    }
    Recording r = finish();
    for (int i = 0; i < 3; i++)
        EXPECT_NEAR(r.frequency(Left, windows[i].first, windows[i].second), cases[i].expected, 15.0)
            << "listener velocity " << cases[i].velocity;
}

} // namespace

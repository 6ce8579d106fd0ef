// The sound layer on OpenAL Soft's null output: channel lifetimes, pause, volume, voices, handles, files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "audio/SoundSystem.h"
#include "support/SoundProbe.h"

using namespace audio;
using testing_support::runFor;

namespace {

class SoundSystemTest : public ::testing::Test {
  protected:
    SoundSystem* system = nullptr; // never freed, as in the game
    Sound* laser = nullptr;        // 3-D, plays once
    Sound* shimmer = nullptr;      // 3-D loop
    Sound* explosion = nullptr;    // 3-D, plays once
    Sound* spawn = nullptr;        // 2-D, plays once

    void start(int maxChannels = MaxLogicalChannels) {
        ASSERT_EQ(createSoundSystem(&system), OK);
        ASSERT_EQ(system->setSoftwareChannels(100), OK);
        ASSERT_EQ(system->init(maxChannels, InitNormal, nullptr), OK);
        ASSERT_EQ(system->set3DSettings(1.0f, 35.0f, 1.0f), OK);
        ASSERT_EQ(system->createSound("sounds/laser.mp3", Mode3D, nullptr, &laser), OK);
        ASSERT_EQ(system->createSound("sounds/shimmer.mp3", Mode3D, nullptr, &shimmer), OK);
        ASSERT_EQ(shimmer->setMode(LoopNormal), OK);
        ASSERT_EQ(system->createSound("sounds/explosion.mp3", Mode3D, nullptr, &explosion), OK);
        ASSERT_EQ(system->createSound("sounds/spawn.wav", Default, nullptr, &spawn), OK);
    }

    Channel play(Sound* sound, bool paused, Vector3 at = Vector3()) {
        Channel c;
        EXPECT_EQ(system->playSound(ChannelFree, sound, paused, &c), OK);
        if (sound->is3D()) c.set3DAttributes(&at, nullptr);
        return c;
    }

    static double length(Sound* sound) {
        double seconds = 0;
        sound->getLength(seconds);
        return seconds;
    }

    static bool playing(const Channel& c) {
        bool p = false;
        c.isPlaying(p);
        return p;
    }
};

TEST_F(SoundSystemTest, PausedChannelWaitsThenPlaysItsWholeLengthOnce) {
    start();
    Channel c = play(laser, true);
    bool paused = false;
    ASSERT_EQ(c.getPaused(paused), OK);
    EXPECT_TRUE(paused);
    runFor(system, length(laser) + 0.3);
    EXPECT_TRUE(playing(c)) << "a paused channel does not use up its sound";

    ASSERT_EQ(c.setPaused(false), OK);
    runFor(system, length(laser) - 0.15);
    EXPECT_TRUE(playing(c));
    runFor(system, 0.35);
    EXPECT_FALSE(playing(c)) << "a one-shot ends by itself";
    EXPECT_EQ(c.setVolume(0.5f), ERR_INVALID_HANDLE);

    // The next sound takes over the voice the ended one left, and starts afresh on it.
    Channel next = play(explosion, true);
    bool isVirtual = true;
    ASSERT_EQ(next.isVirtual(isVirtual), OK);
    EXPECT_FALSE(isVirtual);
    runFor(system, 0.1);
    EXPECT_TRUE(playing(next));
    ASSERT_EQ(next.setPaused(false), OK);
    runFor(system, 0.5);
    EXPECT_TRUE(playing(next));
}

TEST_F(SoundSystemTest, LoopsPlayUntilStoppedAndPauseHoldsTheirPlace) {
    start();
    Channel loop = play(shimmer, false);
    Channel once = play(spawn, false);
    runFor(system, 0.4);
    ASSERT_EQ(once.setPaused(true), OK);
    runFor(system, length(spawn) + 0.2);
    EXPECT_TRUE(playing(once)) << "time stands still while paused";
    ASSERT_EQ(once.setPaused(false), OK);
    runFor(system, length(spawn) - 0.4 + 0.3);
    EXPECT_FALSE(playing(once)) << "it resumed where it stopped and ran out";

    runFor(system, 2 * length(shimmer));
    EXPECT_TRUE(playing(loop)) << "a loop goes on past several lengths";
    ASSERT_EQ(loop.stop(), OK);
    EXPECT_FALSE(playing(loop));
}

TEST_F(SoundSystemTest, VolumeAndPositionAreKeptWithinBounds) {
    start();
    Channel c = play(shimmer, true);
    const struct {
        float set, expected;
    } cases[] = {{0.3f, 0.3f}, {1.0f, 1.0f}, {2.5f, 1.0f}, {-1.0f, 0.0f}, {0.0f, 0.0f}};
    for (const auto& k : cases) {
        ASSERT_EQ(c.setVolume(k.set), OK);
        float v = -1;
        ASSERT_EQ(c.getVolume(v), OK);
        EXPECT_FLOAT_EQ(v, k.expected) << "set " << k.set;
    }
    Channel flat = play(spawn, true);
    Vector3 p(1, 2, 3), where;
    EXPECT_EQ(flat.set3DAttributes(&p, nullptr), ERR_NEEDS_3D);
    ASSERT_EQ(c.set3DAttributes(&p, nullptr), OK);
    Vector3 broken(std::nanf(""), 0, 0);
    EXPECT_EQ(c.set3DAttributes(&broken, nullptr), ERR_INVALID_PARAM);
    ASSERT_EQ(c.get3DAttributes(&where, nullptr), OK);
    EXPECT_FLOAT_EQ(where.x, 1.0f) << "a position that is not a number is refused";
}

TEST_F(SoundSystemTest, EqualRivalsKeepTheVoicesTheyHave) {
    start();
    std::vector<Channel> channels;
    for (int i = 0; i < 110; i++)
        channels.push_back(play(shimmer, i % 2 == 0, Vector3(400, 0, 0)));
    auto virtualOnes = [&] {
        std::vector<bool> v;
        for (Channel& c : channels) {
            bool isVirtual = false;
            c.isVirtual(isVirtual);
            v.push_back(isVirtual);
        }
        return v;
    };
    system->update();
    std::vector<bool> first = virtualOnes();
    EXPECT_EQ(std::count(first.begin(), first.end(), true), 10);
    for (int frame = 0; frame < 3; frame++) {
        system->update();
        EXPECT_EQ(virtualOnes(), first) << "frame " << frame;
    }
}

TEST_F(SoundSystemTest, ThreeHundredOneShotsAllPlayTheNearestAreHeardAndAllEndOnTime) {
    start();
    std::vector<Channel> channels;
    for (int i = 0; i < 300; i++)
        channels.push_back(play(laser, false, Vector3(100.0f + 50.0f * i, 0, 0)));
    system->update();

    int playingCount = 0, real = 0;
    ASSERT_EQ(system->getChannelsPlaying(playingCount, real), OK);
    EXPECT_EQ(playingCount, 300);
    EXPECT_EQ(real, 100);
    for (int i = 0; i < 300; i++) {
        bool isVirtual = true;
        ASSERT_EQ(channels[i].isVirtual(isVirtual), OK) << i;
        EXPECT_EQ(isVirtual, i >= 100) << "channel " << i << ": the least audible are the virtual ones";
    }

    runFor(system, length(laser) - 0.12);
    for (int i = 0; i < 300; i++)
        EXPECT_TRUE(playing(channels[i])) << i;
    runFor(system, 0.3);
    for (int i = 0; i < 300; i++)
        EXPECT_FALSE(playing(channels[i])) << i;
    ASSERT_EQ(system->getChannelsPlaying(playingCount, real), OK);
    EXPECT_EQ(playingCount, 0);
}

TEST_F(SoundSystemTest, VirtualChannelTakesAFreedVoiceWhereItsTimeHasGot) {
    start();
    std::vector<Channel> near;
    for (int i = 0; i < 100; i++)
        near.push_back(play(shimmer, false, Vector3(50, 0, 0)));
    Channel far = play(explosion, false, Vector3(30000, 0, 0));
    system->update();
    bool isVirtual = false;
    ASSERT_EQ(far.isVirtual(isVirtual), OK);
    ASSERT_TRUE(isVirtual);

    runFor(system, 1.0);
    for (Channel& c : near)
        c.stop();
    system->update();
    ASSERT_EQ(far.isVirtual(isVirtual), OK);
    EXPECT_FALSE(isVirtual) << "a freed voice goes to the virtual channel";

    // It carries on from 1 s in, so it ends at its own length, not one second later.
    runFor(system, length(explosion) - 1.0 - 0.15);
    EXPECT_TRUE(playing(far));
    runFor(system, 0.4);
    EXPECT_FALSE(playing(far));
}

TEST_F(SoundSystemTest, StaleAndNullHandlesAreRefusedAndTouchNothingElse) {
    start(1); // one logical channel, so the next sound reuses the stale handle's slot at once
    Channel old = play(shimmer, false);
    ASSERT_EQ(old.stop(), OK);
    Channel current = play(shimmer, false);
    ASSERT_EQ(current.slot(), old.slot());
    Channel none;

    Channel other;
    EXPECT_EQ(system->playSound(ChannelFree, shimmer, false, &other), ERR_CHANNEL_ALLOC);
    EXPECT_FALSE(other);

    for (const Channel& h : {old, none}) {
        bool flag = true;
        float volume = 1;
        Sound* sound = shimmer;
        Vector3 p(5, 5, 5);
        EXPECT_EQ(h.isPlaying(flag), ERR_INVALID_HANDLE);
        EXPECT_FALSE(flag);
        EXPECT_EQ(h.setVolume(0.1f), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.setPaused(true), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.set3DAttributes(&p, &p), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.getVolume(volume), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.getCurrentSound(sound), ERR_INVALID_HANDLE);
        EXPECT_EQ(sound, nullptr);
        EXPECT_EQ(h.stop(), ERR_INVALID_HANDLE);
    }
    float volume = 0;
    bool paused = true;
    Vector3 where(1, 1, 1);
    ASSERT_EQ(current.getVolume(volume), OK);
    EXPECT_FLOAT_EQ(volume, 1.0f);
    ASSERT_EQ(current.getPaused(paused), OK);
    EXPECT_FALSE(paused);
    ASSERT_EQ(current.get3DAttributes(&where, nullptr), OK);
    EXPECT_FLOAT_EQ(where.length(), 0.0f);
    EXPECT_TRUE(playing(current));
}

TEST_F(SoundSystemTest, StreamsLoopForeverOrEndAndOnlyOneChannelReadsAFile) {
    start();
    Sound* looped = nullptr;
    Sound* once = nullptr;
    ASSERT_EQ(system->createStream("sounds/shimmer.mp3", LoopNormal, nullptr, &looped), OK);
    ASSERT_EQ(system->createStream("sounds/laser.mp3", Default, nullptr, &once), OK);
    ASSERT_TRUE(looped->isStream());
    Channel a = play(looped, false);
    Channel b = play(once, false);
    runFor(system, length(once) + 0.3);
    EXPECT_FALSE(playing(b));
    runFor(system, 2.2 * length(looped));
    EXPECT_TRUE(playing(a));

    Channel again = play(looped, false);
    EXPECT_FALSE(playing(a)) << "playing a stream again takes it from its old channel";
    EXPECT_TRUE(playing(again));
}

// Empty, truncated and foreign files are BadSounds' cases; here a missing file and one of noise.
TEST(SoundFiles, MissingOrCorruptFilesGiveNullSoundsAndPrintNothing) {
    std::string dir = testing_support::makeTempDir();
    {
        std::ofstream corrupt(dir + "/noise.mp3", std::ios::binary);
        for (int i = 0; i < 20000; i++)
            corrupt.put(static_cast<char>((i * 7919) % 251));
    }
    SoundSystem* system = nullptr;
    ASSERT_EQ(createSoundSystem(&system), OK);
    ASSERT_EQ(system->init(32, InitNormal, nullptr), OK);
    const struct {
        std::string name;
        Result expected;
    } cases[] = {
        {"missing.mp3", ERR_FILE_NOT_FOUND},
        {"noise.mp3", ERR_FORMAT},
    };
    testing::internal::CaptureStdout();
    for (const auto& k : cases)
        for (bool stream : {false, true}) {
            const std::string path = dir + "/" + k.name;
            Sound* sound = reinterpret_cast<Sound*>(1);
            EXPECT_EQ(stream ? system->createStream(path.c_str(), Default, nullptr, &sound)
                             : system->createSound(path.c_str(), Mode3D, nullptr, &sound),
                      k.expected)
                << k.name << (stream ? " as a stream" : "");
            EXPECT_EQ(sound, nullptr) << k.name;
        }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(SoundDevice, NoOutputDeviceFailsInitWithItsOwnCodeAndText) {
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1); // before OpenAL Soft first reads it
    SoundSystem* system = nullptr;
    ASSERT_EQ(createSoundSystem(&system), OK);
    EXPECT_EQ(system->init(4093, InitNormal, nullptr), ERR_OUTPUT_INIT);
    EXPECT_STREQ(errorString(ERR_OUTPUT_INIT), "No sound output device could be opened.");
    Sound* sound = nullptr;
    EXPECT_EQ(system->createSound("sounds/laser.mp3", Mode3D, nullptr, &sound), ERR_UNINITIALIZED);
    EXPECT_EQ(system->update(), ERR_UNINITIALIZED);
}

} // namespace

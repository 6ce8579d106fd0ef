// The sound layer on OpenAL Soft's null output: channel lifetimes, pause, volume, voices, handles, streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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

    static bool isVirtual(const Channel& c) {
        bool v = false;
        EXPECT_EQ(c.isVirtual(v), OK);
        return v;
    }
};

TEST_F(SoundSystemTest, PauseStopsTheClockOneShotsEndAndLoopsGoOn) {
    start();
    Channel once = play(laser, true), loop = play(shimmer, false);
    runFor(system, length(laser) + 0.3);
    EXPECT_TRUE(playing(once)) << "a paused channel does not use up its sound";
    ASSERT_EQ(once.setPaused(false), OK);
    runFor(system, 0.1);
    ASSERT_EQ(once.setPaused(true), OK);
    runFor(system, length(laser));
    EXPECT_TRUE(playing(once)) << "nor does one paused halfway";
    ASSERT_EQ(once.setPaused(false), OK);
    runFor(system, length(laser) - 0.1 - 0.12);
    EXPECT_TRUE(playing(once)) << "it resumes where it stopped";
    runFor(system, 0.32);
    EXPECT_FALSE(playing(once)) << "a one-shot ends by itself";
    EXPECT_EQ(once.setVolume(0.5f), ERR_INVALID_HANDLE);

    // The next sound takes over the voice the ended one left, and starts afresh on it.
    Channel next = play(explosion, true);
    EXPECT_FALSE(isVirtual(next));
    runFor(system, 0.1);
    EXPECT_TRUE(playing(next));
    ASSERT_EQ(next.setPaused(false), OK);
    runFor(system, 0.5);
    EXPECT_TRUE(playing(next));

    runFor(system, length(shimmer));
    EXPECT_TRUE(playing(loop)) << "a loop goes on past several lengths";
    ASSERT_EQ(loop.stop(), OK);
    EXPECT_FALSE(playing(loop));
}

TEST_F(SoundSystemTest, VolumeAndPositionAreKeptWithinBounds) {
    start();
    Channel c = play(shimmer, true);
    const std::pair<float, float> volumes[] = {{0.3f, 0.3f}, {1.0f, 1.0f}, {2.5f, 1.0f}, {-1.0f, 0.0f}};
    for (auto [set, expected] : volumes) {
        float v = -1;
        ASSERT_EQ(c.setVolume(set), OK);
        ASSERT_EQ(c.getVolume(v), OK);
        EXPECT_FLOAT_EQ(v, expected) << "set " << set;
    }
    Vector3 p(1, 2, 3), where, broken(std::nanf(""), 0, 0);
    EXPECT_EQ(play(spawn, true).set3DAttributes(&p, nullptr), ERR_NEEDS_3D);
    ASSERT_EQ(c.set3DAttributes(&p, nullptr), OK);
    EXPECT_EQ(c.set3DAttributes(&broken, nullptr), ERR_INVALID_PARAM);
    ASSERT_EQ(c.get3DAttributes(&where, nullptr), OK);
    EXPECT_FLOAT_EQ(where.x, 1.0f) << "a position that is not a number is refused";
    EXPECT_EQ(system->set3DListenerAttributes(0, &broken, nullptr, nullptr, nullptr), ERR_INVALID_PARAM);
}

TEST_F(SoundSystemTest, EqualRivalsKeepTheVoicesTheyHave) {
    start();
    std::vector<Channel> channels;
    for (int i = 0; i < 110; i++)
        channels.push_back(play(shimmer, i % 2 == 0, Vector3(400, 0, 0)));
    auto virtualOnes = [&] {
        std::vector<bool> v;
        for (Channel& c : channels)
            v.push_back(isVirtual(c));
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
    for (int i = 0; i < 300; i++)
        EXPECT_EQ(isVirtual(channels[i]), i >= 100)
            << "channel " << i << ": the least audible are the virtual ones";

    runFor(system, length(laser) - 0.12);
    for (int i = 0; i < 300; i++)
        EXPECT_TRUE(playing(channels[i])) << i;
    // Voices freed late in the sounds go to the next hundred, which carry on from where their time has
    // got: started afresh, they would still be playing at the last check.
    for (int i = 0; i < 100; i++)
        channels[i].stop();
    system->update();
    for (int i = 100; i < 300; i++)
        EXPECT_EQ(isVirtual(channels[i]), i >= 200) << i;
    runFor(system, 0.3);
    for (int i = 0; i < 300; i++)
        EXPECT_FALSE(playing(channels[i])) << i;
    ASSERT_EQ(system->getChannelsPlaying(playingCount, real), OK);
    EXPECT_EQ(playingCount, 0);
}

TEST_F(SoundSystemTest, StaleAndNullHandlesAreRefusedAndTouchNothingElse) {
    start(1); // one logical channel, so the next sound reuses the stale handle's slot at once
    Channel old = play(shimmer, false);
    ASSERT_EQ(old.stop(), OK);
    Channel current = play(shimmer, false), other;
    ASSERT_EQ(current.slot(), old.slot());
    EXPECT_EQ(system->playSound(ChannelFree, shimmer, false, &other), ERR_CHANNEL_ALLOC);
    EXPECT_FALSE(other);

    for (const Channel& h : {old, Channel()}) {
        bool flag = true;
        Vector3 p(5, 5, 5);
        EXPECT_EQ(h.isPlaying(flag), ERR_INVALID_HANDLE);
        EXPECT_FALSE(flag);
        EXPECT_EQ(h.setVolume(0.1f), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.setPaused(true), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.set3DAttributes(&p, &p), ERR_INVALID_HANDLE);
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
    Channel a = play(looped, false), b = play(once, false);
    runFor(system, length(once) + 0.3);
    EXPECT_FALSE(playing(b));
    runFor(system, 2.2 * length(looped));
    EXPECT_TRUE(playing(a));
    Channel again = play(looped, false);
    EXPECT_FALSE(playing(a)) << "playing a stream again takes it from its old channel";
    EXPECT_TRUE(playing(again));
}

} // namespace

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

TEST_F(SoundSystemTest, PauseStopsTheClockOneShotsEndAndLoopsGoOnAsSoundsAndAsStreams) {
    start();
    Sound *loopedStream = nullptr, *onceStream = nullptr;
    ASSERT_EQ(system->createStream("sounds/shimmer.mp3", LoopNormal, nullptr, &loopedStream), OK);
    ASSERT_EQ(system->createStream("sounds/laser.mp3", Default, nullptr, &onceStream), OK);
    Channel once = play(laser, true), loop = play(shimmer, false), streamedLoop = play(loopedStream, false);
    Channel streamedOnce = play(onceStream, false);
    runFor(system, length(laser) + 0.3);
    EXPECT_FALSE(playing(streamedOnce));
    ASSERT_EQ(once.setPaused(false), OK);
    runFor(system, 0.1);
    ASSERT_EQ(once.setPaused(true), OK);
    runFor(system, length(laser));
    ASSERT_EQ(once.setPaused(false), OK);
    runFor(system, length(laser) - 0.1 - 0.12);
    EXPECT_TRUE(playing(once)) << "paused from the start and halfway, it resumes where it stopped";
    runFor(system, 0.32);
    EXPECT_FALSE(playing(once)) << "a one-shot ends by itself";

    // The next sound takes over the voice the ended one left, and starts afresh on it.
    Channel next = play(explosion, true);
    EXPECT_FALSE(isVirtual(next));
    runFor(system, 0.1);
    EXPECT_TRUE(playing(next));
    ASSERT_EQ(next.setPaused(false), OK);
    runFor(system, 0.5);
    EXPECT_TRUE(playing(next));

    runFor(system, 1.5 * length(shimmer));
    EXPECT_TRUE(playing(loop) && playing(streamedLoop)) << "loops go on past several lengths";
    Channel again = play(loopedStream, false);
    EXPECT_FALSE(playing(streamedLoop)) << "playing a stream again takes it from its old channel";
    EXPECT_TRUE(playing(again));
}

TEST_F(SoundSystemTest, EqualRivalsKeepTheVoicesTheyHave) {
    start();
    std::vector<Channel> channels;
    for (int i = 0; i < 110; i++)
        channels.push_back(play(shimmer, i % 2 == 0, Vector3(400, 0, 0)));
    std::vector<bool> virtualBefore, virtualAfter; // over two frames
    for (std::vector<bool>* frame : {&virtualBefore, &virtualAfter}) {
        system->update();
        for (Channel& c : channels)
            frame->push_back(isVirtual(c));
    }
    EXPECT_EQ(std::count(virtualBefore.begin(), virtualBefore.end(), true), 10);
    EXPECT_EQ(virtualAfter, virtualBefore);
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
    for (int i = 0; i < 300; i++)
        EXPECT_EQ(isVirtual(channels[i]), i >= 100)
            << "channel " << i << ": the least audible are the virtual ones";

    runFor(system, length(laser) - 0.12);
    // Voices freed late in the sounds go to the next hundred, which carry on from where their time has
    // got: started afresh, they would still be playing at the last check.
    for (int i = 0; i < 100; i++)
        channels[i].stop();
    system->update();
    for (int i = 100; i < 300; i++)
        EXPECT_EQ(isVirtual(channels[i]), i >= 200) << i;
    runFor(system, 0.3);
    ASSERT_EQ(system->getChannelsPlaying(playingCount, real), OK);
    EXPECT_EQ(playingCount, 0);
}

TEST_F(SoundSystemTest, VolumeAndPositionAreKeptInBoundsAndStaleOrNullHandlesTouchNothing) {
    start(2); // two logical channels, so the next sound reuses the stale handle's slot at once
    Channel flat = play(spawn, true), old = play(shimmer, false);
    ASSERT_EQ(old.stop(), OK);
    Channel current = play(shimmer, false), other;
    ASSERT_EQ(current.slot(), old.slot());
    EXPECT_EQ(system->playSound(ChannelFree, shimmer, false, &other), ERR_CHANNEL_ALLOC);
    EXPECT_FALSE(other);
    Vector3 p(1, 2, 3), where(5, 5, 5), broken(std::nanf(""), 0, 0);
    EXPECT_EQ(flat.set3DAttributes(&p, nullptr), ERR_NEEDS_3D);

    for (const Channel& h : {old, Channel()}) {
        bool flag = true;
        EXPECT_EQ(h.isPlaying(flag), ERR_INVALID_HANDLE);
        EXPECT_FALSE(flag);
        EXPECT_EQ(h.setVolume(0.1f), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.setPaused(true), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.set3DAttributes(&p, &p), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.stop(), ERR_INVALID_HANDLE);
    }
    bool paused = true;
    float volume = -1;
    ASSERT_EQ(current.getPaused(paused), OK);
    EXPECT_FALSE(paused);
    EXPECT_TRUE(playing(current));
    ASSERT_EQ(current.get3DAttributes(&where, nullptr), OK);
    EXPECT_FLOAT_EQ(where.length(), 0.0f);
    ASSERT_EQ(current.getVolume(volume), OK);
    EXPECT_FLOAT_EQ(volume, 1.0f);

    const std::pair<float, float> volumes[] = {{0.3f, 0.3f}, {2.5f, 1.0f}, {-1.0f, 0.0f}};
    for (auto [set, expected] : volumes) {
        ASSERT_EQ(current.setVolume(set), OK);
        ASSERT_EQ(current.getVolume(volume), OK);
        EXPECT_FLOAT_EQ(volume, expected) << "set " << set;
    }
    ASSERT_EQ(current.set3DAttributes(&p, nullptr), OK);
    EXPECT_EQ(current.set3DAttributes(&broken, nullptr), ERR_INVALID_PARAM);
    ASSERT_EQ(current.get3DAttributes(&where, nullptr), OK);
    EXPECT_FLOAT_EQ(where.x, 1.0f) << "a position that is not a number is refused";
    EXPECT_EQ(system->set3DListenerAttributes(0, &broken, nullptr, nullptr, nullptr), ERR_INVALID_PARAM);
}

} // namespace

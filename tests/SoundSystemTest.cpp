// The sound layer's channels on a loopback device, where time passes only as the test renders it:
// lifetimes, pause, voices, handles and streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "audio/SoundSystem.h"
#include "support/SoundProbe.h"

using namespace audio;
using testing_support::LoopbackMix;

namespace {

class SoundSystemTest : public ::testing::Test {
  protected:
    LoopbackMix* out = nullptr;
    SoundSystem* system = nullptr; // never freed, as in the game
    Sound* laser = nullptr;        // 3-D, plays once
    Sound* shimmer = nullptr;      // 3-D loop
    Sound* spawn = nullptr;        // 2-D, plays once

    void start(int maxChannels = MaxLogicalChannels) {
        out = &LoopbackMix::next();
        system = createSoundSystem();
        ASSERT_EQ(system->setSoftwareChannels(100), OK);
        ASSERT_EQ(system->init(maxChannels), OK);
        ASSERT_EQ(system->set3DSettings(1.0f, 35.0f, 1.0f), OK);
        ASSERT_TRUE(laser = system->createSound("sounds/laser.mp3", Mode3D));
        ASSERT_TRUE(shimmer = system->createSound("sounds/shimmer.mp3", Mode3D));
        shimmer->setMode(LoopNormal);
        ASSERT_TRUE(spawn = system->createSound("sounds/spawn.wav", Default));
    }
    void TearDown() override {
        if (system) system->close();
    }

    Channel play(Sound* sound, bool paused, Vector3 at = Vector3()) {
        Channel c = system->playSound(sound, paused);
        EXPECT_TRUE(c);
        if (sound->is3D()) c.set3DAttributes(at);
        return c;
    }
    // Frames of a game at 30 frames a second: the mix of a frame, then the frame's update.
    void pass(double seconds) {
        for (double t = 0; t < seconds; t += 1 / 30.0) {
            out->render(LoopbackMix::Rate / 30);
            system->update();
        }
    }
};

TEST_F(SoundSystemTest, PauseStopsTheClockOneShotsEndAndLoopsGoOnAsSoundsAndAsStreams) {
    start();
    Sound* loopedStream = system->createStream("sounds/shimmer.mp3", LoopNormal);
    ASSERT_TRUE(loopedStream);
    const double length = laser->length();
    Channel once = play(laser, true), loop = play(shimmer, false), streamedLoop = play(loopedStream, false);
    pass(length + 0.3);
    ASSERT_EQ(once.setPaused(false), OK);
    pass(0.1);
    ASSERT_EQ(once.setPaused(true), OK);
    pass(length);
    ASSERT_EQ(once.setPaused(false), OK);
    pass(length - 0.2);
    EXPECT_TRUE(once.isPlaying()) << "paused from the start and halfway, it resumes where it stopped";
    pass(0.2);
    EXPECT_FALSE(once.isPlaying()) << "a one-shot ends by itself";

    // The next sound takes over the voice the ended one left, and starts afresh on it.
    Channel next = play(laser, true);
    EXPECT_FALSE(next.isVirtual());
    ASSERT_EQ(next.setPaused(false), OK);
    pass(length - 0.1);
    EXPECT_TRUE(next.isPlaying());

    pass(1.5 * shimmer->length());
    EXPECT_TRUE(loop.isPlaying() && streamedLoop.isPlaying()) << "loops go on past several lengths";
}

// Each channel of a stream reads the file on its own: a second play neither ends nor moves the first.
TEST_F(SoundSystemTest, AStreamPlayedAgainPlaysTwiceOverAndEachChannelEndsOnItsOwnTime) {
    start();
    Sound* stream = system->createStream("sounds/explosion.mp3", Mode3D);
    ASSERT_TRUE(stream);
    const double half = stream->length() / 2;
    Channel first = play(stream, false);
    pass(half);
    Channel second = play(stream, false);
    EXPECT_TRUE(first.isPlaying() && second.isPlaying());
    EXPECT_FALSE(first.isVirtual() || second.isVirtual());
    pass(half + 0.1);
    EXPECT_FALSE(first.isPlaying()) << "the first ends when its own reading of the file does";
    EXPECT_TRUE(second.isPlaying());
    pass(half);
    EXPECT_FALSE(second.isPlaying());

    // Looped, either one stopped leaves the other playing on.
    stream->setMode(LoopNormal);
    Channel a = play(stream, false), b = play(stream, false);
    pass(0.2);
    ASSERT_EQ(a.stop(), OK);
    pass(3 * stream->length());
    EXPECT_TRUE(b.isPlaying() && !a.isPlaying());
}

TEST_F(SoundSystemTest, EqualRivalsKeepTheVoicesTheyHave) {
    start();
    std::vector<Channel> channels;
    for (int i = 0; i < 110; i++)
        channels.push_back(play(shimmer, i % 2 == 0, Vector3(400, 0, 0)));
    std::vector<bool> virtualBefore, virtualAfter; // over two frames
    for (std::vector<bool>* frame : {&virtualBefore, &virtualAfter}) {
        pass(1 / 30.0);
        for (Channel& c : channels)
            frame->push_back(c.isVirtual());
    }
    EXPECT_EQ(std::count(virtualBefore.begin(), virtualBefore.end(), true), 10);
    EXPECT_EQ(virtualAfter, virtualBefore);
}

// A positional sound is ranked by the gain it is heard at: full within 35 units, then 35 / (35 + rolloff x
// (distance - 35)). At 70 that is a half and outranks flat sounds at 0.4; at 140, a quarter, it does not.
TEST_F(SoundSystemTest, APositionalSoundRanksByTheGainItIsHeardAt) {
    start();
    for (auto [distance, heard] : {std::pair{70.0f, true}, std::pair{140.0f, false}}) {
        std::vector<Channel> flat;
        for (int i = 0; i < 100; i++) {
            flat.push_back(play(spawn, false));
            flat.back().setVolume(0.4f);
        }
        Channel positional = play(laser, false, Vector3(distance, 0, 0));
        system->update();
        EXPECT_EQ(positional.isVirtual(), !heard) << distance;
        EXPECT_EQ(std::count_if(flat.begin(), flat.end(), [](Channel& c) { return c.isVirtual(); }), heard)
            << distance;
        for (Channel& c : flat)
            c.stop();
        positional.stop();
        system->update();
    }
}

TEST_F(SoundSystemTest, ThreeHundredOneShotsAllPlayTheNearestAreHeardAndAllEndOnTime) {
    start();
    std::vector<Channel> channels;
    for (int i = 0; i < 300; i++)
        channels.push_back(play(laser, false, Vector3(100.0f + 50.0f * i, 0, 0)));
    system->update();
    EXPECT_EQ(system->channelsPlaying().playing, 300);
    for (int i = 0; i < 300; i++)
        EXPECT_EQ(channels[i].isVirtual(), i >= 100)
            << "channel " << i << ": the least audible are the virtual ones";

    pass(laser->length() - 0.1);
    // Voices freed late in the sounds go to the next hundred, which carry on from where their time has
    // got: started afresh, they would still be playing at the last check.
    for (int i = 0; i < 100; i++)
        channels[i].stop();
    system->update();
    for (int i = 100; i < 300; i++)
        EXPECT_EQ(channels[i].isVirtual(), i >= 200) << i;
    pass(0.2);
    EXPECT_EQ(system->channelsPlaying().playing, 0);
}

TEST_F(SoundSystemTest, VolumeAndPositionAreKeptInBoundsAndStaleOrNullHandlesTouchNothing) {
    start(2); // two logical channels, so the next sound reuses the stale handle's slot at once
    Channel flat = play(spawn, true), old = play(shimmer, false);
    ASSERT_EQ(old.stop(), OK);
    Channel current = play(shimmer, false); // in the slot the stale handle names
    EXPECT_FALSE(system->playSound(shimmer, false)) << "every slot is in use";
    Vector3 p(1, 2, 3), broken(std::nanf(""), 0, 0);
    EXPECT_EQ(flat.set3DAttributes(p), ERR_NEEDS_3D);

    for (const Channel& h : {old, Channel()}) {
        EXPECT_FALSE(h.isPlaying());
        EXPECT_EQ(h.setVolume(0.1f), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.setPaused(true), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.set3DAttributes(p, p), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.stop(), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.sound(), nullptr);
    }
    EXPECT_TRUE(current.isPlaying() && !current.isPaused());
    EXPECT_FLOAT_EQ(current.position().length(), 0.0f);
    EXPECT_FLOAT_EQ(current.volume(), 1.0f);

    const std::pair<float, float> volumes[] = {{0.3f, 0.3f}, {2.5f, 1.0f}, {-1.0f, 0.0f}};
    for (auto [set, expected] : volumes) {
        ASSERT_EQ(current.setVolume(set), OK);
        EXPECT_FLOAT_EQ(current.volume(), expected) << "set " << set;
    }
    ASSERT_EQ(current.set3DAttributes(p), OK);
    EXPECT_EQ(current.set3DAttributes(broken), ERR_INVALID_PARAM);
    EXPECT_FLOAT_EQ(current.position().x, 1.0f) << "a position that is not a number is refused";
    EXPECT_EQ(system->set3DListenerAttributes(broken, p, p, p), ERR_INVALID_PARAM);
}

} // namespace

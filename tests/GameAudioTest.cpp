// The game's sound use: start-up lines and failures, the eleven files, who plays what, the listener.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"

using namespace audio;

namespace {

struct ChannelState {
    bool playing = false, paused = true;
    float volume = -1;
    Sound* sound = nullptr;
};

ChannelState stateOf(const Channel& c) {
    ChannelState s;
    c.isPlaying(s.playing);
    c.getPaused(s.paused);
    c.getVolume(s.volume);
    c.getCurrentSound(s.sound);
    return s;
}

void expectSame(Vector3 got, Vector3 expected) {
    EXPECT_FLOAT_EQ(got.x, expected.x);
    EXPECT_FLOAT_EQ(got.y, expected.y);
    EXPECT_FLOAT_EQ(got.z, expected.z);
}

TEST(GameAudio, StartUpPrintsItsLinesAndEachEventPlaysItsSoundAtItsVolume) {
    testing::internal::CaptureStdout();
    initAudio();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Initializing audio engine... Initialized audio engine successfully.\n"
              "Initializing background music...\nInitializing sounds...\nInitializing sound effects...\n");
    ASSERT_TRUE(backgroundMusic && planetSound && shipSound);
    EXPECT_TRUE(backgroundMusic->isStream());
    for (Sound* s : {planetSound, shipSound})
        EXPECT_TRUE(s->is3D() && s->loops());

    // Positional sounds come back paused for their owner to place; the rest play at once.
    const struct {
        Channel (*positional)();
        void (*once)();
        Sound* sound;
        float volume;
    } events[] = {
        {nullptr, playMusic, backgroundMusic, 0.2f},    {nullptr, playGameStart, gameStartSound, 0.05f},
        {playLaser, nullptr, laserSound, 1.0f},         {playShimmer, nullptr, shimmerSound, 0.3f},
        {playExplosion, nullptr, explosionSound, 1.0f}, {nullptr, playSpawn, spawnSound, 0.4f},
        {nullptr, playDeath, deathSound, 0.4f},         {nullptr, playWinner, winnerSound, 0.4f},
        {nullptr, playLoser, loserSound, 0.4f}};
    int index = 0; // channels are handed out in order on a fresh system
    for (const auto& e : events) {
        SCOPED_TRACE(index);
        ASSERT_NE(e.sound, nullptr);
        EXPECT_EQ(e.sound->is3D(), e.positional != nullptr);
        EXPECT_EQ(e.sound->loops(), e.sound == backgroundMusic || e.sound == shimmerSound);
        Channel c;
        ASSERT_EQ(audioSystem->getChannel(index++, &c), OK);
        if (e.positional) {
            EXPECT_EQ(e.positional(), c);
        } else {
            e.once();
        }
        ChannelState s = stateOf(c);
        EXPECT_EQ(s.sound, e.sound);
        EXPECT_TRUE(s.playing);
        EXPECT_EQ(s.paused, e.positional != nullptr);
        EXPECT_FLOAT_EQ(s.volume, e.volume);
    }
}

TEST(GameAudio, ARewardsFirstStepPlacesAndStartsItsShimmer) {
    testing::internal::CaptureStdout();
    initAudio();
    testing::internal::GetCapturedStdout();
    Reward reward;
    reward.position = Vector3(300, -40, 1200);
    reward.step();
    ChannelState s = stateOf(reward.channel);
    EXPECT_EQ(s.sound, shimmerSound);
    EXPECT_TRUE(s.playing && !s.paused);
    Vector3 at;
    ASSERT_EQ(reward.channel.get3DAttributes(&at, nullptr), OK);
    expectSame(at, reward.position);
}

TEST(GameAudio, NoSoundDeviceEndsTheProcessWithTheErrorLineAndStatus255) {
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO); // the line goes to standard output; the check reads errors
            setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
            initAudio();
        },
        testing::ExitedWithCode(255),
        testing::Matcher<const std::string&>(
            "Initializing audio engine... FMOD error! (5) No sound output device could be opened.\n"));
}

using GameAudioInPlay = testing_support::GameTest;

TEST_F(GameAudioInPlay, TheListenerFollowsShipZeroEveryFrame) {
    Ship& ship = ShipTable[0];
    ship.frame.rotateAboutY(0.7f);
    ship.frame.rotateAboutX(-0.3f);
    ship.frame.origin = Vector3(120, -3400, 5100);
    ship.velocity = Vector3(-250, 10, 40);
    updateAudio();
    Vector3 position, velocity, forward, up;
    ASSERT_EQ(audioSystem->get3DListenerAttributes(0, &position, &velocity, &forward, &up), OK);
    expectSame(position, ship.frame.origin);
    expectSame(velocity, ship.velocity);
    expectSame(forward, ship.frame.zAxis);
    expectSame(up, ship.frame.yAxis);
}

} // namespace

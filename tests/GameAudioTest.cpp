// The game's sound use: the eleven files, who plays what and how loud, the listener.
#include <gtest/gtest.h>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"

using namespace audio;

namespace {

TEST(GameAudio, EachEventPlaysItsSoundAtItsVolume) {
    initAudio();
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
        bool paused = true;
        float volume = -1;
        Sound* sound = nullptr;
        c.getPaused(paused);
        c.getVolume(volume);
        c.getCurrentSound(sound);
        EXPECT_EQ(sound, e.sound); // and so still playing
        EXPECT_EQ(paused, e.positional != nullptr);
        EXPECT_FLOAT_EQ(volume, e.volume);
    }
}

using GameAudioInPlay = testing_support::GameTest;

TEST_F(GameAudioInPlay, TheListenerIsShipZeroAndARewardsFirstStepStartsItsShimmerWhereItIs) {
    Ship& ship = ShipTable[0];
    ship.frame.rotateAboutY(0.7f);
    ship.frame.rotateAboutX(-0.3f);
    ship.frame.origin = Vector3(120, -3400, 5100);
    ship.velocity = Vector3(-250, 10, 40);
    Reward& reward = world().rewards[0];
    reward.step();
    updateAudio();
    Vector3 got[5];
    ASSERT_EQ(audioSystem->get3DListenerAttributes(0, &got[0], &got[1], &got[2], &got[3]), OK);
    ASSERT_EQ(reward.channel.get3DAttributes(&got[4], nullptr), OK);
    const Vector3 expected[] = {ship.frame.origin, ship.velocity, ship.frame.zAxis, ship.frame.yAxis,
                                reward.position};
    for (int i = 0; i < 5; i++) {
        EXPECT_FLOAT_EQ(got[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(got[i].y, expected[i].y) << i;
        EXPECT_FLOAT_EQ(got[i].z, expected[i].z) << i;
    }
    bool paused = true;
    Sound* sound = nullptr;
    reward.channel.getPaused(paused);
    reward.channel.getCurrentSound(sound);
    EXPECT_FALSE(paused);
    EXPECT_EQ(sound, shimmerSound);
}

} // namespace

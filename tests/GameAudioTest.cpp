// The game's sound use: the eleven files, who plays what and how loud, the listener; on a loopback
// device, so that nothing ends unless the test lets the time pass.
#include <gtest/gtest.h>

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "effects/Explosion.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "support/Near.h"
#include "support/SoundProbe.h"
#include "support/Stdout.h"

using namespace audio;
using testing_support::LoopbackMix;
using testing_support::near;

namespace {

TEST(GameAudio, TheSystemIsSetUpAsAskedAndEachEventPlaysItsSoundAtItsVolume) {
    LoopbackMix::next();
    testing_support::stdoutOf(initAudio);
    // The limiter asked for, whatever the output's default; the 3-D settings are heard in SoundOutput.
    ALCint limiter = 0;
    ALfloat gain = 0;
    alcGetIntegerv(alcGetContextsDevice(alcGetCurrentContext()), ALC_OUTPUT_LIMITER_SOFT, 1, &limiter);
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_TRUE(limiter == ALC_TRUE && gain == 1.0f) << "the limiter, and so no master gain: " << gain;
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
        const Channel c = audioSystem->channel(index++);
        if (e.positional) {
            EXPECT_EQ(e.positional(), c);
        } else {
            e.once();
        }
        EXPECT_EQ(c.sound(), e.sound); // and so still playing
        EXPECT_EQ(c.isPaused(), e.positional != nullptr);
        EXPECT_FLOAT_EQ(c.volume(), e.volume);
    }
}

struct GameAudioInPlay : testing_support::GameTest {
    static inline LoopbackMix* mix = nullptr;
    static void SetUpTestSuite() {
        if (!mix) mix = &LoopbackMix::next(); // for the World's sound system, built with the first test
    }
};

// Every channel the system holds, playing or waiting, real or virtual.
std::vector<Channel> liveChannels() {
    std::vector<Channel> live;
    for (int i = 0; i < MaxLogicalChannels; i++)
        if (const Channel c = audioSystem->channel(i); c.isPlaying()) live.push_back(c);
    return live;
}

// How many channels of `sound` one World update starts.
struct Started {
    std::vector<Channel> before = liveChannels();
    int count(Sound* sound) const {
        int n = 0;
        for (const Channel& c : liveChannels())
            n += c.sound() == sound && std::find(before.begin(), before.end(), c) == before.end();
        return n;
    }
};

TEST_F(GameAudioInPlay, OnlyPlayerZerosDeathRespawnAndRoundResultPlayTheirSounds) {
    World& w = world();
    auto fallExcept = [&](int survivor) {
        for (int n = 0; n < 8; n++)
            w.planets[n].alive = n == survivor;
    };
    auto dueToRespawn = [](Ship& ship) {
        ship.explode();
        ship.respawnTimer = 0.01f;
    };
    const struct {
        const char* name;
        std::function<void()> setUp; // the update after it is the event
        Sound* sound;                // the one of the four that it plays, if any
    } events[] = {
        {"ship 0 dies", [] { ShipTable[0].health = 0; }, deathSound},
        {"ship 3 dies", [] { ShipTable[3].health = 0; }, nullptr},
        {"ship 0 respawns", [&] { dueToRespawn(ShipTable[0]); }, spawnSound},
        {"ship 3 respawns", [&] { dueToRespawn(ShipTable[3]); }, nullptr},
        {"player 0 wins", [&] { fallExcept(0); }, winnerSound},
        {"player 5 wins", [&] { fallExcept(5); }, loserSound},
    };
    for (const auto& e : events) {
        w.restart();
        e.setUp();
        Started started;
        testing_support::stdoutOf([&] { w.update(); });
        for (Sound* s : {deathSound, spawnSound, winnerSound, loserSound})
            EXPECT_EQ(started.count(s), s == e.sound ? 1 : 0) << e.name;
    }
}

// Ship 0 fires at ship 3, parked in front of it, while the pilots fly the rest: shots, sparks and a
// ship blast, each with its own channel.
TEST_F(GameAudioInPlay, EveryShotStartsOneLaserAndEveryExplosionOneExplosionChannel) {
    World& w = world();
    Ship &shooter = ShipTable[0], &target = ShipTable[3];
    target.computerControlled = false;
    target.frame = shooter.frame;
    target.frame.origin.addScaled(shooter.frame.zAxis, -400);
    shooter.firing = true;
    int shots = 0, bursts = 0;
    for (int frame = 0; frame < 150; frame++) {
        Started started;
        const size_t explosionsBefore = explosions.size();
        testing_support::stdoutOf([&] { w.update(); });
        int fired = 0;
        for (const Ship& ship : ShipTable)
            fired += ship.lastFireFrame == ship.frameCount;
        const int burst = static_cast<int>(explosions.size() - explosionsBefore);
        EXPECT_EQ(started.count(laserSound), fired) << "frame " << frame;
        EXPECT_EQ(started.count(explosionSound), burst) << "frame " << frame;
        shots += fired;
        bursts += burst;
    }
    EXPECT_GT(shots, 15);
    EXPECT_GT(bursts, 10);
    EXPECT_FALSE(target.alive) << "the ship blast is among them";
}

// Also while the World is paused, the frame's sound work goes on: the listener follows ship 0, and the
// system update retires a sound that has played to its end.
TEST_F(GameAudioInPlay, TheListenerIsShipZeroEvenWhilePausedAndARewardsFirstStepStartsItsShimmerWhereItIs) {
    Ship& ship = ShipTable[0];
    Reward& reward = world().rewards[0];
    reward.step();
    const Channel laser = playLaser();
    laser.setPaused(false);
    world().paused = true;
    ship.frame.rotateAboutY(0.7f);
    ship.frame.rotateAboutX(-0.3f);
    ship.frame.origin = Vector3(120, -3400, 5100);
    ship.velocity = Vector3(-250, 10, 40);
    for (int frame = 0; frame < 15; frame++) { // half a second; the laser lasts about a third
        world().update();
        mix->render(LoopbackMix::Rate / 30);
        updateAudio();
    }
    for (int i = 0; i < MaxLogicalChannels; i++)
        ASSERT_NE(audioSystem->channel(i), laser) << "the ended laser still holds its channel";
    const SoundSystem::Listener listener = audioSystem->get3DListenerAttributes();
    EXPECT_TRUE(near(listener.position, ship.frame.origin) && near(listener.velocity, ship.velocity));
    EXPECT_TRUE(near(listener.forward, ship.frame.zAxis) && near(listener.up, ship.frame.yAxis));
    EXPECT_TRUE(near(reward.channel.position(), reward.position));
    EXPECT_FALSE(reward.channel.isPaused());
    EXPECT_EQ(reward.channel.sound(), shimmerSound);
}

} // namespace

// The World's round layout, winner check, pause, home regeneration and reward re-fill.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ai/ShipAI.h"
#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "effects/Explosion.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"

using testing_support::GameTest;

using WorldRound = GameTest;

TEST_F(WorldRound, LaysOutPlanetsShipsAndRewardsInCollisionOrder) {
    World& w = world();
    ASSERT_EQ(w.objects.size(), 24u);
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(w.objects[2 * n], &w.planets[n]);
        EXPECT_EQ(w.objects[2 * n + 1], &ShipTable[n]);
        EXPECT_EQ(w.objects[16 + n], &w.rewards[n]);

        Vector3 p = w.planets[n].position;
        EXPECT_EQ(p.x, n & 1 ? 4000 : -4000);
        EXPECT_EQ(p.y, n & 2 ? 4000 : -4000);
        EXPECT_EQ(p.z, n & 4 ? 4000 : -4000);

        const Frame& f = ShipTable[n].frame;
        EXPECT_FLOAT_EQ(std::fabs(f.origin.x), 4800);
        EXPECT_FLOAT_EQ(std::fabs(f.origin.z), 4800);
        // Facing the origin: the nose (-Z) points back along the spawn ray.
        Vector3 toOrigin = f.origin;
        toOrigin.negate();
        toOrigin.setLength(1);
        EXPECT_NEAR(-f.zAxis.dot(toOrigin), 1.0f, 1e-5f);
        EXPECT_NEAR(f.xAxis.y, 0.0f, 1e-6f); // wings level
        EXPECT_GT(f.yAxis.y, 0.0f);
        EXPECT_EQ(ShipTable[n].computerControlled, n != 0);
        EXPECT_EQ(ShipAITable[n].playerIndex, n);
    }
    for (const Reward& r : w.rewards) {
        EXPECT_TRUE(r.active);
        for (float c : {r.position.x, r.position.y, r.position.z}) {
            EXPECT_GE(c, -4000);
            EXPECT_LE(c, 3999);
            EXPECT_EQ(c, std::floor(c));
        }
    }
    EXPECT_FLOAT_EQ(w.rewardTimer, 3.0f);
}

TEST_F(WorldRound, EndsWhenAtMostOnePlanetStandsAndLaysOutTheNext) {
    struct Case {
        std::vector<int> fallen;
        std::string line;
    } cases[] = {
        {{0, 1, 2, 3, 4, 6, 7}, "***Player 5 wins! Too bad... try again next time...***\nRestarting world...\n"},
        {{1, 2, 3, 4, 5, 6, 7}, "***WINNER!!! CONGRATULATIONS PLAYER 0!!!***\nRestarting world...\n"},
        {{0, 1, 2, 3, 4, 5, 6, 7}, "***WINNER!!! CONGRATULATIONS PLAYER 0!!!***\nRestarting world...\n"},
    };
    World& w = world();
    for (const Case& c : cases) {
        w.restart();
        spawnSpark(Vector3(1, 2, 3));
        for (int n : c.fallen) w.planets[n].alive = false;
        ShipTable[3].score = 777;
        testing::internal::CaptureStdout();
        w.update();
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind(c.line, 0), 0u) << out;
        for (const Planet& p : w.planets) EXPECT_TRUE(p.alive);
        EXPECT_EQ(ShipTable[3].score, 0);
        EXPECT_TRUE(explosions.empty());
        EXPECT_EQ(w.objects.size(), 24u);
    }
    w.restart();
    for (int n : {0, 1, 2, 3, 4, 5}) w.planets[n].alive = false;
    EXPECT_EQ(w.findWinner(), -1);
}

TEST_F(WorldRound, PauseFreezesEverythingIncludingTheRoundEnd) {
    World& w = world();
    for (int n = 1; n < 8; ++n) w.planets[n].alive = false;
    w.paused = true;
    Vector3 before = ShipTable[2].frame.origin;
    int tick = ShipAITable[2].tick;
    for (int i = 0; i < 5; ++i) w.update();
    EXPECT_EQ(ShipTable[2].frameCount, 0);
    EXPECT_EQ(ShipAITable[2].tick, tick);
    EXPECT_EQ(ShipTable[2].frame.origin.x, before.x);
    EXPECT_FALSE(w.planets[1].alive); // no winner announced while paused
    EXPECT_FLOAT_EQ(w.rewardTimer, 3.0f);
}

TEST_F(WorldRound, RegeneratesOnlyAliveShipsWithinRangeOfTheirOwnPlanet) {
    World& w = world();
    struct Case {
        float distance;
        bool alive;
        int shipHealth;
    } cases[] = {{1500.0f, true, 21}, {1500.001f, true, 20}, {900.0f, false, -1}};
    for (const Case& c : cases) {
        w.restart();
        Ship& ship = ShipTable[0];
        ship.frame.origin = w.planets[0].position;
        ship.frame.origin.x += c.distance;
        ship.health = c.alive ? 20 : -1;
        ship.alive = c.alive;
        w.planets[0].health = 100;
        w.regenerateAtHome();
        EXPECT_EQ(ship.health, c.shipHealth) << c.distance;
        EXPECT_EQ(w.planets[0].health, c.shipHealth == 21 ? 101 : 100) << c.distance;
        EXPECT_EQ(ship.score, c.shipHealth == 21 ? 50 : 0);
    }
    // Near another player's planet nothing regrows (its owner is out of the way).
    w.restart();
    ShipTable[1].alive = false;
    ShipTable[0].frame.origin = w.planets[1].position;
    ShipTable[0].health = 10;
    w.planets[1].health = 100;
    w.regenerateAtHome();
    EXPECT_EQ(ShipTable[0].health, 10);
    EXPECT_EQ(w.planets[1].health, 100);
}

TEST_F(WorldRound, RefillsTheLowestEmptyRewardSlotOncePerThreeSeconds) {
    World& w = world();
    // Keep the ships parked where nothing touches the rewards.
    for (int k = 0; k < 8; ++k) w.rewards[k].position = Vector3(-3000 + 700 * k, 0, 0);
    for (int k : {2, 5, 6}) w.rewards[k].active = false;
    std::vector<std::pair<int, int>> refills; // frame, slot
    for (int frame = 1; frame <= 300; ++frame) {
        bool before[8];
        for (int k = 0; k < 8; ++k) before[k] = w.rewards[k].active;
        w.refillRewards();
        for (int k = 0; k < 8; ++k)
            if (!before[k] && w.rewards[k].active) refills.push_back({frame, k});
    }
    ASSERT_EQ(refills.size(), 3u);
    const int slots[] = {2, 5, 6};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(refills[i].second, slots[i]);
        EXPECT_NEAR(refills[i].first - (i ? refills[i - 1].first : 0), 90, 1) << i;
    }
    // With every slot full the allowance lapses: no slot is re-created, so every spin runs on.
    float spinBefore = w.rewards[0].spin;
    for (int frame = 0; frame < 120; ++frame) w.refillRewards();
    for (const Reward& r : w.rewards) EXPECT_GE(r.spin, 120);
    EXPECT_EQ(w.rewards[0].spin, spinBefore + 120);
}

TEST_F(WorldRound, RespawnedRewardsDoNotLeaveTheirOldShimmerPlaying) {
    World& w = world();
    ASSERT_NE(audioSystem, nullptr);
    auto playing = [] {
        audioSystem->update();
        int total = 0, real = 0;
        audioSystem->getChannelsPlaying(total, real);
        return total;
    };
    w.refillRewards(); // first step: every shimmer starts
    const int baseline = playing();
    for (int respawn = 0; respawn < 60; ++respawn) {
        w.rewards[0].take();
        while (!w.rewards[0].active) w.refillRewards();
        w.clearExplosions(); // the bursts' own sounds are not what is counted here
        bool alive = false;
        w.rewards[0].channel.isPlaying(alive);
        EXPECT_TRUE(alive) << "the slot lost its new shimmer at respawn " << respawn;
    }
    EXPECT_LE(playing(), baseline);
}

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
#include "tools/sim/Invariants.h"

using WorldRound = testing_support::GameTest;

TEST_F(WorldRound, LaysOutPlanetsShipsAndRewardsInCollisionOrder) {
    World& w = world();
    EXPECT_EQ(sim::checkRoundLayout(w), "");
    for (int n = 0; n < 8; ++n) {
        const Vector3 p = w.planets[n].position;
        EXPECT_TRUE(p.x == (n & 1 ? 4000 : -4000) && p.y == (n & 2 ? 4000 : -4000) &&
                    p.z == (n & 4 ? 4000 : -4000))
            << n;
        // The ship 1.2 times as far out, its nose (-Z) to the origin, wings level and upright.
        const Frame& f = ShipTable[n].frame;
        Vector3 off = f.origin;
        off.addScaled(p, -1.2f);
        EXPECT_LT(off.length(), 0.01f);
        EXPECT_NEAR(f.zAxis.dot(p) / p.length(), 1.0f, 1e-5f);
        EXPECT_NEAR(f.xAxis.y, 0.0f, 1e-6f);
        EXPECT_GT(f.yAxis.y, 0.0f);
        EXPECT_EQ(ShipTable[n].computerControlled, n != 0);
        EXPECT_EQ(ShipAITable[n].playerIndex, n);
    }
    for (const Reward& r : w.rewards)
        for (float c : {r.position.x, r.position.y, r.position.z})
            EXPECT_TRUE(r.active && c >= -4000 && c <= 3999 && c == std::floor(c)) << c;
    EXPECT_FLOAT_EQ(w.rewardTimer, 3.0f);
}

TEST_F(WorldRound, EndsWhenAtMostOnePlanetStandsAndLaysOutTheNext) {
    const std::string again = "Restarting world...\n";
    const std::string won = "***WINNER!!! CONGRATULATIONS PLAYER 0!!!***\n" + again;
    struct Case {
        std::vector<int> fallen;
        std::string line;
    } cases[] = {{{0, 1, 2, 3, 4, 6, 7}, "***Player 5 wins! Too bad... try again next time...***\n" + again},
                 {{1, 2, 3, 4, 5, 6, 7}, won},
                 {{0, 1, 2, 3, 4, 5, 6, 7}, won}}; // the last two fell together
    World& w = world();
    for (const Case& c : cases) {
        w.restart();
        spawnSpark(Vector3(1, 2, 3));
        for (int n : c.fallen)
            w.planets[n].alive = false;
        ShipTable[3].score = 777;
        testing::internal::CaptureStdout();
        w.update();
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind(c.line, 0), 0u) << out;
        for (const Planet& p : w.planets)
            EXPECT_TRUE(p.alive);
        EXPECT_EQ(ShipTable[3].score, 0);
        EXPECT_EQ(sim::checkRoundLayout(w), "");
    }
    w.restart();
    for (int n : {0, 1, 2, 3, 4, 5})
        w.planets[n].alive = false;
    EXPECT_EQ(w.findWinner(), -1);
}

TEST_F(WorldRound, PauseFreezesEverythingIncludingTheRoundEnd) {
    World& w = world();
    for (int n = 1; n < 8; ++n)
        w.planets[n].alive = false;
    w.paused = true;
    Vector3 before = ShipTable[2].frame.origin;
    int tick = ShipAITable[2].tick;
    for (int i = 0; i < 5; ++i)
        w.update();
    EXPECT_EQ(ShipTable[2].frameCount, 0);
    EXPECT_EQ(ShipAITable[2].tick, tick);
    EXPECT_EQ(ShipTable[2].frame.origin.x, before.x);
    EXPECT_FALSE(w.planets[1].alive); // no winner announced while paused
    EXPECT_FLOAT_EQ(w.rewardTimer, 3.0f);
}

TEST_F(WorldRound, RegeneratesOnlyAliveShipsWithinRangeOfTheirOwnPlanet) {
    World& w = world();
    // The last case parks ship 0 on another player's planet, whose owner is out of the way.
    struct Case {
        int planet;
        float distance;
        bool alive;
        int healthAfter;
    } cases[] = {{0, 1500.0f, true, 21}, {0, 1500.001f, true, 20}, {0, 900.0f, false, -1}, {1, 0, true, 20}};
    for (const Case& c : cases) {
        w.restart();
        Ship& ship = ShipTable[0];
        ShipTable[1].alive = false;
        ship.frame.origin = w.planets[c.planet].position;
        ship.frame.origin.x += c.distance;
        ship.health = c.alive ? 20 : -1;
        ship.alive = c.alive;
        w.planets[c.planet].health = 100;
        w.regenerateAtHome();
        const bool regrew = c.healthAfter == 21;
        EXPECT_EQ(ship.health, c.healthAfter) << c.planet << " " << c.distance;
        EXPECT_EQ(w.planets[c.planet].health, regrew ? 101 : 100) << c.planet << " " << c.distance;
        EXPECT_EQ(ship.score, regrew ? 50 : 0);
    }
}

TEST_F(WorldRound, RefillsTheLowestEmptyRewardSlotOncePerThreeSeconds) {
    World& w = world();
    // Keep the ships parked where nothing touches the rewards.
    for (int k = 0; k < 8; ++k)
        w.rewards[k].position = Vector3(-3000 + 700 * k, 0, 0);
    for (int k : {2, 5, 6})
        w.rewards[k].active = false;
    const int empty[] = {2, 5, 6};
    for (int i = 0; i < 3; ++i) {
        int frames = 0;
        for (; !w.rewards[empty[i]].active && frames < 200; ++frames)
            w.refillRewards();
        EXPECT_NEAR(frames, 90, 1) << "slot " << empty[i];
        for (int j = i + 1; j < 3; ++j)
            EXPECT_FALSE(w.rewards[empty[j]].active) << "ahead of " << empty[i];
    }
    // With every slot full the allowance lapses: no slot is re-created, so every spin runs on.
    float spinBefore = w.rewards[0].spin;
    for (int frame = 0; frame < 120; ++frame)
        w.refillRewards();
    for (const Reward& r : w.rewards)
        EXPECT_GE(r.spin, 120);
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
        while (!w.rewards[0].active)
            w.refillRewards();
        w.clearExplosions(); // the bursts' own sounds are not what is counted here
        bool alive = false;
        w.rewards[0].channel.isPlaying(alive);
        EXPECT_TRUE(alive) << "the slot lost its new shimmer at respawn " << respawn;
    }
    EXPECT_LE(playing(), baseline);
}

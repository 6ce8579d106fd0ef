// The World's round layout, winner check, pause, home regeneration and reward re-fill, and the
// simulator's checks of what must hold in any round.
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "ai/ShipAI.h"
#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "effects/Explosion.h"
#include "math/Random.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "tools/sim/Invariants.h"

using WorldRound = testing_support::GameTest;

TEST_F(WorldRound, LaysOutPlanetsShipsAndRewardsInCollisionOrder) {
    World& w = world();
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
    }
    for (const Reward& r : w.rewards)
        for (float c : {r.position.x, r.position.y, r.position.z})
            EXPECT_TRUE(r.active && c >= -4000 && c <= 3999 && c == std::floor(c)) << c;
}

// A round's layout draws each pilot's first target, players 0 to 7, then each reward's x, y and z, and
// nothing else; all as 15-bit draws, so the remainders are those of 0 to 32767.
TEST_F(WorldRound, LayoutDrawsTargetsThenRewardPlacesInThatOrder) {
    World& w = world();
    for (unsigned seed : {3u, 4u}) {
        srand(seed);
        w.restart();
        const int next = rand();
        srand(seed);
        for (int n = 0; n < 8; ++n) {
            const int draw = randomDraw() % 7;
            EXPECT_EQ(ShipAITable[n].target, draw >= n ? draw + 1 : draw) << "player " << n;
        }
        for (const Reward& r : w.rewards)
            for (float c : {r.position.x, r.position.y, r.position.z})
                EXPECT_EQ(c, randomDraw() % 8000 - 4000);
        EXPECT_EQ(rand(), next);
    }
}

TEST_F(WorldRound, EndsWhenAtMostOnePlanetStandsAndLaysOutTheNext) {
    const std::string again = "Restarting world...\n";
    const std::string won = "***WINNER!!! CONGRATULATIONS PLAYER 0!!!***\n" + again;
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{0, 1, 2, 3, 4, 6, 7}, "***Player 5 wins! Too bad... try again next time...***\n" + again},
        {{1, 2, 3, 4, 5, 6, 7}, won},
        {{0, 1, 2, 3, 4, 5, 6, 7}, won}}; // the last two fell together
    World& w = world();
    for (const auto& [fallen, line] : cases) {
        w.restart();
        spawnSpark(Vector3(1, 2, 3));
        w.rewards[2].take();
        for (int n : fallen)
            w.planets[n].alive = false;
        ShipTable[3].score = 777;
        testing::internal::CaptureStdout();
        w.update();
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind(line, 0), 0u) << out;
        for (const Planet& p : w.planets)
            EXPECT_TRUE(p.alive);
        EXPECT_TRUE(w.rewards[2].active && !w.rewards[2].paused);
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
    w.update();
    EXPECT_EQ(ShipTable[2].frameCount, 0);
    EXPECT_FALSE(w.planets[1].alive); // no winner announced while paused
    EXPECT_FLOAT_EQ(w.rewardTimer, 3.0f);
}

// Health -1 stands for a dead ship. Ship 0 is also parked on planet 1, whose owner is out of the way.
TEST_F(WorldRound, OnlyLiveShipsNearTheirOwnPlanetRegainAPointAtOnceThenOneASecond) {
    World& w = world();
    Ship& ship = ShipTable[0];
    // Ship 0's planet and distance from it, its health before and after, then the planet's health after.
    const std::tuple<int, float, int, int, int> cases[] = {
        {0, 1500.0f, 20, 21, 101}, {0, 1500.001f, 20, 20, 100}, {0, 900, -1, -1, 100},
        {1, 0, 20, 20, 100},       {0, 0, 25, 25, 101},         {0, 0, 0, 0, 101}};
    for (const auto& [planet, distance, health, healthAfter, planetAfter] : cases) {
        SCOPED_TRACE(testing::Message() << planet << " " << distance << " " << health);
        w.restart();
        ShipTable[1].alive = false;
        ship.frame.origin = w.planets[planet].position;
        ship.frame.origin.x += distance;
        ship.health = health;
        ship.alive = health >= 0;
        w.planets[planet].health = 100;
        w.regenerateAtHome();
        EXPECT_EQ(ship.health, healthAfter);
        EXPECT_EQ(w.planets[planet].health, planetAfter);
    }
    int calls = 0;
    for (ship.health = 20; ship.health < 22 && calls < 100; ++calls)
        w.regenerateAtHome();
    EXPECT_EQ(calls, 32);
}

TEST_F(WorldRound, RefillsTheLowestEmptyRewardSlotOncePerThreeSeconds) {
    World& w = world();
    const int empty[] = {2, 5, 6};
    for (int k : empty)
        w.rewards[k].active = false;
    int calls = 0;
    for (int i = 0; i < 3; ++i) {
        int frames = 0;
        for (; !w.rewards[empty[i]].active && frames < 200; ++frames)
            w.refillRewards();
        calls += frames;
        EXPECT_NEAR(frames, 90, 1) << "slot " << empty[i];
        for (int j = i + 1; j < 3; ++j)
            EXPECT_FALSE(w.rewards[empty[j]].active) << "ahead of " << empty[i];
    }
    EXPECT_EQ(w.rewards[0].spin, calls); // stepped every time, and never re-created while there
}

TEST_F(WorldRound, RespawnedRewardsDoNotLeaveTheirOldShimmerPlaying) {
    World& w = world();
    ASSERT_NE(audioSystem, nullptr);
    auto playing = [] {
        audioSystem->update();
        return audioSystem->channelsPlaying().playing;
    };
    w.refillRewards(); // first step: every shimmer starts
    const int baseline = playing();
    for (int respawn = 0; respawn < 60; ++respawn) {
        w.rewards[0].take();
        while (!w.rewards[0].active)
            w.refillRewards();
        w.clearExplosions(); // the bursts' own sounds are not what is counted here
        EXPECT_TRUE(w.rewards[0].channel.isPlaying())
            << "the slot lost its new shimmer at respawn " << respawn;
    }
    EXPECT_LE(playing(), baseline);
}

using Breakage = std::pair<std::function<void()>, std::string>;

const float NaN = std::nanf("");

TEST_F(WorldRound, TheSimulatorsLayoutCheckNamesEachFault) {
    World& w = world();
    const Breakage cases[] = {
        {[&] { w.objects.pop_back(); }, "the collision list holds 23 objects instead of 24"},
        {[&] { std::swap(w.objects[0], w.objects[1]); }, "collision list entry 0 is not planet 0"},
        {[&] { std::swap(w.objects[3], w.objects[5]); }, "collision list entry 3 is not ship 1"},
        {[&] { w.objects[20] = &w.rewards[0]; }, "collision list entry 20 is not reward 4"},
        {[&] { spawnSpark(Vector3()); }, "1 explosions outlived the restart"},
    };
    for (const auto& [breakIt, expected] : cases) {
        w.restart();
        breakIt();
        EXPECT_EQ(sim::checkRoundLayout(w), expected);
    }
}

TEST_F(WorldRound, TheSimulatorsStateCheckNamesEachFault) {
    World& w = world();
    SmokeTrailParticle* puffs = ShipTable[1].smokeTrail.particles;
    const Breakage cases[] = {
        {[] { ShipAITable[2].hatred[5] = 51; }, "pilot 2 hates player 5 at 51"},
        {[] { ShipAITable[7].hatred[0] = -1; }, "pilot 7 hates player 0 at -1"},
        {[] { ShipTable[4].velocity.x = NaN; }, "ship 4 has a velocity that is not finite"},
        {[] { ShipTable[6].frame.zAxis.y = INFINITY; }, "ship 6 has a frame that is not finite"},
        {[=] { puffs[7].life = NaN; }, "a smoke puff of ship 1 has a life that is not a number"},
        {[=] {
             puffs[999].life = 1;
             puffs[999].velocity.z = NaN;
         },
         "a live smoke puff of ship 1 is not finite"},
        {[=] { puffs[3].position.x = NaN; }, ""}, // a burnt-out puff is never drawn or moved again
        {[] {
             spawnSpark({});
             spawnShipBlast({});
             explosions.back()->particles[1499].velocity.z = NaN;
         },
         "particle 1499 of explosion 1 is not finite"},
        {[] {
             spawnPlanetBlast({});
             explosions.back()->position.y = -INFINITY;
         },
         "explosion 0 (kind 3) is not finite"},
        {[] {
             ShipTable[3].fire();
             static_cast<Projectile*>(ShipTable[3].children.back())->frame.origin.x = NaN;
         },
         "a bolt of ship 3 is not at a finite place and speed"}, // last: bolts outlive a restart
    };
    for (const auto& [breakIt, expected] : cases) {
        w.restart();
        ASSERT_EQ(sim::checkState(), "");
        breakIt();
        EXPECT_EQ(sim::checkState(), expected);
    }
    static_cast<Projectile*>(ShipTable[3].children.back())->alive = false;
    ShipTable[3].updateWeapons();
}

// The World's round layout, its order of steps in an update, the collision pass, the winner check,
// pause, home regeneration and reward re-fill.
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ai/ShipAI.h"
#include "effects/Explosion.h"
#include "math/Random.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/Draws.h"
#include "support/GameFixture.h"
#include "support/Near.h"
#include "support/Stdout.h"
#include "tools/support/Invariants.h"

using WorldRound = testing_support::GameTest;
using testing_support::near;
using testing_support::stdoutOf;

TEST_F(WorldRound, LaysOutPlanetsShipsAndRewardsInCollisionOrder) {
    World& w = world();
    for (int n = 0; n < 8; ++n) {
        const Vector3 p = w.planets[n].position,
                      corner(n & 1 ? 4000 : -4000, n & 2 ? 4000 : -4000, n & 4 ? 4000 : -4000);
        // The ship 1.2 times as far out, its nose (-Z) to the origin, wings level and upright.
        const Frame& f = ShipTable[n].frame;
        EXPECT_TRUE(near(p, corner) && near(f.origin, Vector3(p.x * 1.2f, p.y * 1.2f, p.z * 1.2f), 0.01f))
            << n;
        EXPECT_NEAR(f.zAxis.dot(p) / p.length(), 1.0f, 1e-5f);
        EXPECT_TRUE(std::fabs(f.xAxis.y) < 1e-6f && f.yAxis.y > 0) << n;
        EXPECT_EQ(ShipTable[n].computerControlled, n != 0);
    }
    // The collision list as the simulator checks it after every restart: planet n and ship n for every
    // player, then the rewards; and no explosion carried over.
    EXPECT_EQ(sim::checkRoundLayout(w), "");
}

// A round's layout draws each pilot's first target, players 0 to 7, announcing each as a change from
// none with its hatred of 5 of 50 (its own entry is never drawn); then each reward's x, y and z; and
// nothing else. All are 15-bit draws, so the remainders are those of 0 to 32767.
TEST_F(WorldRound, LayoutDrawsAndAnnouncesTargetsThenRewardPlacesInThatOrder) {
    World& w = world();
    std::string announced; // the targets, then every coordinate of every reward, then the next draw
    const std::vector<int> d = testing_support::replayDraws(3, [&] {
        std::vector<int> foreseen;
        for (int n = 0; n < 8; ++n) {
            const int draw = randomDraw() % 7, target = draw >= n ? draw + 1 : draw;
            foreseen.push_back(target);
            announced += "SHIP " + std::to_string(n) + " NOW HATES SHIP " + std::to_string(target) +
                         " with hate at 5 of 50!\n";
        }
        for (int k = 0; k < 25; ++k)
            foreseen.push_back(k < 24 ? randomDraw() % 8000 - 4000 : randomDraw());
        return foreseen;
    });
    EXPECT_EQ(stdoutOf([&] { w.restart(); }), announced);
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(ShipAITable[n].target, d[n]) << "player " << n;
    for (int k = 0; k < 24; ++k)
        EXPECT_EQ((&w.rewards[k / 3].position.x)[k % 3], d[8 + k]) << k;
    EXPECT_EQ(randomDraw(), d[32]);
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
        w.rewards[2].spin = 7;
        for (int n : fallen)
            w.planets[n].alive = false;
        ShipTable[3].score = 777;
        ShipTable[0].thrustForward();
        ShipTable[0].smokeTrail.update();
        ShipAITable[4].lastAim = 300;
        ShipAITable[4].tick = 500;
        w.cameraOffset = Vector3(3, 55, 145);
        w.rewardTimer = 0.5f;
        stdoutOf([] { ShipTable[5].explode(); }); // a second death would wait 2 s
        ShipTable[1].fire();
        const Projectile* bolt = ShipTable[1].bolts().back();
        const GLuint map = w.planets[6].texture;
        const std::string out = stdoutOf([&] { w.update(); });
        EXPECT_EQ(out.rfind(line, 0), 0u) << out;
        for (const Planet& p : w.planets)
            EXPECT_TRUE(p.alive);
        EXPECT_TRUE(w.rewards[2].active && !w.rewards[2].paused && w.rewards[2].spin == 0);
        EXPECT_EQ(ShipTable[3].score, 0);
        EXPECT_EQ(sim::checkRoundLayout(w), "");
        // Nothing of the new round moved in that step, and the pilots start counting afresh.
        EXPECT_EQ(std::tuple(ShipTable[2].frameCount, ShipAITable[4].tick, ShipAITable[4].lastAim),
                  std::tuple(0, 0, -90));
        // The camera and the planets' maps stay; the thrusting ship's smoke is gone for good.
        EXPECT_EQ(w.cameraOffset.y, 55);
        EXPECT_EQ(w.planets[6].texture, map);
        ShipTable[0].smokeTrail.update();
        EXPECT_EQ(ShipTable[0].smokeTrail.liveCount(), 0);
        // The next reward is 3 s away and a first death waits 1 s again; a bolt in flight is kept to fly out
        // its time.
        EXPECT_EQ(w.rewardTimer, 3.0f);
        stdoutOf([] { ShipTable[5].explode(); });
        EXPECT_EQ(ShipTable[5].respawnTimer, 1.0f);
        const std::vector<Projectile*> flying = ShipTable[1].bolts();
        EXPECT_TRUE(!flying.empty() && flying.back() == bolt);
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
    EXPECT_EQ(std::tuple(ShipTable[2].frameCount, ShipAITable[2].tick), std::tuple(0, 0));
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

// The timer runs out on every 91st update and lets the lowest empty slot, if any, be refilled with a
// reward that spins from 0; empty and full slots spin on. An expiry that finds all eight in play is
// lost: slot 1, taken just after the fourth, waits for the fifth.
TEST_F(WorldRound, RefillsTheLowestEmptyRewardSlotOncePerThreeSeconds) {
    World& w = world();
    for (int k : {2, 5, 6})
        w.rewards[k].active = false;
    std::vector<std::tuple<int, int, float>> refills; // the update, the slot, its spin
    for (int update = 1; update <= 5 * 91; ++update) {
        if (update == 4 * 91 + 1) w.rewards[1].take();
        w.refillRewards();
        for (int k = 0; k < 8; ++k)
            if (w.rewards[k].spin != update) {
                refills.push_back({update, k, w.rewards[k].spin});
                w.rewards[k].spin = float(update); // to tell the next refill from spinning on
            }
    }
    EXPECT_EQ(refills,
              (std::vector<std::tuple<int, int, float>>{{91, 2, 1}, {182, 5, 1}, {273, 6, 1}, {455, 1, 1}}));
    for (const Reward& r : w.rewards)
        EXPECT_TRUE(r.active);
}

// An explosion that a ship's own update starts is stepped in that update; one that the collision pass
// starts waits for the next. Home regrowth comes before the collisions, and each pilot counts one tick.
TEST_F(WorldRound, AnUpdateStepsShipsThenExplosionsThenRegrowsThenCollides) {
    World& w = world();
    Planet& home = w.planets[0];
    ShipTable[5].health = 0;                       // explodes in its own update
    w.rewards[3].position = w.planets[7].position; // taken by the planet in the collision pass
    home.health = 100;
    ShipTable[0].health = 20;
    ShipTable[0].frame.origin = home.position; // at home, regrows, and then dies on its planet
    stdoutOf([&] { w.update(); });
    auto lifeOf = [](int kind, Vector3 at) {
        for (const auto& e : explosions)
            if (e->kind == kind && near(e->position, at, 1)) return e->life;
        return -1.0f;
    };
    EXPECT_FLOAT_EQ(lifeOf(ShipBlast, ShipTable[5].frame.origin), 10 - 0.033333331f);
    EXPECT_EQ(lifeOf(ShipBlast, home.position), 10);
    EXPECT_EQ(lifeOf(RewardBurst, w.planets[7].position), 10);
    EXPECT_EQ(home.health, 101);
    for (const ShipAI& pilot : ShipAITable)
        EXPECT_EQ(pilot.tick, 1);
}

TEST_F(WorldRound, CullingRemovesTheExplosionsWhoseLifeIsNotAboveZero) {
    for (float life : {0.0f, -1.0f, std::nanf(""), 0.01f, std::nanf("")}) {
        spawnSpark(Vector3());
        explosions.back()->life = life;
    }
    world().cullExplosions();
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_EQ(explosions.front()->life, 0.01f);
}

// Every pair once, in list order, the later object's handler running: of two ships that touch, the later
// explodes first, and a reward that two ships touch goes to the one that comes first.
TEST_F(WorldRound, TheCollisionPassTestsEachPairOnceInListOrder) {
    World& w = world();
    for (Reward& r : w.rewards)
        r.active = false;
    auto place = [&](int reward, Vector3 at) {
        w.rewards[reward].active = true;
        w.rewards[reward].position = at;
    };
    ShipTable[2].frame.origin = ShipTable[5].frame.origin = Vector3(1000, 0, 0);
    ShipTable[4].frame.origin = w.planets[4].position; // its own planet, the entry just before it
    place(1, Vector3(-1000, 0, 0));                    // ships 3 and 6 60 either side of it
    ShipTable[3].frame.origin = Vector3(-1060, 0, 0);
    ShipTable[6].frame.origin = Vector3(-940, 0, 0);
    place(4, Vector3(0, 2000, 0)); // two rewards that touch
    place(6, Vector3(0, 2060, 0));
    stdoutOf([] { ShipTable[7].explode(); }); // a wreck collects nothing
    place(2, ShipTable[7].frame.origin);
    w.clearExplosions();

    std::string out = stdoutOf([&] { w.collideAll(); });
    if (out.find("Reward ") != std::string::npos) out[out.find("Reward ") + 7] = 'K'; // any kind
    EXPECT_EQ(out, "Ship 5 exploded!\nShip 2 exploded!\nReward K granted to ship 3!\nShip 4 exploded!\n");
    EXPECT_EQ(w.planets[4].health, 150); // a ship that rams a planet harms only itself
    EXPECT_TRUE(ShipTable[3].score == 1000 && ShipTable[6].score == 0);
    EXPECT_TRUE(w.rewards[2].active);
    // The two rewards burst, the later one first, and nobody scores for them.
    std::vector<float> bursts;
    for (const auto& e : explosions)
        if (e->kind == RewardBurst) bursts.push_back(e->position.y);
    EXPECT_EQ(bursts, (std::vector<float>{0, 2060, 2000}));
    int scores = 0;
    for (const Ship& s : ShipTable)
        scores += s.score;
    EXPECT_EQ(scores, 1000);
}

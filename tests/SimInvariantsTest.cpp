// The simulator's invariant checks: quiet over real play, and each fault they guard against named.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "ai/ShipAI.h"
#include "effects/Explosion.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "tools/sim/Invariants.h"

using SimInvariants = testing_support::GameTest;
using Breakage = std::pair<std::function<void()>, std::string>;

const float NaN = std::nanf("");

TEST_F(SimInvariants, HoldAfterARestartAndThroughAMinuteOfPlay) {
    World& w = world();
    ShipTable[0].computerControlled = true;
    EXPECT_EQ(sim::checkRoundLayout(w), "");
    for (int frame = 0; frame < 1800; ++frame) {
        w.update();
        ASSERT_EQ(sim::checkState(), "") << "after update " << frame + 1;
    }
    w.restart();
    EXPECT_EQ(sim::checkRoundLayout(w), "");
}

TEST_F(SimInvariants, LayoutFaultsAreNamed) {
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
    w.restart();
}

TEST_F(SimInvariants, StateFaultsAreNamed) {
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
    };
    for (const auto& [breakIt, expected] : cases) {
        w.restart();
        ASSERT_EQ(sim::checkState(), "");
        breakIt();
        EXPECT_EQ(sim::checkState(), expected);
    }

    // Bolts outlive a restart, so this one is spent by hand afterwards.
    w.restart();
    Ship& shooter = ShipTable[3];
    shooter.fire();
    static_cast<Projectile*>(shooter.children.back())->frame.origin.x = NaN;
    EXPECT_EQ(sim::checkState(), "a bolt of ship 3 is not at a finite place and speed");
    static_cast<Projectile*>(shooter.children.back())->alive = false;
    shooter.updateWeapons();
    EXPECT_EQ(sim::checkState(), "");
    w.restart();
}

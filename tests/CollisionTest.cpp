// Tests of collision shapes and of what each kind of contact does to the players' ships, planets and scores.
#include <cfenv>
#include <tuple>
#include <vector>

#include "ai/ShipAI.h"
#include "effects/Explosion.h"
#include "math/Random.h"
#include "objects/CollisionResponses.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/Draws.h"
#include "support/GameFixture.h"
#include "support/Stdout.h"

using testing_support::stdoutOf;

namespace {

CollisionShape sphere(Vector3 centre, float radius) { return CollisionShape(Sphere, centre, radius); }

// Two beams 30 apart along x, each running from z to z - 133.33333, at height 0.
CollisionShape beams(float z) {
    return CollisionShape(TwinBeam, Vector3(0, 0, z), Vector3(-15, 0, z), Vector3(-15, 0, z - 133.33333f),
                          Vector3(15, 0, z), Vector3(15, 0, z - 133.33333f));
}

std::vector<int> explosionKinds() {
    std::vector<int> kinds;
    for (const auto& e : explosions)
        kinds.push_back(e->kind);
    return kinds;
}

} // namespace

TEST(CollisionShapes, SpheresMustOverlapAndBeamsMustReachThem) {
    const std::tuple<CollisionShape, CollisionShape, bool> cases[] = {
        {sphere({0, 0, 0}, 20), sphere({40, 0, 0}, 20), false}, // touching is not colliding
        {sphere({0, 0, 0}, 20), sphere({39.9f, 0, 0}, 20), true},
        // A ship against planet 2, 519.999939 apart: a float rounding on the way would make it 520.
        {sphere({-3591.18579f, 3842.55176f, -4280.14453f}, 20), sphere({-4000, 4000, -4000}, 500), true},
        {beams(600), sphere({0, 0, 0}, 500), true},  // laser reaching a planet's surface
        {sphere({0, 0, 0}, 500), beams(600), true},  // the same, asked the other way round
        {beams(100), sphere({0, 0, 0}, 500), false}, // wholly inside
        {beams(60), sphere({30, 0, 0}, 20), true},   // only the second beam crosses
        {beams(60), sphere({-30, 0, 0}, 20), true},  // only the first
        {beams(60), beams(60), false},               // lasers never meet lasers
    };
    for (const auto& [a, b, hit] : cases)
        EXPECT_EQ(a.intersects(b), hit) << "shapes at " << a.centre.z << " and " << b.centre.x;
    EXPECT_EQ(std::get<0>(cases[2]).distanceTo(std::get<1>(cases[2])), 519.999939f);
}

TEST(CollisionShapes, SegmentHitsOnlyWhereItCrossesTheSurfaceAndNeverDividesByZero) {
    // Where the segment starts, where along it ends, and whether it meets the sphere of 500 about the origin.
    const std::tuple<Vector3, Vector3, bool> cases[] = {
        {{0, 0, 600}, {0, 0, -100}, true}, // ends exactly on the surface, or a hair short
        {{0, 0, 600}, {0, 0, -99}, false},
        {{0, 0, 450}, {0, 0, 100}, true},    // starts inside and leaves
        {{0, 0, 600}, {0, 0, 100}, false},   // points away
        {{500, 0, 100}, {0, 0, -200}, true}, // grazes the side, or passes it
        {{501, 0, 100}, {0, 0, -200}, false},
        {{0, 0, 500}, {0, 0, 100}, true}, // starts on the surface
        {{0, 0, 500}, {0, 0, -100}, true},
        {{0, 0, 500}, {0, 0, 0}, true}, // points on and off it
        {{0, 0, 600}, {0, 0, 0}, false},
        // Beams ending a hair outside and a hair inside, told apart only with each sum rounded once.
        {{330.398315f, 373.110901f, 390.814972f}, {-69.5575333f, -78.5496597f, -82.2768326f}, false},
        {{596.310791f, 102.648636f, 187.050247f}, {-125.539116f, -21.610239f, -39.3789978f}, true},
    };
    for (const auto& [start, direction, hit] : cases) {
        SCOPED_TRACE(testing::Message()
                     << "from x " << start.x << " z " << start.z << " along " << direction.z);
        std::feclearexcept(FE_ALL_EXCEPT);
        EXPECT_EQ(segmentHitsSphere({0, 0, 0}, 500, start, direction), hit);
        EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID));
    }
}

// The fixture's fresh round starts with no explosions.
class CollisionResponse : public testing_support::GameTest {
  protected:
    Projectile& laserOf(int player) {
        laser.owner = &ShipTable[player];
        laser.alive = true;
        return laser;
    }
    Projectile laser;
};

// A laser costs 2 health, angers the victim by 2 (a planet's owner by 4) and is used up; one on the
// shooter's own planet does nothing more.
TEST_F(CollisionResponse, LaserHitsScoreTheShooterAndAngerTheVictim) {
    auto shoot = [&](auto& target, int shooter, int owner, int before, int after, int points, int rise) {
        SCOPED_TRACE(testing::Message() << "owner " << owner << " health " << before);
        target.health = before;
        int score = ShipTable[shooter].score, hatred = ShipAITable[owner].hatred[shooter];
        resolveCollision(target, laserOf(shooter));
        // Health, still a target (a ship's own next update explodes it), points, anger, laser flying on.
        EXPECT_EQ(std::tuple(target.health, target.isCollidable(), ShipTable[shooter].score - score,
                             ShipAITable[owner].hatred[shooter] - hatred, laser.isCollidable()),
                  std::tuple(after, true, points, rise, false));
    };
    shoot(ShipTable[4], 1, 4, 25, 23, 100, 2);
    shoot(ShipTable[4], 1, 4, 2, 0, 10000, 2);
    Planet* planets = world().planets;
    shoot(planets[5], 3, 5, 2, 0, 100000, 4);
    shoot(planets[5], 3, 5, 150, 148, 500, 4);
    shoot(planets[2], 2, 2, 150, 150, 0, 0);
    EXPECT_EQ(explosionKinds(), std::vector<int>(5, Spark));
}

TEST_F(CollisionResponse, RewardsGoOnlyToShipsAndAnythingElseJustUsesThemUp) {
    const int kind = testing_support::replayDraws(11, [] { return randomDraw() % 4; });
    Reward* r = world().rewards;
    EXPECT_FLOAT_EQ(r[0].getBounds().radius, 50) << "touched within 50 of its centre";
    resolveCollision(ShipTable[5], r[0]);
    EXPECT_EQ(ShipTable[5].score, 1000);
    EXPECT_EQ(ShipTable[5].rewardTimers[kind], 20);

    resolveCollision(laserOf(1), r[1]);
    EXPECT_TRUE(laser.isCollidable()); // the laser flies on, and its shooter gains nothing
    EXPECT_EQ(ShipTable[1].score, 0);
    resolveCollision(world().planets[4], r[2]);
    EXPECT_EQ(world().planets[4].health, 150);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(!r[i].isCollidable() && r[i].paused) << "reward " << i; // its shimmer paused too
    EXPECT_EQ(explosionKinds(), std::vector<int>(3, RewardBurst));
    EXPECT_EQ(explosions.back()->position.x, r[2].position.x); // each bursts where it stood
}

TEST_F(CollisionResponse, UnknownShapesAndTouchingPlanetsAreReportedAndChangeNothing) {
    Planet* planets = world().planets;
    bool touch = true;
    EXPECT_EQ(stdoutOf([&] {
                  touch = CollisionShape(2, {0, 0, 0}, 10).intersects(sphere({0, 0, 0}, 10));
              }),
              "ERROR: intersects has been used with unknown objects!\n");
    EXPECT_EQ(stdoutOf([&] { resolveCollision(planets[1], planets[2]); }),
              "Error: Two planets just collided! This should never happen\n");
    EXPECT_TRUE(!touch && planets[1].health == 150 && planets[2].health == 150 && explosions.empty());
}

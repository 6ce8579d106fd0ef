// Tests of collision shapes and of what each kind of contact does to the players' ships, planets and scores.
#include <gtest/gtest.h>

#include <cfenv>
#include <vector>

#include "ai/ShipAI.h"
#include "effects/Explosion.h"
#include "objects/CollisionResponses.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"

namespace {

CollisionShape sphere(Vector3 centre, float radius) { return CollisionShape(Sphere, centre, radius); }

// Two beams 30 apart along x, each running from z to z - 133.33333, at height 0.
CollisionShape beams(float z) {
    return CollisionShape(TwinBeam, Vector3(0, 0, z), Vector3(-15, 0, z), Vector3(-15, 0, z - 133.33333f),
                          Vector3(15, 0, z), Vector3(15, 0, z - 133.33333f));
}

std::vector<int> explosionKinds() {
    std::vector<int> kinds;
    for (Explosion* e : explosions)
        kinds.push_back(e->kind);
    return kinds;
}

} // namespace

TEST(CollisionShapes, SpheresMustOverlapAndBeamsMustReachThem) {
    struct Case {
        CollisionShape a, b;
        bool hit;
    } cases[] = {
        {sphere({0, 0, 0}, 20), sphere({40, 0, 0}, 20), false}, // touching is not colliding
        {sphere({0, 0, 0}, 20), sphere({39.9f, 0, 0}, 20), true},
        {beams(600), sphere({0, 0, 0}, 500), true},  // laser reaching a planet's surface
        {sphere({0, 0, 0}, 500), beams(600), true},  // the same, asked the other way round
        {beams(700), sphere({0, 0, 0}, 500), false}, // still short of it
        {beams(100), sphere({0, 0, 0}, 500), false}, // wholly inside
        {beams(60), sphere({30, 0, 0}, 20), true},   // only the second beam crosses
        {beams(60), sphere({-30, 0, 0}, 20), true},  // only the first
        {beams(60), beams(60), false},               // lasers never meet lasers
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.a.intersects(c.b), c.hit) << "shapes at " << c.a.centre.z << " and " << c.b.centre.x;
    CollisionShape odd = sphere({0, 0, 0}, 500);
    odd.kind = 7;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(odd.intersects(sphere({0, 0, 0}, 500)));
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: intersects has been used with unknown objects!\n");
}

TEST(CollisionShapes, SegmentHitsOnlyWhereItCrossesTheSurfaceAndNeverDividesByZero) {
    struct Case {
        Vector3 start, direction;
        bool hit;
    } cases[] = {
        {{0, 0, 600}, {0, 0, -100}, true},   {{0, 0, 600}, {0, 0, -99}, false}, // ends exactly on the surface
        {{0, 0, 450}, {0, 0, 100}, true},                                       // starts inside and leaves
        {{0, 0, 600}, {0, 0, 100}, false},                                      // points away
        {{500, 0, 100}, {0, 0, -200}, true}, {{501, 0, 100}, {0, 0, -200}, false}, // grazes the side
        {{0, 0, 500}, {0, 0, 100}, true},    {{0, 0, 500}, {0, 0, -100}, true},    // starts on the surface
        {{0, 0, 500}, {0, 0, 0}, true},      {{0, 0, 600}, {0, 0, 0}, false},      // points on and outside it
        {{0, 0, 0}, {0, 0, 0}, false},                                             // and a point inside
    };
    for (const Case& c : cases) {
        std::feclearexcept(FE_ALL_EXCEPT);
        bool hit = segmentHitsSphere({0, 0, 0}, 500, c.start, c.direction);
        bool badArithmetic = std::fetestexcept(FE_DIVBYZERO | FE_INVALID);
        EXPECT_EQ(hit, c.hit) << "from z " << c.start.z << " x " << c.start.x << " along " << c.direction.z;
        EXPECT_FALSE(badArithmetic) << "from z " << c.start.z << " along " << c.direction.z;
    }
}

class CollisionResponse : public testing_support::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        world().clearExplosions();
    }
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
        EXPECT_EQ(target.health, after);
        EXPECT_TRUE(target.alive); // a ship's own next update explodes it
        EXPECT_EQ(ShipTable[shooter].score - score, points);
        EXPECT_EQ(ShipAITable[owner].hatred[shooter] - hatred, rise);
        EXPECT_FALSE(laser.isCollidable());
    };
    shoot(ShipTable[4], 1, 4, 25, 23, 100, 2);
    shoot(ShipTable[4], 1, 4, 2, 0, 10000, 2);
    shoot(ShipTable[4], 1, 4, 1, -1, 10000, 2);
    Planet* planets = world().planets;
    shoot(planets[5], 3, 5, 2, 0, 100000, 4);
    shoot(planets[5], 3, 5, 150, 148, 500, 4);
    shoot(planets[2], 2, 2, 150, 150, 0, 0);
    EXPECT_EQ(explosionKinds(), std::vector<int>(6, Spark));
}

TEST_F(CollisionResponse, ShipsDieOnAnyPlanetAndOnEachOther) {
    resolveCollision(ShipTable[2], world().planets[2]);
    EXPECT_FALSE(ShipTable[2].alive);
    EXPECT_EQ(world().planets[2].health, Planet::FullHealth);

    Vector3 first = ShipTable[6].frame.origin;
    resolveCollision(ShipTable[6], ShipTable[3]);
    EXPECT_FALSE(ShipTable[6].alive || ShipTable[3].alive);
    ASSERT_EQ(explosionKinds(), std::vector<int>(3, ShipBlast));
    EXPECT_EQ((*++explosions.begin())->position.x, first.x); // the first ship named blows up first
}

TEST_F(CollisionResponse, RewardsGoOnlyToShipsAndAnythingElseJustUsesThemUp) {
    srand(11);
    int kind = randomRewardKind();
    srand(11);
    Reward* r = world().rewards;
    int score = ShipTable[5].score;
    resolveCollision(ShipTable[5], r[0]);
    EXPECT_EQ(ShipTable[5].score - score, 1000);
    EXPECT_GT(ShipTable[5].rewardTimers[kind], 0);

    resolveCollision(laserOf(1), r[1]);
    EXPECT_TRUE(laser.isCollidable()); // the laser flies on
    resolveCollision(world().planets[4], r[2]);
    EXPECT_EQ(world().planets[4].health, Planet::FullHealth);
    resolveCollision(r[3], r[4]);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(r[i].isCollidable()) << "reward " << i;
    EXPECT_EQ(explosionKinds(), std::vector<int>(5, RewardBurst));
    testing::internal::CaptureStdout();
    resolveCollision(world().planets[0], world().planets[1]);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error: Two planets just collided! This should never happen\n");
}

// Through the real dispatch: the shooter's beams start inside its own sphere, yet only the victim is hit,
// and they still do so once the shooter itself is dead.
TEST_F(CollisionResponse, BeamsOfALiveOrDeadShipHitOthersButNeverTheirShip) {
    Ship &shooter = ShipTable[1], &victim = ShipTable[4];
    for (bool shooterAlive : {true, false}) {
        shooter.frame = Frame(Vector3(0, 0, 0));
        shooter.alive = shooterAlive;
        victim.frame = Frame(Vector3(15, 0, -100));
        victim.health = 25;
        laserOf(1).frame = shooter.frame;
        shooter.children = {&laser};
        shooter.checkCollisions(victim);
        shooter.children.clear();
        EXPECT_EQ(victim.health, 23);
        EXPECT_EQ(shooter.health, Ship::FullHealth);
        EXPECT_TRUE(victim.alive);
    }
}

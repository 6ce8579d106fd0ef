// Twin lasers: the fire schedule, size-dependent launch, a bolt's flight, lifetime and removal.
#include <gtest/gtest.h>

#include <vector>

#include "effects/Explosion.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"

namespace {

class WeaponTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::openGLWindow()) GTEST_SKIP() << "no display";
        ship.setup(nullptr, 2, Frame(Vector3(100, 200, 300)), false);
    }
    void TearDown() override {
        ship.setFiring(false);
        for (int i = 0; i < 20; ++i)
            ship.update(); // lets every bolt run out
        for (Explosion* e : explosions)
            delete e;
        explosions.clear();
    }
    Projectile& newest() { return *static_cast<Projectile*>(ship.children.back()); }
    Ship ship;
};

} // namespace

TEST_F(WeaponTest, HeldFireShootsOnFrames1And11And21OrEveryFifthWithRapidFire) {
    struct Case {
        float rapid;
        std::vector<int> frames;
    } cases[] = {{0, {1, 11, 21}}, {20, {1, 6, 11, 16, 21}}};
    for (const Case& c : cases) {
        ship.reset();
        ship.setup(nullptr, 2, Frame(), false);
        ship.rewardTimers[RapidFire] = c.rapid;
        ship.setFiring(true);
        std::vector<int> shots;
        for (int i = 0; i < 21; ++i) {
            int before = ship.score;
            ship.update();
            if (ship.score != before) shots.push_back(ship.frameCount);
        }
        EXPECT_EQ(shots, c.frames);
    }
    ship.rewardTimers[RapidFire] = 0;
    ship.setFiring(false); // letting go and pressing again does not shorten the wait
    ship.update();
    ship.setFiring(true);
    int last = ship.lastFireFrame;
    while (ship.lastFireFrame == last)
        ship.update();
    EXPECT_EQ(ship.lastFireFrame - last, 10);
}

TEST_F(WeaponTest, SizeSetsTheShipsSphereAndWhereAndHowWideItsBeamsStart) {
    struct Case {
        float grow, shrink, radius, halfWidth, muzzle, trail;
    } cases[] = {{0, 0, 20, 15, 45, 50},
                 {5, 0, 60, 45, 130, 150},
                 {0, 5, 6.6666665f, 5, 20, 16.666666f},
                 {5, 5, 20, 15, 45, 50}, // growing and shrinking cancel out
                 {-0.01f, 5, 6.6666665f, 5, 20, 16.666666f}};
    ship.faceDirection(Vector3(1, 0, 0));
    const Vector3 origin = ship.frame.origin, right = ship.frame.xAxis;
    for (const Case& c : cases) {
        ship.rewardTimers[Grow] = c.grow;
        ship.rewardTimers[Shrink] = c.shrink;
        EXPECT_EQ(ship.getBounds().radius, c.radius);
        EXPECT_EQ(ship.trailOffset(), c.trail);
        ship.fire();
        CollisionShape b = newest().getBounds();
        EXPECT_EQ(b.kind, TwinBeam);
        EXPECT_NEAR(b.centre.x - origin.x, c.muzzle, 1e-3);
        EXPECT_NEAR(b.beam2Start.dot(right) - b.beam1Start.dot(right), 2 * c.halfWidth, 1e-3);
        EXPECT_NEAR(b.beam1Start.dot(right) - origin.dot(right), -c.halfWidth, 1e-3);
        EXPECT_NEAR(b.beam1End.x - b.beam1Start.x, Projectile::BeamLength, 1e-3);
        EXPECT_NEAR(newest().velocity.x, 4000, 1e-3);
    }
}

TEST_F(WeaponTest, BoltFliesNineteenCollidableFramesAndAHitBoltGoesNextUpdate) {
    ship.velocity = Vector3(0, 0, -1000); // the shooter's speed is not passed on
    ship.fire();
    Projectile* bolt = &newest();
    const Vector3 start = bolt->frame.origin;
    for (int age = 0; age <= 18; ++age, ship.update()) {
        ASSERT_EQ(ship.children.size(), 1u);
        EXPECT_EQ(bolt->age, age);
        EXPECT_TRUE(bolt->isCollidable() && !bolt->isSpent()) << age;
        EXPECT_NEAR(bolt->frame.origin.z, start.z - age * Projectile::BeamLength, 0.01);
    }
    EXPECT_TRUE(ship.children.empty());

    ship.fire();
    ship.fire();
    bolt = static_cast<Projectile*>(ship.children.front());
    size_t sparks = explosions.size();
    bolt->destroyOnHit();
    EXPECT_FALSE(bolt->isCollidable());
    EXPECT_EQ(ship.children.size(), 2u); // still drawn until its ship's next update
    ASSERT_EQ(explosions.size(), sparks + 1);
    EXPECT_EQ(explosions.back()->kind, Spark);
    ship.update();
    ASSERT_EQ(ship.children.size(), 1u);
    EXPECT_EQ(newest().age, 1);

    ship.setFiring(true);
    ship.explode(); // stops the firing, not what was already fired
    EXPECT_FALSE(ship.firing);
    ship.update();
    ASSERT_EQ(ship.children.size(), 1u);
    EXPECT_EQ(newest().age, 2);
}

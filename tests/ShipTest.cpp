// Ship flight model, controls, aiming, home regeneration, death and respawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "effects/Explosion.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"

namespace {

// Attaching the trail and meter loads textures, and explosions load theirs, so a GL context is needed.
class ShipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::openGLWindow()) GTEST_SKIP() << "no display";
        ship.setup(nullptr, 1, Frame(Vector3(10, 20, 30)), false);
    }
    void TearDown() override {
        for (Explosion* e : explosions)
            delete e;
        explosions.clear();
    }
    Ship ship;
};

bool same(Vector3 a, Vector3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
bool sameFrame(const Frame& a, const Frame& b) {
    return same(a.xAxis, b.xAxis) && same(a.yAxis, b.yAxis) && same(a.zAxis, b.zAxis) &&
           same(a.origin, b.origin);
}

} // namespace

TEST_F(ShipTest, MotionIsCappedMovedThenDraggedAndFullThrustSettlesAt1485) {
    struct Case {
        float speed, boost;
        bool braking, alive;
        float speedAfter, moved;
    } cases[] = {{100, 0, false, true, 99, 100 * FrameTime},
                 {100, 0, true, true, 95, 100 * FrameTime},
                 {100, 0, true, false, 99, 100 * FrameTime}, // brakes do nothing on a wreck
                 {5000, 0, false, true, 1584, 1600 * FrameTime},
                 {5000, 5, false, true, 3168, 3200 * FrameTime}};
    for (const Case& c : cases) {
        Ship s;
        s.velocity = Vector3(c.speed, 0, 0);
        s.rewardTimers[SpeedBoost] = c.boost;
        s.braking = c.braking;
        s.alive = c.alive;
        s.integrateMotion();
        EXPECT_NEAR(s.velocity.x, c.speedAfter, 1e-3) << c.speed << " " << c.braking << c.alive;
        EXPECT_NEAR(s.frame.origin.x, c.moved, 1e-3);
    }
    for (float boost : {0.0f, 1000.0f}) {
        ship.velocity = Vector3();
        ship.rewardTimers[SpeedBoost] = boost;
        ship.thrustForward();
        float fastest = 0;
        for (int i = 0; i < 1500; ++i, ship.update())
            fastest = std::max(fastest, ship.velocity.length());
        EXPECT_NEAR(ship.velocity.z, -1485, 0.5);
        EXPECT_LE(fastest, 1600);
    }
    ship.braking = true;
    for (int i = 0; i < 500; ++i)
        ship.update();
    EXPECT_NEAR(ship.velocity.length(), 285, 0.5);
}

TEST_F(ShipTest, SteeringAndAimingTurnTheNoseAndARefusedAimKeepsTheFrame) {
    ship.alive = false; // both work on a wreck too
    const Frame start = ship.frame;
    ship.steer(0, 10);
    EXPECT_NEAR(ship.frame.zAxis.y, std::sin(0.05), 1e-6); // nose down
    ship.steer(10, -10);
    EXPECT_NEAR(ship.frame.zAxis.y, 0, 1e-6);
    EXPECT_NEAR(std::atan2(-ship.frame.zAxis.x, ship.frame.zAxis.z), 0.05, 1e-6); // and to the right

    ship.frame = start;
    ship.faceDirection(Vector3(3, 0, 4));
    EXPECT_NEAR(ship.frame.zAxis.x, -0.6, 1e-6);
    EXPECT_NEAR(ship.frame.zAxis.z, -0.8, 1e-6);
    EXPECT_EQ(ship.frame.origin.x, 10);
    const Frame aimed = ship.frame;
    for (Vector3 d : {Vector3(), Vector3(0, 5, 0), Vector3(0, -0.001f, 0)}) {
        ship.faceDirection(d);
        EXPECT_TRUE(sameFrame(ship.frame, aimed)) << d.y;
    }
}

TEST_F(ShipTest, RegenerationGivesOnePointAtOnceThenOneASecond) {
    struct Case {
        int health;
        float timer;
        bool alive;
        int healthAfter;
        float timerAfter;
    } cases[] = {{25, 0, true, 25, 0},
                 {24, 0, true, 25, 1.0f},
                 {24, 0.5f, true, 24, 0.46666667f},
                 {0, 0, true, 0, 0},
                 {10, 0, false, 10, 0}};
    for (const Case& c : cases) {
        ship.health = c.health;
        ship.regenTimer = c.timer;
        ship.alive = c.alive;
        ship.regenerateHealth();
        EXPECT_EQ(ship.health, c.healthAfter) << c.health << " " << c.timer;
        EXPECT_FLOAT_EQ(ship.regenTimer, c.timerAfter);
    }
}

TEST_F(ShipTest, ThirteenHitsKillAndTheWreckComesBackAfter31Then61Updates) {
    ship.thrustForward();
    ship.braking = true;
    ship.setFiring(true);
    ship.rewardTimers[Grow] = 10;
    for (int i = 0; i < 12; ++i)
        ship.takeDamage(2);
    ship.update();
    EXPECT_TRUE(ship.alive);
    ship.takeDamage(2);
    ship.steer(40, 0);
    ship.velocity = Vector3(300, 0, 0);
    size_t blasts = explosions.size();
    testing::internal::CaptureStdout();
    ship.update();
    ship.explode(); // a second explosion in the same frame changes nothing
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Ship 1 exploded!\n"), std::string::npos);
    EXPECT_EQ(out.find("Ship 1 exploded!\n"), out.rfind("Ship 1 exploded!\n"));
    EXPECT_EQ(explosions.size(), blasts + 1);
    EXPECT_FALSE(ship.isCollidable());
    EXPECT_EQ(ship.health, -1);
    EXPECT_EQ(ship.deaths, 1);
    EXPECT_FALSE(ship.firing || ship.smokeTrail.emitting || ship.rewardTimers[Grow] != 0);

    float x = ship.frame.origin.x;
    for (int i = 0; i < 30; ++i)
        ship.update();
    EXPECT_FALSE(ship.alive);
    EXPECT_GT(ship.frame.origin.x, x + 200); // the wreck drifts on, braking or not
    ship.update();
    EXPECT_TRUE(ship.alive && ship.braking && !ship.firing);
    EXPECT_TRUE(sameFrame(ship.frame, Frame(Vector3(10, 20, 30))));
    EXPECT_EQ(ship.health, 25);
    EXPECT_EQ(ship.velocity.length() + ship.thrust.length() + ship.rewardTimers[Grow], 0);

    ship.explode();
    int updates = 0;
    for (; !ship.alive && updates < 100; ++updates)
        ship.update();
    EXPECT_EQ(updates, 61);
}

// Ships: flight model, controls, death and respawn, the twin lasers and the rewards' timers.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "effects/Explosion.h"
#include "ships/Projectile.h"
#include "ships/Reward.h"
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
        ship.dropBolts();
        explosions.clear();
    }
    Projectile& newest() { return *ship.bolts().back(); }
    Ship ship;
};

bool same(Vector3 a, Vector3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
bool sameFrame(const Frame& a, const Frame& b) {
    return same(a.xAxis, b.xAxis) && same(a.yAxis, b.yAxis) && same(a.zAxis, b.zAxis) &&
           same(a.origin, b.origin);
}

} // namespace

TEST_F(ShipTest, SpeedIsCappedMovesTheShipThenDragsAndFullThrustSettlesAt1485Or285Braked) {
    for (float boost : {0.0f, 5.0f}) {
        Ship s;
        s.velocity = Vector3(5000, 0, 0);
        s.rewardTimers[SpeedBoost] = boost;
        s.integrateMotion();
        const float cap = boost > 0 ? BoostedSpeedCap : SpeedCap;
        EXPECT_NEAR(s.frame.origin.x, cap * FrameTime, 1e-3); // moved at the capped speed, before the drag
        EXPECT_NEAR(s.velocity.x, cap * 0.99f, 1e-3);
    }
    for (bool braking : {false, true}) {
        ship.velocity = Vector3();
        ship.braking = braking;
        ship.rewardTimers[SpeedBoost] = braking ? 0 : 100; // a higher cap, the same thrust and drag
        ship.thrustForward();
        for (int i = 0; i < 1000; ++i)
            ship.update();
        EXPECT_NEAR(ship.velocity.z, braking ? -285 : -1485, 0.5);
    }
}

TEST_F(ShipTest, SteeringTurnsTheNoseAndARefusedAimKeepsTheFrame) {
    ship.alive = false; // both work on a wreck too
    ship.steer(0, 10);
    EXPECT_NEAR(ship.frame.zAxis.y, std::sin(0.05), 1e-6); // nose down
    ship.steer(10, -10);
    EXPECT_NEAR(ship.frame.zAxis.y, 0, 1e-6);
    EXPECT_NEAR(std::atan2(-ship.frame.zAxis.x, ship.frame.zAxis.z), 0.05, 1e-6); // and to the right
    ship.faceDirection(Vector3(2, 0, 0));
    EXPECT_NEAR(ship.frame.zAxis.x, -1, 1e-6); // nose (-Z) along +X
    const Frame steered = ship.frame;
    for (Vector3 d : {Vector3(), Vector3(0, 5, 0), Vector3(0, -0.001f, 0)}) {
        ship.faceDirection(d);
        EXPECT_TRUE(sameFrame(ship.frame, steered)) << d.y;
    }
}

TEST_F(ShipTest, ThirteenHitsKillAndTheWreckComesBackAfter31Then61Updates) {
    ship.thrustForward();
    ship.braking = true;
    ship.setFiring(true);
    ship.rewardTimers[Grow] = 10;
    ship.takeDamage(12 * 2);
    ship.update();
    EXPECT_TRUE(ship.alive);
    ship.takeDamage(2);
    ship.steer(40, 0);
    ship.velocity = Vector3(300, 0, 0);
    testing::internal::CaptureStdout();
    ship.update();
    ship.explode(); // a second explosion in the same frame changes nothing
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ship 1 exploded!\n");
    EXPECT_EQ(explosions.size(), 1u);
    EXPECT_EQ(ship.health, -1);
    EXPECT_FALSE(ship.firing || ship.smokeTrail.emitting || ship.rewardTimers[Grow] != 0);

    float x = ship.frame.origin.x;
    for (int i = 0; i < 30; ++i)
        ship.update();
    EXPECT_FALSE(ship.alive);
    EXPECT_GT(ship.frame.origin.x, x + 200); // the wreck drifts on with the light drag, braking or not
    ship.update();
    EXPECT_TRUE(ship.alive && ship.braking && !ship.firing);
    EXPECT_TRUE(sameFrame(ship.frame, Frame(Vector3(10, 20, 30))));
    EXPECT_EQ(ship.health, 25);
    EXPECT_EQ(ship.velocity.length() + ship.thrust.length(), 0);

    for (int wait : {61, 91}) { // a second longer with each death
        ship.explode();
        int updates = 0;
        for (; !ship.alive && updates < 100; ++updates)
            ship.update();
        EXPECT_EQ(updates, wait);
    }
}

TEST_F(ShipTest, HeldFireShootsOnFrames1And11And21OrEveryFifthWithRapidFire) {
    const std::vector<int> expected[] = {{1, 11, 21}, {1, 6, 11, 16, 21}};
    for (int rapid : {0, 1}) {
        ship.reset();
        ship.setup(nullptr, 2, Frame(), false);
        ship.rewardTimers[RapidFire] = 20.0f * rapid;
        ship.setFiring(true);
        std::vector<int> shots;
        for (int i = 0; i < 21; ++i) {
            int before = ship.score;
            ship.update();
            if (ship.score != before) shots.push_back(ship.frameCount);
        }
        EXPECT_EQ(shots, expected[rapid]);
    }
    for (int rapid : {1, 0}) { // letting go and pressing again does not shorten the wait
        ship.rewardTimers[RapidFire] = 20.0f * rapid;
        ship.setFiring(false);
        ship.update();
        ship.setFiring(true);
        int last = ship.lastFireFrame;
        while (ship.lastFireFrame == last)
            ship.update();
        EXPECT_EQ(ship.lastFireFrame - last, rapid ? 5 : 10);
    }
}

TEST_F(ShipTest, SizeSetsTheShipsSphereAndWhereAndHowWideItsBeamsStart) {
    // Grow and Shrink timers, then the sphere's radius, the beams' half width, muzzle and trail distances.
    const float cases[][6] = {{0, 0, 20, 15, 45, 50},
                              {5, 0, 60, 45, 130, 150},
                              {0, 5, 6.6666665f, 5, 20, 16.666666f},
                              {5, 5, 20, 15, 45, 50}, // growing and shrinking cancel out
                              {-0.01f, 5, 6.6666665f, 5, 20, 16.666666f}};
    ship.faceDirection(Vector3(1, 0, 0));
    const Vector3 origin = ship.frame.origin, right = ship.frame.xAxis;
    for (const auto& [grow, shrink, radius, halfWidth, muzzle, trail] : cases) {
        ship.rewardTimers[Grow] = grow;
        ship.rewardTimers[Shrink] = shrink;
        EXPECT_EQ(ship.getBounds().radius, radius);
        EXPECT_EQ(ship.trailOffset(), trail);
        ship.fire();
        CollisionShape b = newest().getBounds();
        EXPECT_NEAR(b.centre.x - origin.x, muzzle, 1e-3);
        EXPECT_NEAR(b.beam2Start.dot(right) - b.beam1Start.dot(right), 2 * halfWidth, 1e-3);
        EXPECT_NEAR(b.beam1Start.dot(right) - origin.dot(right), -halfWidth, 1e-3);
        EXPECT_NEAR(b.beam1End.x - b.beam1Start.x, BeamLength, 1e-3);
        EXPECT_NEAR(newest().velocity.x, ProjectileSpeed, 1e-3);
    }
}

TEST_F(ShipTest, BoltFliesNineteenCollidableFramesAndAHitBoltGoesNextUpdate) {
    ship.velocity = Vector3(0, 0, -1000); // the shooter's speed is not passed on
    ship.fire();
    Projectile* bolt = &newest();
    const Vector3 start = bolt->frame.origin;
    for (int age = 0; age <= 18; ++age, ship.update()) {
        ASSERT_EQ(ship.children.size(), 1u);
        EXPECT_EQ(bolt->age, age);
        EXPECT_TRUE(bolt->isCollidable() && !bolt->isSpent()) << age;
        EXPECT_NEAR(bolt->frame.origin.z, start.z - age * BeamLength, 0.01);
    }
    EXPECT_TRUE(ship.children.empty());

    ship.fire();
    ship.fire();
    ship.bolts().front()->destroyOnHit();
    EXPECT_EQ(ship.children.size(), 2u); // still drawn until its ship's next update
    ship.update();
    ASSERT_EQ(ship.children.size(), 1u);
    EXPECT_EQ(newest().age, 1);
    ship.explode(); // what was already fired flies on
    ship.update();
    ASSERT_EQ(ship.children.size(), 1u);
    EXPECT_EQ(newest().age, 2);
}

TEST_F(ShipTest, GrantRestartsOneTimerForTwentySecondsAndRefusesUnknownKinds) {
    const std::pair<int, std::string> cases[] = {{0, "Reward 0 granted to ship 1!\n"},
                                                 {3, "Reward 3 granted to ship 1!\n"},
                                                 {4, "Error: Reward kind 4 is undefined!\n"},
                                                 {-1, "Error: Reward kind -1 is undefined!\n"}};
    for (const auto& [kind, line] : cases) {
        for (float& t : ship.rewardTimers)
            t = 3; // a running reward restarts; timers never add up
        testing::internal::CaptureStdout();
        ship.grantReward(kind);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), line);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(ship.rewardTimers[k], k == kind ? 20 : 3) << kind;
    }
    std::set<int> kinds; // what a collection grants: each of the four can come
    for (int i = 0; i < 40; ++i)
        kinds.insert(randomRewardKind());
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3}));
    ship.grantReward(RapidFire);
    int updates = 0;
    for (; ship.rewardTimers[RapidFire] > 0 && updates < 1000; ++updates)
        ship.update();
    EXPECT_EQ(updates, 600);
    EXPECT_LT(ship.rewardTimers[RapidFire], 0); // a hair below zero for one update, then clamped
    ship.update();
    EXPECT_EQ(ship.rewardTimers[RapidFire], 0);
}

TEST_F(ShipTest, LightsItsOwnPlayersLampAndNoneForAnUnknownPlayer) {
    for (int l = 0; l < 8; ++l)
        glDisable(GL_LIGHT0 + l);
    EXPECT_EQ(ship.enablePlayerLight(), GLenum(GL_LIGHT1));
    ship.playerNumber = 8;
    testing::internal::CaptureStdout();
    EXPECT_EQ(ship.enablePlayerLight(), GLenum(GL_LIGHT7));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: Player number 8 is undefined!\n");
    for (int l = 0; l < 8; ++l)
        EXPECT_EQ(glIsEnabled(GL_LIGHT0 + l), l == 1) << l;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Seen from above, one game unit a pixel, nose up the screen: player 1's ship in its red at its size,
// then its two beams 30 apart in the same red.
TEST_F(ShipTest, IsDrawnInItsPlayersColourAtItsSizeAndSoAreItsBeams) {
    testing_support::resetGameGLState();
    glDisable(GL_TEXTURE_2D); // as the scene's passes find it
    glMatrixMode(GL_PROJECTION);
    glOrtho(-400, 400, -300, 300, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    ship.frame = Frame(Vector3(1, 0, 0), Vector3(0, 0, 1), Vector3(0, -1, 0), Vector3());
    // Grow and Shrink timers, then the ship's span across the screen, as a share of its normal span.
    const float sizes[][3] = {{0, 0, 1}, {5, 0, 3}, {0, 5, 1 / 3.0f}, {5, 5, 1}};
    int normal = 0;
    for (const auto& [grow, shrink, scale] : sizes) {
        ship.rewardTimers[Grow] = grow;
        ship.rewardTimers[Shrink] = shrink;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ship.draw();
        const testing_support::LitPixels lit = testing_support::litPixels(0, 0, 800, 600);
        if (!normal) normal = lit.right - lit.left + 1;
        EXPECT_NEAR(lit.right - lit.left + 1, scale * normal, 0.05 * scale * normal) << grow << " " << shrink;
        EXPECT_GT(lit.red, 2 * lit.green) << grow << " " << shrink;
    }
    ship.rewardTimers[Grow] = ship.rewardTimers[Shrink] = 0;
    ship.fire();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ship.drawTranslucent();
    auto brightest = [](int x0, int x1) {
        testing_support::Pixel best;
        for (int x = x0; x < x1; ++x) {
            testing_support::Pixel p = testing_support::readPixel(x, 400);
            if (p.brightness() > best.brightness()) best = p;
        }
        return best;
    };
    for (int x : {385, 415}) {
        const testing_support::Pixel beam = brightest(x - 3, x + 3);
        EXPECT_TRUE(beam.r > 60 && beam.r > 3 * beam.g && beam.r > 3 * beam.b) << x << ": " << beam.r;
    }
    EXPECT_EQ(brightest(390, 411).brightness(), 0) << "between the beams";
}

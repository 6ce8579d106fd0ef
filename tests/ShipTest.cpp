// Ships: flight model, controls, death and respawn, the twin lasers and the rewards' timers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "effects/Explosion.h"
#include "ships/Projectile.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/Near.h"
#include "support/Stdout.h"

using testing_support::near;
using testing_support::stdoutOf;

namespace {

// Attaching the trail and meter loads textures, and explosions load theirs, so a GL context is needed.
class ShipTest : public testing_support::GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        if (!HasFatalFailure()) ship.setup(nullptr, 1, Frame(Vector3(10, 20, 30)), false);
    }
    void TearDown() override {
        ship.dropBolts();
        explosions.clear();
    }
    Projectile& newest() { return *ship.bolts().back(); }
    Ship ship;
};

} // namespace

// Past its cap a ship moves at the cap for the update, then loses 1 %. Full thrust of 15 an update
// settles at 15 x 0.99 / 0.01 = 1485, under the normal cap and SpeedBoost's alike; braking, at 285.
TEST_F(ShipTest, SpeedIsCappedAt1600Or3200AndFullThrustSettlesAt1485Or285Braked) {
    for (float cap : {1600.0f, 3200.0f}) {
        Ship s;
        s.velocity = Vector3(5000, 0, 0);
        s.rewardTimers[SpeedBoost] = cap > 1600 ? 5 : 0;
        s.integrateMotion();
        EXPECT_NEAR(s.frame.origin.x, cap / 30, 1e-2);
        EXPECT_NEAR(s.velocity.x, cap * 0.99f, 1e-2);
    }
    const float settles[][3] = {{0, 0, 1485}, {100, 0, 1485}, {0, 1, 285}}; // SpeedBoost, braking, speed
    for (const auto& [boost, braking, speed] : settles) {
        ship.velocity = Vector3();
        ship.braking = braking;
        ship.rewardTimers[SpeedBoost] = boost;
        ship.thrustForward();
        for (int i = 0; i < 1000; ++i)
            ship.update();
        EXPECT_NEAR(ship.velocity.z, -speed, 0.5) << boost << " " << braking;
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
    EXPECT_EQ(stdoutOf([&] {
                  ship.update();
                  ship.explode(); // a second explosion in the same frame changes nothing
              }),
              "Ship 1 exploded!\n");
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
    EXPECT_TRUE(near(ship.frame, Frame(Vector3(10, 20, 30)), 0));
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
        const int start = ship.score;
        for (int i = 0; i < 21; ++i) {
            int before = ship.score;
            ship.update();
            if (ship.score != before) shots.push_back(ship.frameCount);
        }
        EXPECT_EQ(shots, expected[rapid]);
        EXPECT_EQ(ship.score - start, rapid ? 5 : 3) << "a point a shot";
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

TEST_F(ShipTest, BoltFliesNineteenCollidableFramesAndAHitBoltGoesNextUpdate) {
    ship.velocity = Vector3(0, 0, -1000); // the shooter's speed is not passed on
    ship.fire();
    Projectile* bolt = &newest();
    const Vector3 start = bolt->frame.origin;
    for (int age = 0; age <= 18; ++age, ship.update()) {
        ASSERT_EQ(ship.children.size(), 1u);
        EXPECT_EQ(bolt->age, age);
        EXPECT_TRUE(bolt->isCollidable() && !bolt->isSpent()) << age;
        EXPECT_NEAR(bolt->frame.origin.z, start.z - age * 4000 / 30.0f, 0.01); // 4000 a second
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
        EXPECT_EQ(stdoutOf([&, kind = kind] { ship.grantReward(kind); }), line);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(ship.rewardTimers[k], k == kind ? 20 : 3) << kind;
    }
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
    GLenum light = 0;
    EXPECT_EQ(stdoutOf([&] { light = ship.enablePlayerLight(); }), "Error: Player number 8 is undefined!\n");
    EXPECT_EQ(light, GLenum(GL_LIGHT7));
    for (int l = 0; l < 8; ++l)
        EXPECT_EQ(glIsEnabled(GL_LIGHT0 + l), l == 1) << l;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Seen from above, one game unit a pixel, nose up the screen. Grow and Shrink set the sphere, where a
// bolt starts and how far apart its beams are, where smoke is born and the ship's span on the screen;
// together they cancel out. Then every player's normal bolt: two beams of radius 1, 133.33333 long,
// drawn additively in its player's colour at alpha 0.5.
TEST_F(ShipTest, SizeSetsSphereBeamsTrailAndDrawingAndEveryPlayersColourShows) {
    glDisable(GL_TEXTURE_2D); // as the scene's passes find it
    testing_support::flatProjection();
    ship.frame = Frame(Vector3(1, 0, 0), Vector3(0, 0, 1), Vector3(0, -1, 0), Vector3());
    // Grow and Shrink timers; the radius, the beams' half width, muzzle and trail distances; the span
    // across the screen as a share of the normal span.
    const float cases[][7] = {{0, 0, 20, 15, 45, 50, 1},
                              {5, 0, 60, 45, 130, 150, 3},
                              {0, 5, 6.6666665f, 5, 20, 16.666666f, 1 / 3.0f},
                              {5, 5, 20, 15, 45, 50, 1},
                              {-0.01f, 5, 6.6666665f, 5, 20, 16.666666f, 1 / 3.0f}};
    int normal = 0;
    for (const auto& [grow, shrink, radius, halfWidth, muzzle, trail, scale] : cases) {
        SCOPED_TRACE(testing::Message() << grow << " " << shrink);
        ship.rewardTimers[Grow] = grow;
        ship.rewardTimers[Shrink] = shrink;
        EXPECT_EQ(ship.getBounds().radius, radius);
        EXPECT_EQ(ship.trailOffset(), trail);
        ship.fire();
        const CollisionShape b = newest().getBounds();
        const Vector3 ends[] = {b.centre, b.beam1Start, b.beam2Start, b.beam1End, b.beam2End};
        const float across[] = {0, -halfWidth, halfWidth, -halfWidth, halfWidth};
        for (int i = 0; i < 5; ++i) // the beams' ends one update's flight ahead
            EXPECT_TRUE(near(ends[i], Vector3(across[i], muzzle + (i > 2) * 133.33333f, 0), 1e-3f)) << i;
        EXPECT_TRUE(near(newest().velocity, Vector3(0, 4000, 0), 1e-3f));
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ship.draw();
        const testing_support::LitPixels lit = testing_support::litPixels(0, 0, 800, 600);
        if (!normal) normal = lit.right - lit.left + 1;
        EXPECT_NEAR(lit.right - lit.left + 1, scale * normal, 0.05 * scale * normal);
        EXPECT_GT(lit.red, 2 * lit.green); // player 1's red
    }
    ship.dropBolts();
    ship.rewardTimers[Grow] = ship.rewardTimers[Shrink] = 0;
    ship.fire();
    // clang-format off
    const Vector3 colours[PlayerCount] = {
        {0.7f, 0.7f, 0.7f}, {0.8f, 0.2f, 0.2f}, {0.2f, 0.2f, 0.8f}, {0.8f, 0.4f, 0.0f},
        {0.0f, 0.8f, 0.2f}, {0.8f, 0.8f, 0.2f}, {0.7f, 0.3f, 0.7f}, {0.4f, 0.2f, 0.08f}};
    // clang-format on
    for (int player = 0; player < PlayerCount; ++player) {
        ship.playerNumber = player;
        const auto drawn = testing_support::feedbackTriangles([&] { ship.drawTranslucent(); });
        ASSERT_FALSE(drawn.empty());
        float nearest = 800, farthest = 0, bottom = 600, top = 0; // across from the nose, and along it
        for (const auto& polygon : drawn)
            for (const testing_support::FeedbackVertex& v : polygon) {
                nearest = std::min(nearest, std::fabs(v.x - 400)),
                farthest = std::max(farthest, std::fabs(v.x - 400));
                bottom = std::min(bottom, v.y - 300), top = std::max(top, v.y - 300);
                ASSERT_TRUE(near(Vector3(v.colour[0], v.colour[1], v.colour[2]), colours[player], 1e-6f) &&
                            v.colour[3] == 0.5f)
                    << "player " << player;
            }
        EXPECT_TRUE(near(Vector3(nearest, farthest, 0), Vector3(14, 16, 0), 1e-3f));
        EXPECT_TRUE(near(Vector3(bottom, top, 0), Vector3(45, 45 + 133.33333f, 0), 1e-3f));
    }
}

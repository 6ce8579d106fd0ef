// Rewards: granting and timing their effects on a ship, and the reward object's own life.
#include <gtest/gtest.h>

#include <string>

#include "effects/Explosion.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"

class RewardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::openGLWindow()) GTEST_SKIP() << "no display";
        ship.setup(nullptr, 5, Frame(), false);
    }
    void TearDown() override {
        for (Explosion* e : explosions)
            delete e;
        explosions.clear();
    }
    Ship ship;
};

TEST_F(RewardTest, GrantRestartsOneTimerForTwentySecondsAndRefusesUnknownKinds) {
    struct Case {
        int kind;
        std::string line;
    } cases[] = {{0, "Reward 0 granted to ship 5!\n"},
                 {3, "Reward 3 granted to ship 5!\n"},
                 {4, "Error: Reward kind 4 is undefined!\n"},
                 {-1, "Error: Reward kind -1 is undefined!\n"}};
    for (const Case& c : cases) {
        for (float& t : ship.rewardTimers)
            t = 3; // a running reward restarts; timers never add up
        testing::internal::CaptureStdout();
        ship.grantReward(c.kind);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(ship.rewardTimers[k], k == c.kind ? 20 : 3) << c.kind;
    }
    // Above zero for 599 updates, a hair below it on the 600th, then clamped.
    ship.grantReward(RapidFire);
    for (int i = 1; i <= 599; ++i) {
        ship.update();
        ASSERT_GT(ship.rewardTimers[RapidFire], 0) << i;
    }
    ship.update();
    EXPECT_LT(ship.rewardTimers[RapidFire], 0);
    ship.update();
    EXPECT_EQ(ship.rewardTimers[RapidFire], 0);
}

TEST_F(RewardTest, TakenRewardBurstsWhereItStoodGoesQuietAndResetBringsItBack) {
    Reward r;
    r.position = Vector3(100, -200, 300);
    EXPECT_EQ(r.getBounds().radius, 50);
    r.take();
    EXPECT_TRUE(!r.isCollidable() && r.paused);
    ASSERT_FALSE(explosions.empty());
    EXPECT_EQ(explosions.back()->position.z, 300);
    r.step();
    EXPECT_EQ(r.spin, 1); // spins on while taken
    r.reset();
    EXPECT_TRUE(r.isCollidable() && !r.paused);
    EXPECT_EQ(r.spin, 0);
    EXPECT_EQ(r.getBounds().centre.length(), 0);
}

// Planets and their gauges: size by health, drawing, destruction and regrowth.
#include <gtest/gtest.h>

#include <string>

#include "effects/Explosion.h"
#include "planets/Planet.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/Stdout.h"
#include "support/TempDir.h"

using namespace testing_support;
using PlanetGL = GLTest;

TEST_F(PlanetGL, DrawsTheSolidSphereInAFullSizeShellAndIsDestroyedOnTheUpdateAfterItsHealthRunsOut) {
    flatProjection(5);
    glEnable(GL_LIGHT0);
    Planet planet; // texture 0: drawn untextured, so the pixels depend on the geometry only
    planet.playerNumber = 3;
    planet.position = Vector3(0, 0, 100);
    planet.health = 75;
    auto light = [](int x) { return litPixels(x, 300, x + 1, 301, -1).brightness; }; // along the middle row
    auto drawBoth = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        planet.draw();
        planet.drawTranslucent();
    };
    planet.draw();
    const long centre = light(400);
    EXPECT_GT(centre, 150);
    // 75 pixels out is past the solid sphere (radius 250, 50 pixels) and inside the shell (500, 100).
    EXPECT_EQ(light(475), 0);
    planet.drawTranslucent();
    EXPECT_TRUE(light(475) > centre / 5 && light(475) < centre * 4 / 5)
        << light(475) << " against " << centre;
    EXPECT_EQ(light(520), 0);

    // Half a degree of turn about Z per unit of spin: at 180 every corner has gone a quarter round.
    auto corner = [&] { // one near the equator, off the axis
        const auto drawn = feedbackTriangles([&] { planet.draw(); });
        return drawn[drawn.size() / 2][0];
    };
    const FeedbackVertex before = corner();
    planet.spin = 180;
    const FeedbackVertex after = corner();
    EXPECT_NEAR(after.x - 400, 300 - before.y, 1e-2);
    EXPECT_NEAR(after.y - 300, before.x - 400, 1e-2);

    // At 0 health it stands till its next update: no solid sphere, but the shell still shows.
    planet.takeDamage(75);
    EXPECT_TRUE(planet.isCollidable());
    drawBoth();
    EXPECT_TRUE(light(400) > 0 && light(400) < centre);
    EXPECT_EQ(stdoutOf([&] { planet.update(), planet.update(); }), "Planet 3 HAS BEEN DESTROYED!\n"); // once
    EXPECT_TRUE(!planet.isCollidable() && planet.health == -1);
    EXPECT_TRUE(explosions.size() == 1 && explosions.front()->kind == PlanetBlast &&
                explosions.front()->position.z == 100);
    explosions.clear();

    planet.health = 75; // a wreck stays unseen, whatever its health says
    drawBoth();
    EXPECT_EQ(litPixels(0, 0, 800, 600).count, 0);
}

// Each home planet wears its player's map, read at its first setup only, even when the file is missing: a
// new round reads nothing.
TEST_F(PlanetGL, ReadsItsPlayersMapOnceEvenWhenItIsMissing) {
    const TempDir empty(TempDir::Inside);
    const std::string maps[] = {"earth",   "mercury", "venus",  "mars",
                                "jupiter", "saturn",  "uranus", "neptune"};
    for (int player = 0; player < 8; player++) {
        Planet planet;
        auto setUp = [&] { return stdoutOf([&] { planet.setup(nullptr, player, 0, 0, 0); }); };
        EXPECT_EQ(setUp().rfind("Error: could not load images/map-" + maps[player] + ".jpg", 0), 0u)
            << player;
        planet.reset();
        EXPECT_EQ(setUp(), "") << player;
    }
}

TEST(PlanetHealth, SetsRadiusAndGaugesAndRegrowsOnePointEveryEighthCallWorthFiftyToTheOwner) {
    // planet health, radius, gauge; ship health, gauge
    const float rows[][5] = {
        {150, 500, 30, 25, 30}, {75, 250, 15, 10, 12}, {1, 500 / 150.0f, 0.2f, 1, 1.2f}, {-6, 0, 0, -1, 0}};
    Planet planet;
    planet.healthMeter.attach(&planet);
    Ship ship;
    ship.healthMeter.owner = &ship;
    for (const auto& r : rows) {
        planet.health = int(r[0]);
        ship.health = int(r[3]);
        EXPECT_FLOAT_EQ(planet.getBounds().radius, r[1]) << r[0];
        EXPECT_FLOAT_EQ(planet.healthMeter.solidRadius(), r[2]) << r[0];
        EXPECT_FLOAT_EQ(ship.healthMeter.solidRadius(), r[4]) << r[3];
    }

    planet.playerNumber = 2;
    ShipTable[2].score = 0;
    // The health held at each call, for how many calls: full and wrecked planets do not regrow, but the
    // timer still runs down meanwhile.
    const int phases[][2] = {{100, 17}, {150, 8}, {149, 1}, {0, 8}, {149, 1}};
    std::string regrown; // a '+' for each call that regrows a point
    for (const auto& [health, calls] : phases)
        for (int call = 0; call < calls; ++call) {
            planet.health = health;
            planet.regenerateHealth();
            regrown += planet.health == health + 1 ? '+' : planet.health == health ? '.' : '?';
        }
    EXPECT_EQ(regrown, "+.......+.......+"
                       "........+........+");
    EXPECT_EQ(ShipTable[2].score, 250);
}

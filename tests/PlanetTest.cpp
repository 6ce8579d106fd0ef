// Planets and their gauges: size by health, drawing, destruction and regrowth.
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <string>

#include "effects/Explosion.h"
#include "planets/Planet.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"

using testing_support::readPixel;

TEST(PlanetSize, RadiusAndGaugesFollowHealth) {
    // planet health, radius, gauge; ship health, gauge
    const float rows[][5] = {{150, 500, 30, 25, 30},
                             {75, 250, 15, 10, 12},
                             {1, 500.0f / 150, 0.2f, 1, 1.2f},
                             {0, 0, 0, 0, 0},
                             {-6, 0, 0, -1, 0}};
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
}

TEST(PlanetGL, DrawsTheSolidSphereInAFullSizeShellAndIsDestroyedOnTheUpdateAfterItsHealthRunsOut) {
    ASSERT_TRUE(testing_support::openGLWindow());
    testing_support::resetGameGLState();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(60, 800.0 / 600.0, 10, 20000);
    glTranslatef(0, 0, -2000);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHT0);
    Planet planet; // texture 0: drawn untextured, so the pixels depend on the geometry only
    planet.playerNumber = 3;
    planet.position = Vector3(0, 0, 100);
    planet.health = 75;
    planet.draw();
    const int centre = readPixel(400, 300).brightness();
    EXPECT_GT(centre, 150);
    // 100 pixels out is past the solid sphere (about 70) and inside the shell (about 140).
    EXPECT_EQ(readPixel(500, 300).brightness(), 0);
    planet.drawTranslucent();
    const int shell = readPixel(500, 300).brightness();
    EXPECT_TRUE(shell > centre / 5 && shell < centre * 4 / 5) << shell << " against " << centre;
    EXPECT_EQ(readPixel(560, 300).brightness(), 0);

    planet.takeDamage(75);
    EXPECT_TRUE(planet.isCollidable());
    testing::internal::CaptureStdout();
    planet.update();
    planet.update();
    const std::string out = testing::internal::GetCapturedStdout();
    const size_t at = out.find("Planet 3 HAS BEEN DESTROYED!\n");
    EXPECT_NE(at, std::string::npos) << out;
    EXPECT_EQ(out.find("Planet", at + 1), std::string::npos) << "destroyed twice: " << out;
    EXPECT_FALSE(planet.isCollidable());
    EXPECT_EQ(planet.health, -1);
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_TRUE(explosions.front()->kind == PlanetBlast && explosions.front()->particleCount == 5000);
    EXPECT_FLOAT_EQ(explosions.front()->position.z, 100);
    delete explosions.front();
    explosions.clear();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    planet.health = 75; // a wreck stays unseen, whatever its health says
    planet.draw();
    planet.drawTranslucent();
    EXPECT_EQ(testing_support::countLitPixels(0, 0, 800, 600), 0);
}

TEST(PlanetRegrowth, OnePointEveryEighthCallWorthFiftyToTheOwner) {
    Planet planet;
    planet.playerNumber = 2;
    planet.health = 100;
    ShipTable[2].score = 0;
    std::string regrown;
    for (int call = 1; call <= 17; ++call) {
        const int before = planet.health;
        planet.regenerateHealth();
        regrown += planet.health != before ? '+' : '.';
    }
    EXPECT_EQ(regrown, "+.......+.......+");
    EXPECT_EQ(ShipTable[2].score, 150);

    // Full and wrecked planets do not regrow, but the timer still runs down meanwhile.
    for (int health : {150, 0}) {
        planet.health = health;
        planet.regenTimer = 0.25f;
        for (int call = 0; call < 8; ++call)
            planet.regenerateHealth();
        EXPECT_EQ(planet.health, health);
        planet.health = 149;
        planet.regenerateHealth();
        EXPECT_EQ(planet.health, 150) << "after waiting at " << health;
    }
    EXPECT_EQ(ShipTable[2].score, 250);
}

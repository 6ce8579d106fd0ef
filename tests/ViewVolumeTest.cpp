// Leaving out what the camera cannot see: never a ball that reaches the screen, and not one pixel changed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "data/Globals.h"
#include "render/ViewVolume.h"
#include "ships/MeshLists.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "support/Near.h"

namespace {

float uniform(float lo, float hi) { return lo + (hi - lo) * float(rand()) / float(RAND_MAX); }

// Whether a point in the eye's own axes is on screen through the camera's lens: from 0.1 to 30000
// ahead, within 30 degrees up or down, and 4/3 as wide across.
bool onScreen(Vector3 p) {
    const double ahead = -p.z, half = ahead * std::tan(30 * M_PI / 180);
    return ahead >= 0.1 && ahead <= 30000 && std::fabs(p.y) <= half && std::fabs(p.x) <= half * 4 / 3;
}

} // namespace

TEST(ViewVolume, NeverHidesABallThatReachesTheScreen) {
    srand(7);
    Frame eye;
    eye.rotateAboutY(0.7f);
    eye.rotateAboutX(-0.3f);
    eye.origin = Vector3(120, -40, 900);
    ViewVolume volume(60, 4.0 / 3, 0.1, 30000);
    volume.setEye(eye);
    auto shows = [&](Vector3 centre, float radius) {
        return volume.mayShow(eye.transform(centre, true), radius);
    };

    int hidden = 0;
    for (int i = 0; i < 4000; ++i) {
        const float radius = uniform(0.05f, 3000);
        const Vector3 centre(uniform(-40000, 40000), uniform(-40000, 40000), uniform(-40000, 20000));
        if (shows(centre, radius)) continue;
        ++hidden;
        for (int k = 0; k < 300; ++k) { // points through the whole ball, its surface most of all
            Vector3 p(uniform(-1, 1), uniform(-1, 1), uniform(-1, 1));
            p.setLength(k % 3 ? radius : uniform(0, radius));
            p.add(centre);
            ASSERT_FALSE(onScreen(p)) << "ball " << i << " of radius " << radius << " was hidden";
        }
    }
    EXPECT_TRUE(hidden > 1000 && hidden < 3800) << hidden;

    // On the far side of each plane by a hair less than its radius, a ball still shows.
    EXPECT_TRUE(shows(Vector3(0, 0, 0.1f + 9.9f), 10)) << "just behind the eye";
    EXPECT_TRUE(shows(Vector3(0, 0, -30000 - 9.9f), 10)) << "beyond the far plane";
    EXPECT_FALSE(shows(Vector3(0, 0, -30000 - 20), 10));
    volume.setCulling(false);
    EXPECT_TRUE(shows(Vector3(0, 0, -30000 - 20), 10));
    volume.setCulling(true);
    volume.forgetEye(); // outside a frame, everything may show
    EXPECT_TRUE(shows(Vector3(0, 0, -30000 - 20), 10));
}

using ViewCulling = testing_support::GameTest;
using testing_support::near;

TEST_F(ViewCulling, FramesAreTheSameWithAndWithoutIt) {
    World& w = world();
    // The second of two renders starts from the GL state the same frame left behind.
    auto settledFrame = [&] { return w.render(), w.render(), testing_support::readFrame(); };
    const float turns[][2] = {{0, 0}, {0.9f, 0}, {2.4f, 0.3f}, {3.3f, -0.6f}, {-1.2f, 1.1f}};
    int outOfView = 0;
    for (const auto& turn : turns) {
        ShipTable[0].frame.rotateAboutY(turn[0]);
        ShipTable[0].frame.rotateAboutX(turn[1]);
        cameraView.setCulling(false);
        const std::vector<unsigned char> whole = settledFrame();
        cameraView.setCulling(true);
        EXPECT_TRUE(whole == settledFrame()) << "turned by " << turn[0] << ", " << turn[1];

        // What this view leaves out, so the comparison covers skipped ships, planets and rewards.
        w.placeCamera();
        for (int n = 0; n < 8; ++n) // eight of each
            outOfView += !cameraView.mayShow(ShipTable[n].frame.origin, shipMeshRadius()) +
                         !cameraView.mayShow(w.planets[n].position, Planet::FullRadius) +
                         !cameraView.mayShow(w.rewards[n].position, rewardMeshRadius());
        cameraView.forgetEye();
    }
    EXPECT_GT(outOfView, 30);
}

// Whatever reaches the screen is drawn, in every size and state. Each object, its nose (-Z) heading into
// view, is moved out past the right edge of the view to the last place where, drawn without culling,
// something of it still reaches the screen; there it must be drawn with culling too.
TEST_F(ViewCulling, DrawsEveryObjectThatReachesTheScreen) {
    World& w = world();
    w.placeCamera();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The right edge of a 60 degree lens 4/3 as wide, 400 ahead; `by` units out across it.
    const float a = std::atan(std::tan(30 * M_PI / 180) * 4 / 3), c = std::cos(a), s = std::sin(a);
    auto eye = [](float x, float z) { return cameraFrame.transform(Vector3(x, 0, z), false); };
    auto beyondEdge = [&](float by) {
        return Frame(eye(s, -c), cameraFrame.yAxis, eye(c, s),
                     cameraFrame.transform(Vector3(400 * s / c + by * c, 0, -400 + by * s), true));
    };
    const Frame behind(cameraFrame.transform(Vector3(0, 0, 2000), true)); // the camera's back to it
    Ship& ship = ShipTable[3];
    Reward& reward = w.rewards[3];
    Planet& planet = w.planets[3];
    ship.fire();
    Projectile& bolt = *ship.bolts().back();
    auto sized = [&](float grow, float shrink) {
        return [&, grow, shrink](const Frame& f) {
            ship.frame = f;
            ship.rewardTimers[Grow] = grow, ship.rewardTimers[Shrink] = shrink;
        };
    };
    auto boltOf = [&](bool alive) {
        return [&, alive](const Frame& f) { bolt.frame = f, ship.frame = behind, ship.alive = alive; };
    };
    const std::function<void()> drawShip = [&] { ship.draw(); }, drawBolts = [&] { ship.drawTranslucent(); };
    struct Case {
        const char* what;
        std::function<void(const Frame&)> place;
        std::function<void()> draw;
    } cases[] = {{"ship", sized(0, 0), drawShip},
                 {"grown ship", sized(20, 0), drawShip},
                 {"shrunk ship", sized(0, 20), drawShip},
                 {"reward", [&](const Frame& f) { reward.position = f.origin; }, [&] { reward.draw(); }},
                 {"planet at health 30",
                  [&](const Frame& f) { planet.position = f.origin, planet.health = 30; },
                  [&] { planet.draw(), planet.drawTranslucent(); }},
                 {"bolt of a ship out of view", boltOf(true), drawBolts},
                 {"bolt of a dead ship", boltOf(false), drawBolts}};
    for (const Case& k : cases) {
        auto reaches = [&](float by, bool culling) {
            k.place(beyondEdge(by));
            cameraView.setCulling(culling);
            const bool drawn = !testing_support::feedbackTriangles(k.draw).empty();
            cameraView.setCulling(true);
            return drawn;
        };
        float in = 0, out = 2000; // the furthest place found on screen, the nearest off it
        EXPECT_TRUE(reaches(in, false) && !reaches(out, false)) << k.what;
        while (out - in > 0.01f)
            (reaches((in + out) / 2, false) ? in : out) = (in + out) / 2;
        EXPECT_TRUE(reaches(in, true)) << k.what << ", " << in << " out";
    }

    // Well out of view a ship still lights its surroundings, from 5 above and 5 ahead of it; a taken
    // reward well in view is not drawn.
    ship.frame = behind, ship.alive = true;
    glDisable(GL_LIGHT3);
    ship.draw();
    GLfloat light[4];
    glGetLightfv(GL_LIGHT3, GL_POSITION, light);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    EXPECT_TRUE(
        near(Vector3(light[0], light[1], light[2]), behind.transform(Vector3(0, 5, -5), true), 0.01f));
    reward.position = beyondEdge(-200).origin;
    reward.active = false;
    EXPECT_TRUE(testing_support::feedbackTriangles([&] { reward.draw(); }).empty());
    cameraView.forgetEye();
}

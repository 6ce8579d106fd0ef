// Leaving out what the camera cannot see: never a ball that reaches the screen, and not one pixel changed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "data/Constants.h"
#include "data/Globals.h"
#include "render/ViewVolume.h"
#include "ships/MeshLists.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/GameFixture.h"

using testing_support::differingBytes;

namespace {

float uniform(float lo, float hi) { return lo + (hi - lo) * float(rand()) / float(RAND_MAX); }

// Whether a world point lands inside the clip volume of the camera's own projection matrix.
bool clipsIn(const Frame& view, Vector3 world) {
    const double f = 1.0 / std::tan(CameraFieldOfView * 0.5 * M_PI / 180.0);
    const Vector3 p = view.transform(world, true);
    const double w = -p.z;
    const double x = f / CameraAspect * p.x, y = f * p.y;
    const double z = (CameraFar + CameraNear) / (CameraNear - CameraFar) * p.z +
                     2 * CameraFar * CameraNear / (CameraNear - CameraFar);
    return std::fabs(x) <= w && std::fabs(y) <= w && std::fabs(z) <= w;
}

} // namespace

TEST(ViewVolume, NeverHidesABallThatReachesTheClipVolume) {
    srand(7);
    Frame eye;
    eye.rotateAboutY(0.7f);
    eye.rotateAboutX(-0.3f);
    eye.origin = Vector3(120, -40, 900);
    Frame view = eye;
    view.invert();
    ViewVolume volume(CameraFieldOfView, CameraAspect, CameraNear, CameraFar);
    volume.setEye(eye);

    int hidden = 0, shown = 0;
    for (int i = 0; i < 4000; ++i) {
        const float radius = uniform(0.05f, 3000);
        const Vector3 centre = eye.transform(
            Vector3(uniform(-40000, 40000), uniform(-40000, 40000), uniform(-40000, 20000)), true);
        if (volume.mayShow(centre, radius)) {
            ++shown;
            continue;
        }
        ++hidden;
        for (int k = 0; k < 300; ++k) { // points through the whole ball, its surface most of all
            Vector3 d(uniform(-1, 1), uniform(-1, 1), uniform(-1, 1));
            d.setLength(k % 3 ? radius : uniform(0, radius));
            Vector3 p = centre;
            p.add(d);
            ASSERT_FALSE(clipsIn(view, p)) << "ball " << i << " of radius " << radius << " was hidden";
        }
    }
    EXPECT_GT(hidden, 1000);
    EXPECT_GT(shown, 200);

    // On the far side of each plane by a hair less than its radius, a ball still shows.
    EXPECT_TRUE(volume.mayShow(eye.transform(Vector3(0, 0, 0.1f + 9.9f), true), 10)) << "just behind the eye";
    EXPECT_TRUE(volume.mayShow(eye.transform(Vector3(0, 0, -30000 - 9.9f), true), 10))
        << "beyond the far plane";
    EXPECT_FALSE(volume.mayShow(eye.transform(Vector3(0, 0, -30000 - 20), true), 10));
    volume.setCulling(false);
    EXPECT_TRUE(volume.mayShow(eye.transform(Vector3(0, 0, -30000 - 20), true), 10));
    volume.setCulling(true);
    volume.forgetEye(); // outside a frame, everything may show
    EXPECT_TRUE(volume.mayShow(eye.transform(Vector3(0, 0, -30000 - 20), true), 10));
}

using ViewCulling = testing_support::GameTest;

TEST_F(ViewCulling, FramesAreTheSameWithAndWithoutIt) {
    World& w = world();
    const float turns[][2] = {{0, 0}, {0.9f, 0}, {2.4f, 0.3f}, {3.3f, -0.6f}, {-1.2f, 1.1f}};
    int outOfView = 0;
    for (const auto& turn : turns) {
        ShipTable[0].frame.rotateAboutY(turn[0]);
        ShipTable[0].frame.rotateAboutX(turn[1]);
        cameraView.setCulling(false);
        const std::vector<unsigned char> whole = testing_support::settledFrame(w);
        cameraView.setCulling(true);
        EXPECT_EQ(differingBytes(whole, testing_support::settledFrame(w)), 0)
            << "turned by " << turn[0] << ", " << turn[1];

        // What this view leaves out, so the comparison covers skipped ships, planets and rewards.
        w.placeCamera();
        for (Ship& s : ShipTable)
            outOfView += !cameraView.mayShow(s.frame.origin, shipMeshRadius());
        for (Planet& p : w.planets)
            outOfView += !cameraView.mayShow(p.position, Planet::FullRadius);
        for (Reward& r : w.rewards)
            outOfView += !cameraView.mayShow(r.position, rewardMeshRadius());
        cameraView.forgetEye();
    }
    EXPECT_GT(outOfView, 30);
}

// Vector3 and Frame: the arithmetic and placements everything else in the game is built on.
#include <gtest/gtest.h>

#include <cmath>

#include "math/Frame.h"

namespace {

void expectNear(Vector3 actual, Vector3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectSameFrame(const Frame& a, const Frame& b, float tolerance = 1e-5f) {
    for (Vector3 Frame::*part : {&Frame::xAxis, &Frame::yAxis, &Frame::zAxis, &Frame::origin})
        expectNear(a.*part, b.*part, tolerance);
}

// Neither axis-aligned nor at the origin, so mixed-up axes or orders show.
Frame tiltedFrame() {
    Frame f(Vector3(10, -20, 30));
    f.rotateAboutY(0.7f);
    f.rotateAboutX(-0.4f);
    return f;
}

} // namespace

TEST(Vector3Arithmetic, CrossSetLengthAndAddScaled) {
    expectNear(Vector3(1, 0, 0).cross(Vector3(0, 1, 0)), Vector3(0, 0, 1));
    expectNear(Vector3(2, 3, 4).cross(Vector3(5, 6, 7)), Vector3(-3, 6, -3));
    Vector3 v(0, 0, 5), zero, p(7, 1, 2);
    v.setLength(-1);
    expectNear(v, Vector3(0, 0, -1));
    zero.setLength(1);
    expectNear(zero, Vector3(), 0); // no NaN from a vector without direction
    p.addScaled(Vector3(30, 0, 0), 1.0f / 30);
    expectNear(p, Vector3(8, 1, 2));
}

TEST(FrameRotation, TransformsAndTurnsAboutItsOwnAxes) {
    expectNear(Frame(Vector3(5, 0, 0)).transform({0, 0, -1}, true), Vector3(5, 0, -1));
    expectNear(Frame(Vector3(5, 0, 0)).transform({0, 0, -1}, false), Vector3(0, 0, -1));
    Frame yawed;
    yawed.rotateAboutY(static_cast<float>(M_PI / 2));
    expectNear(yawed.xAxis, Vector3(0, 0, -1));
    expectNear(yawed.zAxis, Vector3(1, 0, 0));
    expectNear(yawed.transform({0, 0, -1}, false), Vector3(-1, 0, 0)); // nose now along world -X
    Frame f = tiltedFrame();
    f.rotateAboutX(1.1f);
    f.rotateAboutX(-1.1f);
    expectSameFrame(f, tiltedFrame());
}

// Composition is what makes a bolt fly where its ship points: this * r applied to a point must equal
// this applied to r applied to the point. Times its inverse, a frame is no placement at all.
TEST(FrameComposition, MultiplyComposesAsMatricesAndInvertUndoes) {
    Frame r(Vector3(1, 2, 3));
    r.rotateAboutX(0.3f);
    r.rotateAboutY(-1.2f);
    const Vector3 p(4, -5, 6);
    Frame f = tiltedFrame();
    f.multiply(r);
    expectNear(f.transform(p, true), tiltedFrame().transform(r.transform(p, true), true), 1e-3f);

    Frame inverse = tiltedFrame();
    inverse.invert();
    f = tiltedFrame();
    f.multiply(inverse);
    expectSameFrame(f, Frame(), 1e-4f);
}

TEST(FrameLookAlong, PointsTheNoseAndStaysUpright) {
    Frame g = tiltedFrame();
    const Vector3 oldUp = g.yAxis;
    EXPECT_TRUE(g.lookAlong({3, 4, 0}));
    expectNear(g.transform({0, 0, -1}, false), Vector3(0.6f, 0.8f, 0));
    EXPECT_NEAR(g.xAxis.length(), 1, 1e-5f);
    EXPECT_NEAR(g.yAxis.length(), 1, 1e-5f);
    EXPECT_NEAR(g.xAxis.dot(g.yAxis), 0, 1e-5f);
    expectNear(g.xAxis.cross(g.yAxis), g.zAxis); // still right-handed
    EXPECT_GT(g.yAxis.dot(oldUp), 0);
    expectNear(g.origin, tiltedFrame().origin, 0);

    // No direction, or straight along the up axis: there is no frame to build, so nothing changes.
    for (Vector3 d : {Vector3(0, 0, 0), Vector3(0, 5, 0)}) {
        Frame h;
        EXPECT_FALSE(h.lookAlong(d));
        expectSameFrame(h, Frame(), 0);
    }
}

// Vector3 and Frame: what must hold where there is no direction to go by.
#include <gtest/gtest.h>

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

TEST(Vector3Arithmetic, CrossAndSetLength) {
    expectNear(Vector3(2, 3, 4).cross(Vector3(5, 6, 7)), Vector3(-3, 6, -3));
    Vector3 v(0, 0, 5), zero;
    v.setLength(-1);
    expectNear(v, Vector3(0, 0, -1));
    zero.setLength(1);
    expectNear(zero, Vector3(), 0); // no NaN from a vector without direction
}

TEST(FrameLookAlong, PointsTheNoseAndStaysUpright) {
    Frame g = tiltedFrame();
    const Vector3 oldUp = g.yAxis;
    EXPECT_TRUE(g.lookAlong({3, 4, 0}));
    expectNear(g.transform({0, 0, -1}, false), Vector3(0.6f, 0.8f, 0));
    expectNear(g.xAxis.cross(g.yAxis), g.zAxis); // with the unit nose: still orthonormal and right-handed
    expectNear(g.yAxis.cross(g.zAxis), g.xAxis);
    EXPECT_GT(g.yAxis.dot(oldUp), 0);
    expectNear(g.origin, tiltedFrame().origin, 0);

    // No direction, or straight along the up axis: there is no frame to build, so nothing changes.
    for (Vector3 d : {Vector3(0, 0, 0), Vector3(0, 5, 0)}) {
        Frame h;
        EXPECT_FALSE(h.lookAlong(d));
        expectSameFrame(h, Frame(), 0);
    }
}

TEST(FrameOperations, PlaceInvertAndCombineAsMatricesDo) {
    expectNear(Frame(Vector3(5, 0, 0)).transform({0, 0, -1}, true), Vector3(5, 0, -1));
    Frame inverse(Vector3(1, 2, 3));
    inverse.invert();
    expectSameFrame(inverse, Frame(Vector3(-1, -2, -3)));
    // A frame times its own inverse is no placement at all.
    Frame f = tiltedFrame(), undo = tiltedFrame();
    undo.invert();
    f.multiply(undo);
    expectSameFrame(f, Frame());
}

// The new x axis is square to the up axis the frame had, not to the world's.
TEST(FrameLookAlong, BuildsTheNewXAxisFromTheCurrentUpAxis) {
    Frame g = tiltedFrame();
    const Vector3 oldUp = g.yAxis;
    ASSERT_TRUE(g.lookAlong({3, 4, 0}));
    EXPECT_NEAR(g.xAxis.dot(oldUp), 0, 1e-6f);
    Frame h;
    ASSERT_TRUE(h.lookAlong({0, 0, -10}));
    expectSameFrame(h, Frame());
}

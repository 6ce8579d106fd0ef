// Vector3 and Frame: sums rounded once, what must hold where there is no direction to go by, and the
// game's random draws.
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "math/Frame.h"
#include "math/Random.h"
#include "support/Draws.h"
#include "support/Near.h"

using testing_support::near;

namespace {

// Neither axis-aligned nor at the origin, so mixed-up axes or orders show.
Frame tiltedFrame() {
    Frame f(Vector3(10, -20, 30));
    f.rotateAboutY(0.7f);
    f.rotateAboutX(-0.4f);
    return f;
}

} // namespace

// Every formula of several terms is summed first and rounded to float once. Rounding each product and
// partial sum instead gives a neighbouring float in every check (6397.89404, 326.992554, 7618.02539,
// -0.565270543, -1906.45825), enough to move a collision boundary.
TEST(Vector3Arithmetic, SumsAreRoundedToFloatOnce) {
    // The sum becomes a float before the root.
    EXPECT_EQ(Vector3(-4420.01074f, 74.3573303f, -4625.04346f).length(), 6397.89453f);
    Vector3 p(251.965042f, 0, 0);
    p.addScaled(Vector3(2250.82495f, 0, 0), 0.033333331f); // one update's move
    EXPECT_EQ(p.x, 326.992523f);
    const Vector3 a(4296.16113f, -1836.24438f, -3160.81177f), b(0.780309439f, -0.738585413f, -0.920481026f);
    EXPECT_EQ(a.dot(b), 7618.02588f);
    const Vector3 c(-0.983223379f, -0.787111223f, -0.402592599f);
    EXPECT_EQ(c.cross({-0.416995227f, -0.202511907f, 0.614577413f}).x, -0.565270603f);
    // For a point the origin is one more term of the same sum.
    const Frame f({0.4061867f, 0, 0}, {0.967668772f, 0, 0}, {-0.846222222f, 0, 0}, {-2015.48804f, 0, 0});
    EXPECT_EQ(f.transform({17.5333939f, -11.5256844f, -133.606674f}, true).x, -1906.45837f);
}

TEST(Vector3Arithmetic, CrossAndSetLength) {
    EXPECT_TRUE(near(Vector3(2, 3, 4).cross(Vector3(5, 6, 7)), Vector3(-3, 6, -3), 1e-5f));
    Vector3 v(0, 0, 5), zero;
    v.setLength(-1);
    EXPECT_TRUE(near(v, Vector3(0, 0, -1), 1e-5f));
    zero.setLength(1);
    EXPECT_TRUE(near(zero, Vector3(), 0)); // no NaN from a vector without direction
}

TEST(FrameLookAlong, PointsTheNoseAndStaysUpright) {
    Frame g = tiltedFrame();
    const Vector3 oldUp = g.yAxis;
    EXPECT_TRUE(g.lookAlong({3, 4, 0}));
    EXPECT_TRUE(near(g.transform({0, 0, -1}, false), Vector3(0.6f, 0.8f, 0), 1e-5f));
    // With the unit nose: still orthonormal and right-handed.
    EXPECT_TRUE(near(g.xAxis.cross(g.yAxis), g.zAxis, 1e-5f));
    EXPECT_TRUE(near(g.yAxis.cross(g.zAxis), g.xAxis, 1e-5f));
    EXPECT_GT(g.yAxis.dot(oldUp), 0);
    EXPECT_NEAR(g.xAxis.dot(oldUp), 0, 1e-6f); // square to the up axis the frame had, not the world's
    EXPECT_TRUE(near(g.origin, tiltedFrame().origin, 0));

    // No direction, or straight along the up axis either way, however short: there is no frame to build,
    // so nothing changes. Along the nose already, the frame it builds is the one it had.
    for (auto [d, built] : {std::pair{Vector3(0, 0, 0), false},
                            {Vector3(0, 5, 0), false},
                            {Vector3(0, -0.001f, 0), false},
                            {Vector3(0, 0, -10), true}}) {
        Frame h;
        EXPECT_EQ(h.lookAlong(d), built) << d.length();
        EXPECT_TRUE(near(h, Frame(), built ? 1e-5f : 0));
    }
}

// One draw is one call of the shared generator, cut to its low 15 bits: the values the game has always
// divided by 32767, now also the ones its remainders are taken of.
TEST(RandomDraw, GivesTheLowFifteenBitsOfEachCall) {
    const std::vector<int> calls = testing_support::replayDraws(2024, [] {
        std::vector<int> c(1000);
        for (int& call : c)
            call = rand();
        return c;
    });
    for (int c : calls)
        ASSERT_EQ(randomDraw(), c % 32768);
    EXPECT_GT(*std::max_element(calls.begin(), calls.end()), 32767); // so the cut is needed at all
}

TEST(FrameOperations, PlaceInvertAndCombineAsMatricesDo) {
    EXPECT_TRUE(near(Frame(Vector3(5, 0, 0)).transform({0, 0, -1}, true), Vector3(5, 0, -1), 1e-5f));
    Frame inverse(Vector3(1, 2, 3));
    inverse.invert();
    EXPECT_TRUE(near(inverse, Frame(Vector3(-1, -2, -3)), 1e-5f));
    // A frame times its own inverse is no placement at all.
    Frame f = tiltedFrame(), undo = tiltedFrame();
    undo.invert();
    f.multiply(undo);
    EXPECT_TRUE(near(f, Frame(), 1e-5f));
}

// Spheres from display lists: the same pixels as GLU's, and a bounded number of lists.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "render/SphereCache.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/GameFixture.h"

using testing_support::differingBytes;

namespace {

std::vector<unsigned char> renderTwice(World& w, bool sphereLists) {
    setSphereCaching(sphereLists);
    std::vector<unsigned char> frame = testing_support::settledFrame(w);
    setSphereCaching(true);
    return frame;
}

// Display lists that exist now; names up to 20000 cover every list this test process makes.
int liveLists() {
    int n = 0;
    for (GLuint name = 1; name <= 20000; ++name)
        n += glIsList(name) == GL_TRUE;
    return n;
}

} // namespace

using SphereCache = testing_support::GameTest;

TEST_F(SphereCache, FramesDrawnFromListsMatchGluPixelForPixel) {
    World& w = world();
    std::vector<unsigned char> openingGlu = renderTwice(w, false);
    EXPECT_EQ(differingBytes(openingGlu, renderTwice(w, true)), 0);

    // Smaller solid planets and globes: new radii, new lists.
    w.planets[0].health = 75;
    w.planets[1].health = 3;
    ShipTable[0].health = 10;
    std::vector<unsigned char> damagedGlu = renderTwice(w, false);
    EXPECT_GT(differingBytes(openingGlu, damagedGlu), 1000)
        << "the damage must show, or the check proves nothing";
    EXPECT_EQ(differingBytes(damagedGlu, renderTwice(w, true)), 0);
}

TEST_F(SphereCache, KeepsOneListPerQuadricRadiusAndTessellationAndDeletesWhatItEvicts) {
    world();
    setSphereCaching(true); // starts empty
    const int others = liveLists();
    GLUquadric* q = gluNewQuadric();
    GLUquadric* other = gluNewQuadric();
    // The same sphere twice is one list; each differing part of the key makes a sphere of its own.
    const std::tuple<GLUquadric*, double, int, int> keys[] = {{q, 10, 8, 8}, {q, 10, 8, 8}, {other, 10, 8, 8},
                                                              {q, 11, 8, 8}, {q, 10, 9, 8}, {q, 10, 8, 9}};
    for (auto [quadric, radius, slices, stacks] : keys)
        drawSphere(quadric, radius, slices, stacks);
    EXPECT_EQ(cachedSphereCount(), 5);
    EXPECT_EQ(liveLists(), others + 5);

    // A planet shrinking through many radii: the table stays full, and what leaves it is deleted.
    for (int r = 0; r < 100; ++r) {
        drawSphere(q, 20 + r, 8, 8);
        drawSphere(q, 10, 8, 8); // kept in use, so never the least recent
    }
    EXPECT_EQ(cachedSphereCount(), SphereCacheCapacity);
    EXPECT_EQ(liveLists(), others + SphereCacheCapacity);

    setSphereCaching(false);
    EXPECT_EQ(cachedSphereCount(), 0);
    EXPECT_EQ(liveLists(), others);
    drawSphere(q, 10, 8, 8); // straight from GLU
    EXPECT_EQ(liveLists(), others);
    setSphereCaching(true);
    gluDeleteQuadric(q);
    gluDeleteQuadric(other);
}

// What the player sees: the camera and its lens, the sky and every sphere, the overlay's globes and text,
// the title and the frame pacing.
#include <gtest/gtest.h>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "app/FrameLoop.h"
#include "data/Globals.h"
#include "render/TextRenderer.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "support/Near.h"
#include "support/Stdout.h"
#include "support/TempDir.h"

using namespace testing_support;
using Rendering = GameTest;
using TitleScreen = GLTest;

namespace {

// The overlay alone, over a plain grey: what the scene would add is kept out of the pixels read.
void drawHudOver(World& w, int grey) {
    glClearColor(grey / 255.0f, grey / 255.0f, grey / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    w.drawHud();
}

} // namespace

// The camera sits 3 right, 30 up and 120 behind ship 0 in the ship's own axes, and sees through
// gluPerspective(60, 4/3, 0.1, 30000); the view is multiplied onto that projection.
TEST_F(Rendering, TheCameraLooksThroughASixtyDegreeLensFromBehindAndAboveShipZero) {
    Ship& ship = ShipTable[0];
    ship.frame = Frame(Vector3(100, -200, 300));
    world().placeCamera();
    GLdouble placed[16], expected[16];
    glGetDoublev(GL_PROJECTION_MATRIX, placed);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 4.0 / 3, 0.1, 30000);
    glTranslated(-103, 170, -420); // the eye to the origin
    glGetDoublev(GL_PROJECTION_MATRIX, expected);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(placed[i], expected[i], 1e-6 * std::max(1.0, std::fabs(expected[i]))) << "element " << i;

    ship.faceDirection(Vector3(1, 2, -3));
    world().placeCamera();
    Frame camera = ship.frame;
    camera.multiply(Frame(Vector3(3, 30, 120)));
    EXPECT_TRUE(near(cameraFrame, camera, 1e-2f));
}

// The sky, the planet and its shell, and the four gauge globes are each a sphere of 64 slices and 64
// stacks. The sky's is 5000 round ship 0, its picture repeated four times each way, and hides nothing.
TEST_F(Rendering, EverySphereHasSixtyFourSlicesAndStacksAndTheSkyIsFiveThousandRoundShipZero) {
    World& w = world();
    w.placeCamera();
    glLoadIdentity();
    w.drawStars();
    GLfloat depth = 0;
    glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1) << "the depth buffer is cleared after the sky";
    flatProjection(20);
    glDisable(GL_CULL_FACE);
    const size_t sphere =
        feedbackTriangles([&] { gluSphere(w.quadric, 100, 64, 64); }).size(); // as the sky left it: textured

    ShipTable[0].frame = Frame(Vector3(1000, 500, 0));
    const auto sky = feedbackTriangles([&] { w.drawStars(); });
    EXPECT_EQ(sky.size(), sphere);
    float left = 1e9, right = -1e9, s = 0, t = 0;
    for (const auto& polygon : sky)
        for (const FeedbackVertex& v : polygon)
            left = std::min(left, v.x), right = std::max(right, v.x), s = std::max(s, v.s),
            t = std::max(t, v.t);
    EXPECT_NEAR(left, 400 + (1000 - 5000) / 20, 1); // 20 units a pixel
    EXPECT_NEAR(right, 400 + (1000 + 5000) / 20, 1);
    EXPECT_TRUE(s == 4 && t == 4) << s << " " << t;

    glDisable(GL_CULL_FACE); // the sky leaves culling on
    Planet& home = w.planets[0];
    EXPECT_EQ(feedbackTriangles([&] { home.draw(), home.drawTranslucent(); }).size(), 2 * sphere);
    size_t gauges = 0; // the score's quad is in the top half
    for (const auto& polygon : feedbackTriangles([&] { w.drawHud(); }))
        gauges += polygon[0].y < 300;
    EXPECT_EQ(gauges, 4 * sphere);
}

// "Score: %d" in 18 points with its quad's bottom-left corner at (30, 539), its rendered size kept. The
// countdown, in 70 points, stands at (676, -30); each whole-seconds digit beyond the first, from 10 s on,
// moves it 40 left. It shows truncated tenths, and nothing at all once the timer is down to 0.
TEST_F(Rendering, ScoreAndCountdownReadAsTextAtTheirPlaces) {
    World& w = world();
    ShipTable[0].score = 1230;
    drawHudOver(w, 40);
    EXPECT_EQ(textMismatch("Score: 1230", 18, 30, 539, 40), 0);
    int width = 0, height = 0;
    TTF_SizeText(w.font.smallFont, "Score: 1230", &width, &height);
    const SDL_Rect& at = scorePosition;
    EXPECT_EQ(std::tuple(int(at.x), int(at.y), int(at.w), int(at.h)), std::tuple(30, 539, width, height));

    ShipTable[0].explode();
    const std::tuple<float, const char*, int> rows[] = {
        {2.97f, "2.9", 676}, {0.05f, "0.0", 676}, {10.04f, "10.0", 636}, {123.4f, "123.4", 596}};
    for (const auto& [timer, text, x] : rows) {
        ShipTable[0].respawnTimer = timer;
        drawHudOver(w, 40);
        EXPECT_EQ(textMismatch(text, 70, x, -30, 40), 0) << timer;
    }
    ShipTable[0].respawnTimer = 0;
    drawHudOver(w, 0);
    EXPECT_EQ(litPixels(560, 0, 706, 120).count, 0) << "a countdown at 0";
}

// The planet's gauge at (61, 61), the ship's at (738, 61): shells of radius 30 whatever the health.
TEST_F(Rendering, GaugesSitInTheBottomCornersWhileTheirOwnersLive) {
    World& w = world();
    Ship& ship = ShipTable[0];
    auto gaugeAt = [](int x) { return litPixels(x - 40, 21, x + 40, 101); }; // centred at (x, 61)
    w.planets[0].health = 75;
    ship.health = 10;
    drawHudOver(w, 0);
    for (int x : {61, 738}) {
        const LitPixels g = gaugeAt(x);
        EXPECT_TRUE(std::abs(g.y - 61) <= 1 && g.left == x - 30 && g.right == x + 29)
            << x << ": centre " << g.x << ", " << g.y << ", across " << g.left << " to " << g.right;
    }
    ship.explode();
    ship.respawnTimer = 0; // its countdown would stand over the gauge's corner
    w.planets[0].alive = false;
    drawHudOver(w, 0);
    EXPECT_EQ(gaugeAt(61).count + gaugeAt(738).count, 0);
    ship.respawnTimer = 1;
    for (int i = 0; i < 31; ++i)
        ship.update();
    drawHudOver(w, 0);
    EXPECT_GT(gaugeAt(738).count, 2600) << "back at respawn";
}

TEST_F(TitleScreen, WithoutItsImageDrawsNothing) {
    TempDir empty(TempDir::Inside);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST); // as at start-up, when the title is shown
    stdoutOf(showTitleScreen);
    const LitPixels blue = litPixels(0, 0, 800, 600);
    EXPECT_TRUE(blue.count == 800 * 600 && blue.red + blue.green == 0) << "the picture changed";
}

TEST(TextQuad, IsTheSmallestPowerOfTwoRoundTheText) {
    for (auto [n, p] : {std::pair{1, 1}, std::pair{3, 4}, std::pair{64, 64}, std::pair{65, 128}})
        EXPECT_EQ(nextPowerOfTwo(n), p) << n;
}

// A frame is 33 ms: the loop sleeps what is left of it.
TEST(FrameLoop, SleepsTheRestOfTheFrameAcrossATickWrap) {
    EXPECT_EQ(frameDelay(1000, 1032), 1);
    EXPECT_EQ(frameDelay(1000, 1033), 0);
    EXPECT_EQ(frameDelay(0xFFFFFFF0u, 5), 12); // 21 ms across the wrap
}

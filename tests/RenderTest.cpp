// What the player sees: the opening frame, the overlay's globes and text, textures and the frame pacing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include "app/FrameLoop.h"
#include "data/Constants.h"
#include "data/Globals.h"
#include "render/TextRenderer.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/GameFixture.h"

using testing_support::countLitPixels;
using testing_support::textMismatch;
using Rendering = testing_support::GameTest;

namespace {

// The overlay alone, over a plain grey: what the scene would add is kept out of the pixels read.
void drawHudOver(World& w, int grey) {
    glClearColor(grey / 255.0f, grey / 255.0f, grey / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    w.drawHud();
}

// Lit pixels within 40 of a gauge's centre.
testing_support::LitPixels gaugeAt(Vector3 centre) {
    const int cx = int(centre.x), cy = int(centre.y);
    return testing_support::litPixels(cx - 40, cy - 40, cx + 40, cy + 40);
}

} // namespace

TEST_F(Rendering, OpeningFrameShowsTheHomePlanetAhead) {
    world().render();
    // Planet 0 sits straight ahead of ship 0, a little below the eye.
    EXPECT_GT(countLitPixels(350, 200, 450, 300), 5000);
}

TEST_F(Rendering, ScoreReadsAsTextAtTheTopLeftAndLeavesItsSize) {
    ShipTable[0].score = 1230;
    drawHudOver(world(), 40);
    EXPECT_EQ(textMismatch("Score: 1230", ScorePoints, ScoreX, ScoreY, 40), 0);
    int w = 0, h = 0;
    testing_support::textSize("Score: 1230", ScorePoints, w, h);
    EXPECT_EQ(scorePosition.w, w);
    EXPECT_EQ(scorePosition.h, h);

    // Its quad, the only thing drawn in the top half, is the text rounded up to powers of two each way.
    float left = ScreenWidth, right = 0, bottom = ScreenHeight, top = 0;
    for (const auto& polygon : testing_support::feedbackTriangles([&] { world().drawHud(); }))
        for (const testing_support::FeedbackVertex& v : polygon)
            if (v.y > ScreenHeight / 2)
                left = std::min(left, v.x), right = std::max(right, v.x), bottom = std::min(bottom, v.y),
                top = std::max(top, v.y);
    EXPECT_NEAR(left, ScoreX, 1e-3);
    EXPECT_NEAR(bottom, ScoreY, 1e-3);
    EXPECT_NEAR(right - left, nextPowerOfTwo(w), 1e-3); // which TextQuad checks on its own
    EXPECT_NEAR(top - bottom, nextPowerOfTwo(h), 1e-3);
}

// The countdown stands at the bottom right; each whole-seconds digit beyond the first moves it 40 left.
TEST_F(Rendering, CountdownShowsTruncatedTenthsOnlyWhileShipZeroWaits) {
    World& w = world();
    drawHudOver(w, 0);
    EXPECT_EQ(countLitPixels(560, 0, 706, 120), 0) << "a countdown while ship 0 is alive";
    ShipTable[0].explode();
    // The timer, the text, and how many digit widths left of its place it starts.
    const std::tuple<float, const char*, int> rows[] = {
        {2.97f, "2.9", 0}, {0.05f, "0.0", 0}, {12.59f, "12.5", 1}, {123.4f, "123.4", 2}};
    for (const auto& [timer, text, shift] : rows) {
        ShipTable[0].respawnTimer = timer;
        drawHudOver(w, 40);
        const int x = CountdownX - shift * CountdownDigitWidth;
        EXPECT_EQ(textMismatch(text, CountdownPoints, x, CountdownY, 40), 0) << timer;
    }
}

TEST_F(Rendering, GaugesSitInTheBottomCornersWhileTheirOwnersLive) {
    World& w = world();
    Ship& ship = ShipTable[0];
    Planet& home = w.planets[0];
    // The shells show the full size whatever the health: the solid globes here are half and two fifths.
    home.health = 75;
    ship.health = 10;
    drawHudOver(w, 0);
    for (Vector3 centre : {PlanetGaugeCentre, ShipGaugeCentre}) {
        const testing_support::LitPixels g = gaugeAt(centre);
        EXPECT_GT(g.count, 2600) << centre.x;
        EXPECT_NEAR(g.x, centre.x, 1) << centre.x;
        EXPECT_NEAR(g.y, centre.y, 1) << centre.x;
    }
    ship.explode();
    ship.respawnTimer = 0; // its countdown would stand over the gauge's corner
    home.alive = false;
    drawHudOver(w, 0);
    EXPECT_EQ(gaugeAt(PlanetGaugeCentre).count, 0);
    EXPECT_EQ(gaugeAt(ShipGaugeCentre).count, 0);
    ship.respawnTimer = 1;
    for (int i = 0; i < 31; ++i)
        ship.update();
    drawHudOver(w, 0);
    EXPECT_GT(gaugeAt(ShipGaugeCentre).count, 2600) << "back at respawn";
}

TEST_F(Rendering, TheCameraRidesBehindAndAboveShipZeroInItsOwnAxes) {
    World& w = world();
    Ship& ship = ShipTable[0];
    ship.faceDirection(Vector3(1, 2, -3));
    w.placeCamera();
    Vector3 eye = ship.frame.origin;
    eye.addScaled(ship.frame.xAxis, CameraOffset.x);
    eye.addScaled(ship.frame.yAxis, CameraOffset.y);
    eye.addScaled(ship.frame.zAxis, CameraOffset.z);
    Vector3 off = cameraFrame.origin;
    off.subtract(eye);
    EXPECT_LT(off.length(), 1e-2f);
    EXPECT_GT(cameraFrame.zAxis.dot(ship.frame.zAxis), 0.99999f); // looking the way the ship looks
    EXPECT_GT(cameraFrame.yAxis.dot(ship.frame.yAxis), 0.99999f);
}

// The star sphere is 5000 about ship 0, planet 1 about 8900 away straight ahead.
TEST_F(Rendering, TheSkyNeverHidesAFarPlanet) {
    World& w = world();
    Vector3 ahead = w.planets[1].position;
    ahead.subtract(ShipTable[0].frame.origin);
    ShipTable[0].faceDirection(ahead);
    w.render();
    EXPECT_GT(countLitPixels(385, 285, 415, 315), 800);
}

TEST(TitleScreen, WithoutItsImageDrawsNothing) {
    ASSERT_TRUE(testing_support::openGLWindow());
    char here[4096], dir[] = "/tmp/gravimel-title-XXXXXX";
    ASSERT_TRUE(getcwd(here, sizeof here) && mkdtemp(dir));
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glDisable(GL_DEPTH_TEST); // as at start-up, when the title is shown
    ASSERT_EQ(chdir(dir), 0);
    testing::internal::CaptureStdout();
    showTitleScreen();
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(here), 0);
    glEnable(GL_DEPTH_TEST);
    EXPECT_EQ(out.rfind("Error: could not load images/titlescreen.jpg. Reason: ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    for (auto [x, y] : {std::pair{0, 0}, std::pair{400, 300}, std::pair{799, 599}}) {
        const testing_support::Pixel p = testing_support::readPixel(x, y);
        EXPECT_TRUE(p.r == 0 && p.g == 0 && p.b == 255) << x << "," << y;
    }
    rmdir(dir);
}

TEST(TextQuad, IsTheSmallestPowerOfTwoRoundTheText) {
    for (auto [n, p] : {std::pair{1, 1}, std::pair{3, 4}, std::pair{64, 64}, std::pair{65, 128}})
        EXPECT_EQ(nextPowerOfTwo(n), p) << n;
}

TEST(FrameLoop, SleepsTheRestOfTheFrameAcrossATickWrap) {
    EXPECT_EQ(frameDelay(1000, 1032), 1);
    EXPECT_EQ(frameDelay(1000, 1033), 0);
    EXPECT_EQ(frameDelay(0xFFFFFFF0u, 5), 12); // 21 ms across the wrap
}

TEST(TextureLoading, EveryPixelLayoutKeepsItsColours) {
    ASSERT_TRUE(testing_support::openGLWindow());
    const std::string dir = testing::TempDir();
    const std::vector<unsigned char> grey(16 * 16, 200);
    ASSERT_TRUE(stbi_write_jpg((dir + "grey.jpg").c_str(), 16, 16, 1, grey.data(), 95));
    std::vector<unsigned char> orange(16 * 16 * 3);
    for (size_t i = 0; i < orange.size(); i += 3)
        orange[i] = 230, orange[i + 1] = 120, orange[i + 2] = 20;
    ASSERT_TRUE(stbi_write_jpg((dir + "orange.jpg").c_str(), 16, 16, 3, orange.data(), 95));
    // A colour-mapped TGA: two palette entries (blue, red as B, G, R), every pixel index 1.
    std::ofstream(dir + "paletted.tga", std::ios::binary)
        << testing_support::tgaHeader(1, 4, 4, 8, 0, 2) << std::string("\xFF\0\0\0\0\xFF", 6)
        << std::string(16, '\1');

    struct Case {
        std::string file;
        TextureKind kind;
        int width, rgba[4];
    } cases[] = {{"grey.jpg", Jpeg, 16, {200, 200, 200, 255}},
                 {"orange.jpg", Jpeg, 16, {230, 120, 20, 255}},
                 {"paletted.tga", TgaWithAlpha, 4, {255, 0, 0, 255}}};
    for (const Case& c : cases) {
        GLuint name = 0;
        glGenTextures(1, &name);
        testing::internal::CaptureStdout();
        loadTexture((dir + c.file).c_str(), c.kind, name);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.file;
        glBindTexture(GL_TEXTURE_2D, name);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        ASSERT_TRUE(width == c.width && height == c.width) << c.file << ": " << width << "x" << height;
        std::vector<unsigned char> texels(width * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (int i = 0; i < 4; ++i) // the centre texel
            EXPECT_NEAR(texels[((height / 2) * width + width / 2) * 4 + i], c.rgba[i], 6)
                << c.file << " " << i;
    }
}

TEST(TextureLoading, ASharedTextureIsReadOnceEvenWhenItsFileFails) {
    ASSERT_TRUE(testing_support::openGLWindow());
    GLuint name = 0;
    testing::internal::CaptureStdout();
    loadSharedTexture(name, "images/no-such-picture.jpg", Jpeg);
    const GLuint first = name;
    loadSharedTexture(name, "images/no-such-picture.jpg", Jpeg);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(name, first);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

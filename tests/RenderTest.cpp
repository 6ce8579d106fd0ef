// What the player sees: the opening frame, the overlay's globes and text, textures and the frame pacing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include "app/FrameLoop.h"
#include "render/TextRenderer.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/GameFixture.h"

using testing_support::countLitPixels;
using Rendering = testing_support::GameTest;

TEST_F(Rendering, OpeningFrameShowsHomePlanetGlobesAndScoreAndADeadShipItsCountdown) {
    World& w = world();
    w.render();
    if (const char* dir = getenv("GRAVIMEL_TEST_SCREENSHOTS"))
        testing_support::savePng(std::string(dir) + "/opening.png");
    // Planet 0 sits straight ahead of ship 0, a little below the eye.
    EXPECT_GT(countLitPixels(350, 200, 450, 300), 5000);
    // Planet's globe bottom left, ship's bottom right, each about 60 pixels across.
    EXPECT_GT(countLitPixels(41, 41, 81, 81), 1200);
    EXPECT_GT(countLitPixels(718, 41, 758, 81), 1200);
    // Nothing of a countdown while ship 0 is alive (its first digit would stand left of the globe).
    EXPECT_LT(countLitPixels(676, 20, 704, 90, 200), 10);

    // The score's rendered size is written back, and its text stands upright in the upper-left part
    // of its power-of-two quad at the top left.
    glClear(GL_COLOR_BUFFER_BIT);
    w.drawHud();
    ASSERT_TRUE(scorePosition.w > 40 && scorePosition.h > 12) << scorePosition.w << "x" << scorePosition.h;
    const int h = nextPowerOfTwo(scorePosition.h), right = 30 + nextPowerOfTwo(scorePosition.w);
    EXPECT_GT(countLitPixels(30, 539 + h - scorePosition.h, 30 + scorePosition.w, 539 + h, 100), 30);
    EXPECT_EQ(countLitPixels(30 + scorePosition.w + 2, 539, right, 539 + h, 100), 0);

    // A dead ship's countdown: "2.9" at the bottom right; the two digits of "12.5" stand 40 further left.
    ShipTable[0].explode();
    for (auto [timer, x0, x1] : {std::tuple{2.97f, 676, 704}, std::tuple{12.59f, 636, 676}}) {
        ShipTable[0].respawnTimer = timer;
        glClear(GL_COLOR_BUFFER_BIT);
        w.drawHud();
        EXPECT_GT(countLitPixels(x0, 20, x1, 90, 200), 100) << timer;
    }
}

TEST(TextLayout, TexturesAreTheSmallestPowerOfTwoAndCountdownsMoveLeftPerDigit) {
    const int sizes[][2] = {{1, 1}, {3, 4}, {64, 64}, {65, 128}, {128, 128}, {513, 1024}};
    for (const auto& s : sizes)
        EXPECT_EQ(nextPowerOfTwo(s[0]), s[1]) << s[0];
    const int countdowns[][2] = {{0, 676}, {9, 676}, {12, 636}, {123, 596}};
    for (const auto& c : countdowns)
        EXPECT_EQ(countdownX(c[0]), c[1]) << c[0];
}

TEST(FrameLoop, SleepsTheRestOfTheFrameAcrossATickWrap) {
    EXPECT_EQ(frameDelay(1000, 1010), 23);
    EXPECT_EQ(frameDelay(1000, 1032), 1);
    EXPECT_EQ(frameDelay(1000, 1033), 0);
    EXPECT_EQ(frameDelay(0xFFFFFFF0u, 5), 12); // 21 ms across the wrap
}

namespace {

// The colour of the texel at the centre of a loaded texture's first level, and its width.
std::vector<unsigned char> centreTexel(GLuint name, GLint& width) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> texels(width * height * 4 + 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    size_t at = ((height / 2) * width + width / 2) * 4;
    return {texels[at], texels[at + 1], texels[at + 2], texels[at + 3]};
}

} // namespace

// Damaged files are BadImages' work; here a missing one, and a shared texture that failed is not tried again.
TEST(TextureLoading, AMissingFileIsReportedOnceAndLeavesTheTextureEmpty) {
    ASSERT_TRUE(testing_support::openGLWindow());
    GLuint shared = 0;
    testing::internal::CaptureStdout();
    loadSharedTexture(shared, "images/no-such-file.jpg", Jpeg);
    loadSharedTexture(shared, "images/no-such-file.jpg", Jpeg);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Error: could not load images/no-such-file.jpg. Reason: ", 0), 0u) << out;
    EXPECT_EQ(out.find(". Ignoring...\n"), out.size() - 14) << "one line, once: " << out;
    GLint width = -1;
    centreTexel(shared, width);
    EXPECT_NE(shared, 0u);
    EXPECT_EQ(width, 0);
}

TEST(TextureLoading, OtherPixelLayoutsAreConvertedNotReadPastTheirEnd) {
    ASSERT_TRUE(testing_support::openGLWindow());
    const std::string dir = testing::TempDir();
    const std::vector<unsigned char> grey(16 * 16, 200);
    ASSERT_TRUE(stbi_write_jpg((dir + "grey.jpg").c_str(), 16, 16, 1, grey.data(), 95));
    // A colour-mapped TGA by hand: two palette entries (blue, red as B, G, R), every pixel index 1.
    unsigned char paletted[18 + 6 + 16] = {0, 1, 1, 0, 0, 2, 0,   24, 0, 0, 0, 0,
                                           4, 0, 4, 0, 8, 0, 255, 0,  0, 0, 0, 255};
    for (int i = 0; i < 16; ++i)
        paletted[24 + i] = 1;
    FILE* f = fopen((dir + "paletted.tga").c_str(), "wb");
    fwrite(paletted, 1, sizeof paletted, f);
    fclose(f);

    struct Case {
        std::string file;
        TextureKind kind;
        int width, r, g, b;
    } cases[] = {{"grey.jpg", Jpeg, 16, 200, 200, 200}, {"paletted.tga", TgaWithAlpha, 4, 255, 0, 0}};
    for (const Case& c : cases) {
        GLuint name = 0;
        glGenTextures(1, &name);
        testing::internal::CaptureStdout();
        loadTexture((dir + c.file).c_str(), c.kind, name);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.file;
        GLint width = 0;
        const std::vector<unsigned char> texel = centreTexel(name, width);
        EXPECT_EQ(width, c.width) << c.file;
        EXPECT_NEAR(texel[0], c.r, 6) << c.file;
        EXPECT_NEAR(texel[1], c.g, 6) << c.file;
        EXPECT_NEAR(texel[2], c.b, 6) << c.file;
        if (c.kind == TgaWithAlpha) {
            EXPECT_EQ(texel[3], 255) << c.file;
        }
    }
}

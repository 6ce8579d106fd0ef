// What the player sees: the opening frame, the overlay's globes and text, and the frame loop's pacing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
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

using testing_support::GameTest;
using testing_support::countLitPixels;
using testing_support::readPixel;

using Rendering = GameTest;

TEST_F(Rendering, OpeningFrameShowsHomePlanetAheadBothGlobesAndTheScore) {
    World& w = world();
    w.render();
    if (const char* dir = getenv("GRAVIMEL_TEST_SCREENSHOTS")) testing_support::savePng(std::string(dir) + "/opening.png");
    // Planet 0 sits straight ahead of ship 0, a little below the eye.
    EXPECT_GT(countLitPixels(350, 200, 450, 300), 5000);
    // Planet's globe bottom left, ship's bottom right, each about 60 pixels across.
    EXPECT_GT(countLitPixels(41, 41, 81, 81), 1200);
    EXPECT_GT(countLitPixels(718, 41, 758, 81), 1200);
    // The score line at the top left.
    EXPECT_GT(countLitPixels(30, 539, 110, 560, 200), 40);
    EXPECT_GT(scorePosition.w, 40);
    EXPECT_GT(scorePosition.h, 10);
    // Nothing of a countdown while ship 0 is alive (its first digit would stand left of the globe).
    EXPECT_LT(countLitPixels(676, 20, 704, 90, 200), 10);
}

TEST_F(Rendering, DeadShipShowsTheRespawnCountdownAtTheBottomRight) {
    World& w = world();
    ShipTable[0].explode();
    ShipTable[0].respawnTimer = 2.97f;
    w.render();
    if (const char* dir = getenv("GRAVIMEL_TEST_SCREENSHOTS")) testing_support::savePng(std::string(dir) + "/dead.png");
    EXPECT_GT(countLitPixels(676, 20, 704, 90, 200), 100); // the "2" of "2.9"
}

TEST(TextLayout, TexturesAreTheSmallestPowerOfTwoAndCountdownsMoveLeftPerDigit) {
    const int sizes[][2] = {{1, 1}, {2, 2}, {3, 4}, {64, 64}, {65, 128}, {127, 128}, {128, 128}, {513, 1024}};
    for (const auto& s : sizes) EXPECT_EQ(nextPowerOfTwo(s[0]), s[1]) << s[0];
    EXPECT_EQ(countdownX(0), 676);
    EXPECT_EQ(countdownX(9), 676);
    EXPECT_EQ(countdownX(12), 636);
    EXPECT_EQ(countdownX(123), 596);
}

// Damaged files are BadImages' work; here a missing one, and a shared texture that failed is not tried again.
TEST(TextureLoading, MissingFilesAreReportedAndLeaveTheNameEmpty) {
    ASSERT_TRUE(testing_support::openGLWindow());
    GLuint name = 0;
    glGenTextures(1, &name);
    testing::internal::CaptureStdout();
    loadTexture("images/no-such-file.jpg", Jpeg, name);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Error: could not load images/no-such-file.jpg. Reason: ", 0), 0u) << out;
    EXPECT_NE(out.find(". Ignoring...\n"), std::string::npos);
    GLint width = -1;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);
    GLuint shared = 0;
    testing::internal::CaptureStdout();
    loadSharedTexture(shared, "images/no-such-file.tga", TgaWithAlpha);
    loadSharedTexture(shared, "images/no-such-file.tga", TgaWithAlpha);
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(shared, 0u);
    EXPECT_EQ(out.find("Error"), out.rfind("Error"));
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

TEST(TextureLoading, OtherPixelLayoutsAreConvertedNotReadPastTheirEnd) {
    ASSERT_TRUE(testing_support::openGLWindow());
    const std::string dir = testing::TempDir();
    std::vector<unsigned char> grey(16 * 16, 200), rgb(16 * 16 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 255, rgb[i + 1] = 0, rgb[i + 2] = 0;
    ASSERT_TRUE(stbi_write_jpg((dir + "grey.jpg").c_str(), 16, 16, 1, grey.data(), 95));
    ASSERT_TRUE(stbi_write_tga((dir + "rgb.tga").c_str(), 16, 16, 3, rgb.data()));
    // A colour-mapped TGA by hand: two palette entries (blue, red as B, G, R), every pixel index 1.
    unsigned char paletted[18 + 6 + 16] = {0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0, 4, 0, 4, 0, 8, 0,
                                           255, 0, 0, 0, 0, 255};
    for (int i = 0; i < 16; ++i) paletted[24 + i] = 1;
    FILE* f = fopen((dir + "paletted.tga").c_str(), "wb");
    fwrite(paletted, 1, sizeof paletted, f);
    fclose(f);

    struct Case {
        std::string file;
        TextureKind kind;
        int width, r, g, b;
    } cases[] = {{"grey.jpg", Jpeg, 16, 200, 200, 200}, {"rgb.tga", TgaWithAlpha, 16, 255, 0, 0},
                 {"paletted.tga", TgaWithAlpha, 4, 255, 0, 0}};
    for (const Case& c : cases) {
        GLuint name = 0;
        glGenTextures(1, &name);
        testing::internal::CaptureStdout();
        loadTexture((dir + c.file).c_str(), c.kind, name);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.file;
        GLint width = 0;
        std::vector<unsigned char> texel = centreTexel(name, width);
        EXPECT_EQ(width, c.width) << c.file;
        EXPECT_NEAR(texel[0], c.r, 6) << c.file;
        EXPECT_NEAR(texel[1], c.g, 6) << c.file;
        EXPECT_NEAR(texel[2], c.b, 6) << c.file;
        if (c.kind == TgaWithAlpha) {
            EXPECT_EQ(texel[3], 255) << c.file;
        }
    }
}

TEST(HudText, WithoutTheFontBothSizesAreReportedAndNothingIsDrawn) {
    ASSERT_TRUE(testing_support::openGLWindow());
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    std::string empty = testing::TempDir() + "gravimel-nofont-XXXXXX";
    ASSERT_NE(mkdtemp(&empty[0]), nullptr);
    ASSERT_EQ(chdir(empty.c_str()), 0); // no fonts/ folder there
    testing::internal::CaptureStdout();
    TextRenderer font;
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(here), 0);
    rmdir(empty.c_str());
    const std::string loading = "Loading font fonts/arial.ttf...\n";
    const std::string failed = "Unable to load font from fonts/arial.ttf: ";
    EXPECT_EQ(out.rfind("Initializing font engine...\n" + loading + failed, 0), 0u) << out;
    size_t second = out.find(loading, out.find(failed));
    ASSERT_NE(second, std::string::npos) << out;
    EXPECT_NE(out.find(failed, second), std::string::npos) << out;
    EXPECT_EQ(font.largeFont, nullptr);
    EXPECT_EQ(font.smallFont, nullptr);

    glClear(GL_COLOR_BUFFER_BIT);
    SDL_Rect where = {30, 539, 0, 0};
    font.renderText("Score: 0", font.smallFont, textColour, where);
    EXPECT_EQ(countLitPixels(0, 0, 800, 600), 0);
    EXPECT_EQ(where.w, 0);
}

TEST_F(Rendering, ScoreAndCountdownTextSitWhereTheOverlayPutsThem) {
    World& w = world();
    glClear(GL_COLOR_BUFFER_BIT);
    w.drawHud();
    // The rendered size is written back, and the text stands upright in the quad's upper-left part.
    EXPECT_GT(scorePosition.w, 40);
    EXPECT_GT(scorePosition.h, 12);
    int h = nextPowerOfTwo(scorePosition.h);
    EXPECT_GT(countLitPixels(30, 539 + h - scorePosition.h, 30 + scorePosition.w, 539 + h, 100), 30);
    EXPECT_EQ(countLitPixels(30 + scorePosition.w + 2, 539, 30 + nextPowerOfTwo(scorePosition.w), 539 + h, 100), 0);

    // 12.5 seconds: two digits move the countdown 40 to the left, and tenths are truncated.
    ShipTable[0].explode();
    ShipTable[0].respawnTimer = 12.59f;
    glClear(GL_COLOR_BUFFER_BIT);
    w.drawHud();
    EXPECT_GT(countLitPixels(636, 0, 676, 100, 100), 100);
}

TEST(FrameLoop, SleepsTheRestOfTheFrameAcrossATickWrap) {
    EXPECT_EQ(frameDelay(1000, 1010), 23);
    EXPECT_EQ(frameDelay(1000, 1033), 0);
    EXPECT_EQ(frameDelay(1000, 1032), 1);
    EXPECT_EQ(frameDelay(1000, 1100), 0);
    EXPECT_EQ(frameDelay(0xFFFFFFF0u, 5), 12); // 21 ms across the wrap
}

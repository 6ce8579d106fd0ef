// What the player sees: the opening frame, the overlay's globes and text, textures and the frame pacing.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
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

TEST_F(Rendering, OpeningFrameShowsHomePlanetGlobesAndScoreInAPowerOfTwoQuadAndADeadShipItsCountdown) {
    World& w = world();
    w.render();
    // Planet 0 sits straight ahead of ship 0, a little below the eye.
    EXPECT_GT(countLitPixels(350, 200, 450, 300), 5000);
    // Planet's globe bottom left, ship's bottom right, each about 60 pixels across.
    EXPECT_GT(countLitPixels(41, 41, 81, 81), 1200);
    EXPECT_GT(countLitPixels(718, 41, 758, 81), 1200);
    // Nothing of a countdown while ship 0 is alive (its first digit would stand left of the globe).
    EXPECT_LT(countLitPixels(676, 20, 704, 90, 200), 10);

    // The score's rendered size is written back, and its text stands upright in the upper-left part
    // of its quad at the top left, the smallest power of two round it.
    for (auto [n, p] : {std::pair{1, 1}, std::pair{3, 4}, std::pair{64, 64}, std::pair{65, 128}})
        EXPECT_EQ(nextPowerOfTwo(n), p) << n;
    glClear(GL_COLOR_BUFFER_BIT);
    w.drawHud();
    ASSERT_TRUE(scorePosition.w > 40 && scorePosition.h > 12) << scorePosition.w << "x" << scorePosition.h;
    const int h = nextPowerOfTwo(scorePosition.h), right = 30 + nextPowerOfTwo(scorePosition.w);
    EXPECT_GT(countLitPixels(30, 539 + h - scorePosition.h, 30 + scorePosition.w, 539 + h, 100), 30);
    EXPECT_EQ(countLitPixels(30 + scorePosition.w + 2, 539, right, 539 + h, 100), 0);

    // A dead ship's countdown, "2.9" at the bottom right: each further whole-seconds digit moves it 40 left.
    ShipTable[0].explode();
    for (auto [timer, x0, x1] :
         {std::tuple{2.97f, 676, 704}, std::tuple{12.59f, 636, 676}, std::tuple{123.4f, 596, 636}}) {
        ShipTable[0].respawnTimer = timer;
        glClear(GL_COLOR_BUFFER_BIT);
        w.drawHud();
        EXPECT_GT(countLitPixels(x0, 20, x1, 90, 200), 100) << timer;
    }
}

TEST(FrameLoop, SleepsTheRestOfTheFrameAcrossATickWrap) {
    EXPECT_EQ(frameDelay(1000, 1032), 1);
    EXPECT_EQ(frameDelay(1000, 1033), 0);
    EXPECT_EQ(frameDelay(0xFFFFFFF0u, 5), 12); // 21 ms across the wrap
}

TEST(TextureLoading, OtherPixelLayoutsAreConvertedNotReadPastTheirEnd) {
    ASSERT_TRUE(testing_support::openGLWindow());
    const std::string dir = testing::TempDir();
    const std::vector<unsigned char> grey(16 * 16, 200);
    ASSERT_TRUE(stbi_write_jpg((dir + "grey.jpg").c_str(), 16, 16, 1, grey.data(), 95));
    // A colour-mapped TGA by hand: two palette entries (blue, red as B, G, R), every pixel index 1.
    unsigned char paletted[18 + 6 + 16] = {0, 1, 1, 0, 0, 2, 0,   24, 0, 0, 0, 0,
                                           4, 0, 4, 0, 8, 0, 255, 0,  0, 0, 0, 255};
    std::fill(paletted + 24, paletted + sizeof paletted, 1);
    std::ofstream(dir + "paletted.tga", std::ios::binary)
        .write(reinterpret_cast<char*>(paletted), sizeof paletted);

    struct Case {
        std::string file;
        TextureKind kind;
        int width, rgba[4];
    } cases[] = {{"grey.jpg", Jpeg, 16, {200, 200, 200, 255}},
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

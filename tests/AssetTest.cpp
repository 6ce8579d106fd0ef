// The generated pictures and font, loaded from the build folder the way the game loads them.
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>

#include "support/TempDir.h"

namespace {

using testing_support::readFile;
using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

const Uint8* pixel(const SDL_Surface* s, int x, int y) {
    return static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

int exitStatus(const std::string& command) {
    int status = std::system((command + " > /dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// The generator checks its own art as it paints it (seams, poles, sprites); here, what the files hold.
TEST(Assets, PicturesHaveTheirSizesAndTheMapsLookApart) {
    // The warmer and cooler of red (0), green (1) and blue (2) in a map where one colour stands out:
    // they also show whether red and blue came out where the game expects them.
    const struct {
        const char* file;
        int width, height, warmer, cooler;
    } pictures[] = {{"titlescreen.jpg", 800, 600, 0, 0},       {"stars.jpg", 2048, 1024, 0, 0},
                    {"map-moon.jpg", 1024, 512, 0, 0},         {"map-earth.jpg", 1024, 512, 2, 0},
                    {"map-mercury.jpg", 1024, 512, 0, 0},      {"map-venus.jpg", 1024, 512, 0, 2},
                    {"map-mars.jpg", 1024, 512, 0, 2},         {"map-jupiter.jpg", 1024, 512, 0, 2},
                    {"map-saturn.jpg", 1024, 512, 0, 0},       {"map-uranus.jpg", 1024, 512, 2, 0},
                    {"map-neptune.jpg", 1024, 512, 2, 0},      {"smoketrail.tga", 64, 64, 0, 0},
                    {"particlealphanormal.tga", 64, 64, 0, 0}, {"particlealphacircle.tga", 64, 64, 0, 0}};
    std::vector<std::array<double, 3>> means;
    for (const auto& picture : pictures) {
        const std::string path = std::string("images/") + picture.file, name = picture.file;
        const bool tga = name.find(".tga") != std::string::npos;
        const Surface s(IMG_Load(path.c_str()), SDL_FreeSurface); // a TGA is told by its extension
        ASSERT_TRUE(s) << path << ": " << SDL_GetError();
        EXPECT_TRUE(s->w == picture.width && s->h == picture.height) << path;
        ASSERT_EQ(s->format->BytesPerPixel, tga ? 4 : 3) << path;
        EXPECT_TRUE(!tga || s->format->Amask == 0xff000000u) << path << ": 8 bits of alpha";
        std::array<double, 3>& mean = means.emplace_back();
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                for (int c = 0; c < 3; ++c)
                    mean[c] += pixel(s.get(), x, y)[c] / double(s->w * s->h);
        if (picture.warmer != picture.cooler) {
            EXPECT_GT(mean[picture.warmer], mean[picture.cooler] + 20) << path;
        }
    }
    EXPECT_TRUE(means[1][1] > 2 && means[1][1] < 40) << "a field of stars: mostly dark, not black nor a wash";
    for (size_t i = 3; i < 11; ++i) // the planets
        for (size_t j = i + 1; j < 11; ++j)
            EXPECT_GT(
                std::hypot(means[i][0] - means[j][0], means[i][1] - means[j][1], means[i][2] - means[j][2]),
                20)
                << pictures[i].file << " and " << pictures[j].file << " look alike";
}

TEST(Assets, GeneratorRepaintsTheSameBytesAndFailsLoudly) {
    const testing_support::TempDir folder;
    const std::string& out = folder.path();

    // Threads share the painting, so a race or an unset pixel would show up as a different file.
    ASSERT_EQ(exitStatus("./make_images " + out), 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator("images")) {
        std::string name = entry.path().filename().string();
        EXPECT_EQ(readFile(out + "/images/" + name), readFile("images/" + name))
            << name << " came out differently";
        ++compared;
    }
    EXPECT_EQ(compared, 14);

    const std::pair<std::string, int> cases[] = {
        {"", 2},                              // no output folder given
        {"/proc/no-such-folder", 1},          // cannot be created
        {out + "/bare /no/such/font/dir", 1}, // no title font anywhere: no title without its name
    };
    for (const auto& [arguments, status] : cases)
        EXPECT_EQ(exitStatus("./make_images " + arguments), status) << arguments;
}

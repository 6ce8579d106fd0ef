// The generated pictures and font, loaded from the build folder the way the game loads them.
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
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

Surface decode(const std::string& path, SDL_Surface* (*decoder)(SDL_RWops*)) {
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    SDL_Surface* s = file ? decoder(file) : nullptr;
    if (file) SDL_RWclose(file);
    return Surface(s, SDL_FreeSurface);
}

const Uint8* pixel(const SDL_Surface* s, int x, int y) {
    return static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

// Mean absolute difference of two columns (or, with rows set, two rows) over all channels.
double lineDifference(const SDL_Surface* s, int a, int b, bool rows) {
    int n = rows ? s->w : s->h, channels = s->format->BytesPerPixel;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c)
            sum += std::abs(int(pixel(s, rows ? i : a, rows ? a : i)[c]) -
                            int(pixel(s, rows ? i : b, rows ? b : i)[c]));
    return sum / (n * channels);
}

// Seamless art differs across its wrap-round edge no more than between neighbouring lines elsewhere.
// The lines compared straddle JPEG's 8-pixel blocks, as the edge does, so block artefacts count alike.
void expectWrapsRound(const SDL_Surface* s, bool rows, const std::string& what) {
    int last = (rows ? s->h : s->w) - 1;
    double seam = lineDifference(s, last, 0, rows), typical = 0;
    int pairs = 0;
    for (int i = 7; i < last; i += 8, ++pairs)
        typical += lineDifference(s, i, i + 1, rows);
    typical /= pairs;
    EXPECT_LT(seam, 1.5 * typical + 1.0) << what << (rows ? " top to bottom" : " left to right");
}

int exitStatus(const std::string& command) {
    int status = std::system((command + " > /dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Assets, JpegsHaveTheirSizesAndTheMapsWrapRoundAndLookApart) {
    // The warmer and cooler of red (0), green (1) and blue (2) in a map where one colour stands out:
    // they also show whether red and blue came out where the game expects them.
    const struct {
        const char* file;
        int width, height, warmer, cooler;
    } pictures[] = {
        {"titlescreen", 800, 600, 0, 0}, {"stars", 2048, 1024, 0, 0},      {"map-moon", 1024, 512, 0, 0},
        {"map-earth", 1024, 512, 2, 0},  {"map-mercury", 1024, 512, 0, 0}, {"map-venus", 1024, 512, 0, 2},
        {"map-mars", 1024, 512, 0, 2},   {"map-jupiter", 1024, 512, 0, 2}, {"map-saturn", 1024, 512, 0, 0},
        {"map-uranus", 1024, 512, 2, 0}, {"map-neptune", 1024, 512, 2, 0}};
    std::vector<std::array<double, 3>> means;
    for (const auto& picture : pictures) {
        const std::string path = std::string("images/") + picture.file + ".jpg", name = picture.file;
        Surface s = decode(path, IMG_LoadJPG_RW);
        ASSERT_TRUE(s) << path << ": " << SDL_GetError();
        EXPECT_EQ(s->w, picture.width) << path;
        EXPECT_EQ(s->h, picture.height) << path;
        ASSERT_EQ(s->format->BytesPerPixel, 3) << path;
        std::array<double, 3>& mean = means.emplace_back();
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                for (int c = 0; c < 3; ++c)
                    mean[c] += pixel(s.get(), x, y)[c] / double(s->w * s->h);
        if (name != "titlescreen") expectWrapsRound(s.get(), false, path);
        if (picture.warmer != picture.cooler) {
            EXPECT_GT(mean[picture.warmer], mean[picture.cooler] + 20) << path;
        }
        if (name == "stars") {
            expectWrapsRound(s.get(), true, path);
            EXPECT_TRUE(mean[1] > 2 && mean[1] < 40)
                << "a field of stars: mostly dark, not black nor a wash of light";
            // The top and bottom rows meet in one point at each pole of the sky sphere, where a star
            // or a cloud on them would be drawn out into rays: they stay plain dark sky.
            int brightest = 0;
            for (int y : {0, 1, s->h - 2, s->h - 1})
                for (int x = 0; x < s->w * 3; ++x)
                    brightest = std::max<int>(brightest, pixel(s.get(), 0, y)[x]);
            EXPECT_LE(brightest, 12) << path << ": a star or a cloud on the rows that meet at the poles";
        }
    }
    for (size_t i = 3; i < means.size(); ++i) // the planets
        for (size_t j = i + 1; j < means.size(); ++j)
            EXPECT_GT(
                std::hypot(means[i][0] - means[j][0], means[i][1] - means[j][1], means[i][2] - means[j][2]),
                20)
                << pictures[i].file << " and " << pictures[j].file << " look alike";
}

TEST(Assets, SpritesFadeOutInsideTheTriangleTheyAreDrawnOn) {
    for (const char* file : {"particlealphanormal", "particlealphacircle", "smoketrail"}) {
        std::string path = std::string("images/") + file + ".tga";
        Surface s = decode(path, IMG_LoadTGA_RW);
        ASSERT_TRUE(s) << path << ": " << SDL_GetError();
        ASSERT_TRUE(s->w == 64 && s->h == 64 && s->format->BytesPerPixel == 4 &&
                    s->format->Amask == 0xff000000u)
            << path << ": 64 x 64 with 8 bits of alpha";

        // Texture corners (0.5, 0), (1, 1), (0, 1); the first row is t = 0. Light outside that
        // triangle would be cut off by its edges, and light on the picture's border bleeds when mipmapped.
        int leaks = 0, peak = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                int alpha = pixel(s.get(), x, y)[3];
                float u = (x + 0.5f) / 64, t = (y + 0.5f) / 64;
                bool inside = std::fabs(u - 0.5f) <= t / 2;
                bool border = x == 0 || y == 0 || x == 63 || y == 63;
                if ((!inside || border) && alpha > 0) ++leaks;
                peak = std::max(peak, alpha);
            }
        EXPECT_EQ(leaks, 0) << path;
        EXPECT_GE(peak, 200) << path;
    }
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

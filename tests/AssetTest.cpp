// The generated pictures and font, loaded from the build folder the way the game loads them.
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

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

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int exitStatus(const std::string& command) {
    int status = std::system((command + " > /dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const char* const planets[] = {"earth", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune"};

} // namespace

TEST(Assets, JpegsDecodeToPackedRgbRowsOfTheirSize) {
    struct Row {
        std::string file;
        int width, height;
    };
    std::vector<Row> rows = {{"titlescreen", 800, 600}, {"stars", 2048, 1024}, {"map-moon", 1024, 512}};
    for (const char* p : planets)
        rows.push_back({std::string("map-") + p, 1024, 512});
    for (const Row& row : rows) {
        std::string path = "images/" + row.file + ".jpg";
        Surface s = decode(path, IMG_LoadJPG_RW);
        ASSERT_TRUE(s) << path << ": " << SDL_GetError();
        EXPECT_EQ(s->w, row.width) << path;
        EXPECT_EQ(s->h, row.height) << path;
        // Uploaded as GL_RGB: three bytes red, green, blue, and rows padded as GL's default alignment of 4.
        EXPECT_EQ(s->format->BytesPerPixel, 3) << path;
        EXPECT_EQ(s->pitch, (s->w * 3 + 3) / 4 * 4) << path;
        EXPECT_EQ(s->format->Rshift, 0) << path;
        EXPECT_EQ(s->format->Bshift, 16) << path;
    }
}

TEST(Assets, SpritesFadeOutInsideTheTriangleTheyAreDrawnOn) {
    for (const char* file : {"particlealphanormal", "particlealphacircle", "smoketrail"}) {
        std::string path = std::string("images/") + file + ".tga";
        Surface s = decode(path, IMG_LoadTGA_RW);
        ASSERT_TRUE(s) << path << ": " << SDL_GetError();
        ASSERT_EQ(s->w, 64) << path;
        ASSERT_EQ(s->h, 64) << path;
        // Uploaded as GL_BGRA: bytes blue, green, red, alpha.
        ASSERT_EQ(s->format->BytesPerPixel, 4) << path;
        EXPECT_EQ(s->format->Bshift, 0) << path;
        EXPECT_EQ(s->format->Rshift, 16) << path;
        EXPECT_EQ(s->format->Amask, 0xff000000u) << path;

        // Texture corners (0.5, 0), (1, 1), (0, 1); the first row is t = 0. Light outside that
        // triangle would be cut off by its edges, and light on the picture's border bleeds when mipmapped.
        int leaks = 0, peak = 0;
        double weight = 0, sumX = 0, sumY = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                int alpha = pixel(s.get(), x, y)[3];
                float u = (x + 0.5f) / 64, t = (y + 0.5f) / 64;
                bool inside = std::fabs(u - 0.5f) <= t / 2;
                bool border = x == 0 || y == 0 || x == 63 || y == 63;
                if ((!inside || border) && alpha > 0) ++leaks;
                peak = std::max(peak, alpha);
                weight += alpha;
                sumX += alpha * (x + 0.5);
                sumY += alpha * (y + 0.5);
            }
        EXPECT_EQ(leaks, 0) << path;
        EXPECT_GE(peak, 200) << path;
        // The glow sits round the centre of the circle that fits the triangle (u 0.5, t 0.69), not flipped.
        ASSERT_GT(weight, 0) << path;
        EXPECT_NEAR(sumX / weight / 64, 0.5, 0.03) << path;
        EXPECT_NEAR(sumY / weight / 64, 0.69, 0.04) << path;
    }
}

TEST(Assets, PlanetMapsLookDifferentAndWrapRoundTheGlobe) {
    struct Tint {
        const char* planet;
        int warmest, coolest; // channel indices 0 red, 1 green, 2 blue: which must be brighter
    };
    // Their dominant colours, which also show whether red and blue came out where the game expects them.
    const Tint tints[] = {{"earth", 2, 0},  {"venus", 0, 2},   {"mars", 0, 2},
                          {"uranus", 2, 0}, {"neptune", 2, 0}, {"jupiter", 0, 2}};
    std::vector<std::array<double, 3>> means;
    for (const char* p : planets) {
        std::string path = std::string("images/map-") + p + ".jpg";
        Surface s = decode(path, IMG_LoadJPG_RW);
        ASSERT_TRUE(s) << path << ": " << SDL_GetError();
        std::array<double, 3> mean{};
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                for (int c = 0; c < 3; ++c)
                    mean[c] += pixel(s.get(), x, y)[c] / double(s->w * s->h);
        means.push_back(mean);
        expectWrapsRound(s.get(), false, path);
        for (const Tint& t : tints) {
            if (std::string(t.planet) == p) {
                EXPECT_GT(mean[t.warmest], mean[t.coolest] + 20) << path;
            }
        }
    }
    for (size_t i = 0; i < means.size(); ++i)
        for (size_t j = i + 1; j < means.size(); ++j) {
            double d =
                std::hypot(means[i][0] - means[j][0], means[i][1] - means[j][1], means[i][2] - means[j][2]);
            EXPECT_GT(d, 20) << planets[i] << " and " << planets[j] << " look alike";
        }
}

TEST(Assets, StarFieldTilesBothWays) {
    Surface s = decode("images/stars.jpg", IMG_LoadJPG_RW);
    ASSERT_TRUE(s) << SDL_GetError();
    expectWrapsRound(s.get(), false, "stars");
    expectWrapsRound(s.get(), true, "stars");
    // Mostly dark sky: a field of stars, not a wash of light.
    double brightness = 0;
    for (int y = 0; y < s->h; y += 4)
        for (int x = 0; x < s->w; x += 4)
            brightness += pixel(s.get(), x, y)[1] / double(s->w / 4 * (s->h / 4));
    EXPECT_GT(brightness, 2);
    EXPECT_LT(brightness, 40);
}

TEST(Assets, GeneratorRepaintsTheSameBytesAndFailsLoudly) {
    char folder[] = "/tmp/asset-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string out = folder;

    // Threads share the painting, so a race or an unset pixel would show up as a different file.
    ASSERT_EQ(exitStatus("./make_images " + out), 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator("images")) {
        std::string name = entry.path().filename().string();
        EXPECT_EQ(contents(out + "/images/" + name), contents("images/" + name))
            << name << " came out differently";
        ++compared;
    }
    EXPECT_EQ(compared, 14);

    struct Case {
        std::string arguments;
        int status;
    };
    const Case cases[] = {
        {"", 2},                              // no output folder given
        {"/proc/no-such-folder", 1},          // cannot be created
        {out + "/bare /no/such/font/dir", 1}, // no title font anywhere: no title without its name
    };
    for (const Case& c : cases)
        EXPECT_EQ(exitStatus("./make_images " + c.arguments), c.status) << c.arguments;
    std::filesystem::remove_all(out);
}

// Picture, font and sound files, sound or damaged: each loads for what it really holds, or is refused
// the way the game reports it.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include "audio/SoundSystem.h"
#include "render/TextRenderer.h"
#include "render/TextureLoader.h"
#include "support/GLTestWindow.h"
#include "support/SoundProbe.h"
#include "support/Stdout.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::string; // a file's contents
using testing_support::readFile;
using testing_support::writeFile;

// Writes `bytes` bytes of v at `at`, the least significant first unless `bigEndian`.
void put(Bytes& b, size_t at, unsigned v, int bytes, bool bigEndian = false) {
    for (int i = 0; i < bytes; ++i)
        b[at + (bigEndian ? bytes - 1 - i : i)] = static_cast<char>(v >> (8 * i));
}

// The 18 bytes that open a TGA file: the image type (1 colour-mapped, 2 true colour), the size, bits per
// pixel, the descriptor (alpha bits, origin) and the number of 24-bit colour map entries that follow.
std::string tgaHeader(int type, int width, int height, int bits, int descriptor, int mapEntries = 0) {
    // ID length, map type, image type; the map (first entry, entries, bits); origin, size, bits, descriptor
    auto bytes2 = [](int v) { return std::string{static_cast<char>(v & 255), static_cast<char>(v >> 8)}; };
    return std::string{0, static_cast<char>(mapEntries > 0), static_cast<char>(type)} + bytes2(0) +
           bytes2(mapEntries) + static_cast<char>(mapEntries > 0 ? 24 : 0) + bytes2(0) + bytes2(0) +
           bytes2(width) + bytes2(height) + static_cast<char>(bits) + static_cast<char>(descriptor);
}

// An uncompressed 32-bit TGA, rows top first, holding `pixels` of its w x h, each B 0x10, G 0x80, R 0xF0.
Bytes tga(int w, int h, int pixels) {
    Bytes t = tgaHeader(2, w, h, 32, 0x28); // 8 alpha bits, top-left origin
    for (int i = 0; i < pixels; ++i)
        t += Bytes("\x10\x80\xF0\xFF", 4);
    return t;
}

// A JPEG of w x h, each pixel's channels from `colour` (top half) and `lower` (bottom half).
Bytes jpeg(int w, int h, int channels, std::vector<unsigned char> colour, std::vector<unsigned char> lower) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < w * h; ++i)
        pixels.insert(pixels.end(), i < w * h / 2 ? colour.begin() : lower.begin(),
                      (i < w * h / 2 ? colour.begin() : lower.begin()) + channels);
    Bytes out;
    stbi_write_jpg_to_func(
        [](void* o, void* d, int n) { static_cast<Bytes*>(o)->append(static_cast<char*>(d), n); }, &out, w, h,
        channels, pixels.data(), 95);
    return out;
}

using TextureFiles = testing_support::GLTest;

// JPEGs become RGB textures, TGAs RGBA ones from their B, G, R, A, both mipmapped with linear filters and
// the first image row at t = 0. A file that cannot be decoded prints one line and leaves its name empty.
TEST_F(TextureFiles, LoadWhatTheyHoldOrAreReportedOnceAndLeaveTheTextureEmpty) {
    const testing_support::TempDir dir;
    const Bytes map = readFile("images/map-uranus.jpg"); // 1024 x 512
    const size_t frame = map.find("\xFF\xC0");           // the frame header: height at +5, width at +7
    ASSERT_NE(frame, Bytes::npos);
    auto claiming = [&](int w, int h) {
        Bytes b = map;
        put(b, frame + 5, h, 2, true);
        put(b, frame + 7, w, 2, true);
        return b;
    };
    // A colour-mapped TGA: two palette entries (blue, red as B, G, R), every pixel index 1.
    const Bytes paletted = tgaHeader(1, 4, 4, 8, 0, 2) + Bytes("\xFF\0\0\0\0\xFF", 6) + Bytes(16, '\1');

    struct Case {
        const char* file;
        TextureKind kind;
        Bytes bytes;
        int width;            // of the loaded texture; 0 when the file is refused with the error line
        const char* reason;   // the reason printed, when the game gives its own
        unsigned top, bottom; // texels a row in from the top and the bottom, 0xRRGGBBAA; 0: not checked
    } cases[] = {
        {"orange-over-blue.jpg", Jpeg, jpeg(16, 16, 3, {230, 120, 20}, {20, 60, 220}), 16, "", 0xE67814FF,
         0x143CDCFF},
        {"grey.jpg", Jpeg, jpeg(16, 16, 1, {200}, {200}), 16, "", 0xC8C8C8FF, 0xC8C8C8FF},
        {"uneven.jpg", Jpeg, jpeg(12, 10, 3, {40, 200, 90}, {40, 200, 90}), 16, "", 0x28C85AFF, 0x28C85AFF},
        {"true-colour.tga", TgaWithAlpha, tga(4, 4, 16), 4, "", 0xF08010FF, 0xF08010FF},
        {"paletted.tga", TgaWithAlpha, paletted, 4, "", 0xFF0000FF, 0xFF0000FF},
        {"zero.jpg", Jpeg, "", 0, "", 0, 0},
        {"cut-in-header.jpg", Jpeg, map.substr(0, frame + 6), 0, "", 0, 0},
        {"cut-in-data.jpg", Jpeg, map.substr(0, map.size() / 2), 1024, "", 0, 0}, // libjpeg fills in the rest
        {"wide.jpg", Jpeg, claiming(8193, 16), 0, "8193 x 16 pixels is more than 8192 on a side", 0, 0},
        {"widest.jpg", Jpeg, claiming(8192, 16), 8192, "", 0, 0},
        {"cut-in-header.tga", TgaWithAlpha, tga(4, 4, 0).substr(0, 10), 0, "", 0, 0},
        {"tall.tga", TgaWithAlpha, tga(4, 8193, 1), 0, "4 x 8193 pixels is more than 8192 on a side", 0, 0},
        {"flat.tga", TgaWithAlpha, tga(0, 4, 0), 0, "the image has no pixels", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        writeFile(path, c.bytes);
        GLuint name = 0;
        glGenTextures(1, &name);
        const std::string out = testing_support::stdoutOf([&] { loadTexture(path.c_str(), c.kind, name); });
        const std::string line = "Error: could not load " + path +
                                 ". Reason: " + (*c.reason ? c.reason : ".+") + ". Ignoring...\n";
        EXPECT_TRUE(c.width ? out.empty() : std::regex_match(out, std::regex(line))) << out;
        GLint width = -1, height = 0, format = 0, level1 = 0, magnify = 0, minify = 0;
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, c.width);
        if (!c.width) continue;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnify);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
        EXPECT_EQ(format, c.kind == Jpeg ? GL_RGB : GL_RGBA);
        EXPECT_EQ(level1, width / 2) << "mipmapped";
        EXPECT_TRUE(magnify == GL_LINEAR && minify == GL_LINEAR_MIPMAP_LINEAR) << magnify << " " << minify;
        if (!c.top) continue;
        std::vector<unsigned char> texels(size_t(width) * height * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (int i = 0; i < 8; ++i) // red, green, blue, alpha a row in from the top, then from the bottom
            EXPECT_NEAR(texels[((i < 4 ? 1 : height - 2) * width + width / 2) * 4 + i % 4],
                        (i < 4 ? c.top : c.bottom) >> (24 - 8 * (i % 4)) & 255, 6)
                << i;
    }
}

TEST(BadFont, IsReportedForBothSizes) {
    const Bytes font = readFile("fonts/arial.ttf");
    auto table = [&](const char* tag) { // where it begins: 8 bytes after its tag in the directory up front
        size_t at = 0;
        for (size_t i = font.find(tag) + 8, end = i + 4; i < end; ++i)
            at = at << 8 | static_cast<unsigned char>(font[i]);
        return at;
    };
    const size_t head = table("head"), hhea = table("hhea");
    // Few units to the em and the tallest ascender and descender there are: lines 18000 pixels tall.
    Bytes tall = font;
    put(tall, head + 18, 256, 2, true);
    put(tall, hhea + 4, 32767, 2, true);
    put(tall, hhea + 6, 0x8000, 2, true);

    const struct {
        const char* name;
        Bytes bytes;
        const char* reason; // printed for the large size
    } cases[] = {
        {"cut in its table directory", font.substr(0, 100), ".+"},
        {"huge lines", tall, "lines 17921 pixels tall at 70 points"},
    };
    const std::string loading = "Loading font fonts/arial.ttf...\n",
                      failed = "Unable to load font from fonts/arial.ttf: ";
    const testing_support::TempDir dir(
        testing_support::TempDir::Inside); // the fonts are found as by the game started there
    for (const auto& c : cases) {
        writeFile("fonts/arial.ttf", c.bytes);
        bool opened = true;
        const std::string out = testing_support::stdoutOf([&] {
            TextRenderer hud;
            opened = hud.largeFont || hud.smallFont;
        });
        EXPECT_FALSE(opened) << c.name;
        const std::string lines =
            "Initializing font engine...\n" + loading + failed + c.reason + "\n" + loading + failed + ".+\n";
        EXPECT_TRUE(std::regex_match(out, std::regex(lines))) << c.name << ": " << out;
    }
}

TEST(BadSounds, StaySilentAndPrintNothingOrLoadOnlyWhatTheyHold) {
    using namespace audio;
    // Half a second of 16-bit mono at 44.1 kHz: "fmt " is followed by its size, format, channels and rate.
    const testing_support::TempDir dir;
    const Bytes wav = readFile(testing_support::writeTone(dir.path(), "t.wav", 440, 0.5));
    const size_t format = wav.find("fmt "), data = wav.find("data");
    ASSERT_TRUE(format != Bytes::npos && data != Bytes::npos);
    Bytes fastest = wav, longest = wav, widest = wav;
    // Just over the highest rate in use; a claim of billions made a stream buffer of gigabytes.
    put(fastest, format + 12, 384001, 4);  // frames a second
    put(longest, data + 4, 0x7FFFFFF0, 4); // bytes of samples
    put(widest, format + 10, 1024, 2);     // channels
    // The game's laser: its first frame holds no sound but the count of frames, which a damaged file
    // can push to 2^32 - 1.
    const Bytes mp3 = readFile("sounds/laser.mp3");
    const size_t info = mp3.find("Xing") != Bytes::npos ? mp3.find("Xing") : mp3.find("Info");
    ASSERT_NE(info, Bytes::npos);
    Bytes endless = mp3;
    put(endless, info + 8, 0xFFFFFFFF, 4);

    const struct {
        const char* name;
        Bytes bytes;
        double seconds; // the loaded sound's length; 0 when the file gives no sound
    } cases[] = {
        {"zero-length", "", 0},
        {"WAV header without samples", wav.substr(0, data + 8), 0},
        {"WAV claiming 384001 frames a second", fastest, 0},
        {"WAV claiming two gigabytes of samples", longest, 0.5},
        {"WAV claiming 1024 channels", widest, 0.5 / 1024},
        {"MP3 claiming four billion frames", endless, 0.35},
        {"a picture", readFile("images/map-uranus.jpg"), 0},
    };
    testing_support::LoopbackMix& mix = testing_support::LoopbackMix::next();
    SoundSystem* sounds = createSoundSystem(); // never freed, as in the game
    ASSERT_EQ(sounds->init(64), OK);
    const std::string printed = testing_support::stdoutOf([&] {
        for (const auto& c : cases) {
            const std::string path =
                dir.file("sound.mp3"); // a foreign file's name does not say what it holds
            writeFile(path, c.bytes);
            for (bool stream : {false, true}) {
                Sound* sound = stream ? sounds->createStream(path.c_str(), Default)
                                      : sounds->createSound(path.c_str(), Mode3D);
                if (c.seconds == 0) {
                    EXPECT_EQ(sound, nullptr) << c.name;
                    continue;
                }
                ASSERT_NE(sound, nullptr) << c.name << (stream ? " as a stream" : "");
                // A stream takes the header's word for its length; a sound loaded whole knows it.
                if (!stream) {
                    EXPECT_NEAR(sound->length(), c.seconds, 0.03) << c.name;
                }
                // It plays for as long as it really lasts, whatever its header claimed.
                Channel channel = sounds->playSound(sound, false);
                ASSERT_TRUE(channel) << c.name;
                mix.render(4410); // 0.1 s
                sounds->update();
                EXPECT_EQ(channel.isPlaying(), c.seconds > 0.1) << c.name << (stream ? " as a stream" : "");
                channel.stop();
            }
        }
    });
    EXPECT_EQ(printed, "");
}

} // namespace

// Damaged, empty, foreign and oversized asset files: each is refused the way the game reports it, or
// loaded for what it really holds.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "audio/SoundSystem.h"
#include "render/TextRenderer.h"
#include "render/TextureLoader.h"
#include "support/GLTestWindow.h"
#include "support/SoundProbe.h"

namespace {

using Bytes = std::string; // a file's contents

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes `bytes` bytes of v at `at`, the least significant first unless `bigEndian`.
void put(Bytes& b, size_t at, unsigned v, int bytes, bool bigEndian = false) {
    for (int i = 0; i < bytes; ++i)
        b[at + (bigEndian ? bytes - 1 - i : i)] = static_cast<char>(v >> (8 * i));
}

unsigned bigEndian(const Bytes& b, size_t at, int bytes) {
    unsigned v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// An uncompressed 32-bit TGA, rows top first, holding `pixels` of its w x h.
Bytes tga(int w, int h, int pixels) {
    Bytes t = testing_support::tgaHeader(2, w, h, 32, 0x28); // 8 alpha bits, top-left origin
    for (int i = 0; i < pixels; ++i)
        t += Bytes("\x10\x80\xF0\xFF", 4);
    return t;
}

// The place of a table of a TrueType font, from its directory of 16-byte records.
size_t fontTable(const Bytes& font, const char* tag) {
    for (unsigned i = 0, tables = bigEndian(font, 4, 2); i < tables; ++i)
        if (font.compare(12 + 16 * i, 4, tag) == 0) return bigEndian(font, 12 + 16 * i + 8, 4);
    return Bytes::npos;
}

// Whether `text` is `pattern`, where each * stands for a reason: one or more characters within a line.
bool matches(const char* text, const char* pattern) {
    if (*pattern != '*') return *pattern == *text && (*text == 0 || matches(text + 1, pattern + 1));
    for (const char* t = text; *t && *t != '\n'; ++t)
        if (matches(t + 1, pattern + 1)) return true;
    return false;
}

TEST(BadImages, AreReportedOnceAndLeaveTheTextureEmptyOrLoadWhatTheyHold) {
    ASSERT_TRUE(testing_support::openGLWindow());
    const std::string dir = testing_support::makeTempDir() + "/";
    const Bytes jpeg = readFile("images/map-uranus.jpg"); // 1024 x 512
    const size_t frame = jpeg.find("\xFF\xC0");           // the frame header: height at +5, width at +7
    ASSERT_NE(frame, Bytes::npos);
    auto claiming = [&](int w, int h) {
        Bytes b = jpeg;
        put(b, frame + 5, h, 2, true);
        put(b, frame + 7, w, 2, true);
        return b;
    };

    struct Case {
        const char* file;
        TextureKind kind;
        Bytes bytes;
        int width;          // of the loaded texture; 0 when the file is refused with the error line
        const char* reason; // the reason printed, when the game gives its own
    } cases[] = {
        {"zero.jpg", Jpeg, "", 0, ""},
        {"cut-in-header.jpg", Jpeg, jpeg.substr(0, frame + 6), 0, ""},
        {"cut-in-data.jpg", Jpeg, jpeg.substr(0, jpeg.size() / 2), 1024, ""}, // libjpeg fills in the rest
        {"wide.jpg", Jpeg, claiming(8193, 16), 0, "8193 x 16 pixels is more than 8192 on a side"},
        {"widest.jpg", Jpeg, claiming(8192, 16), 8192, ""},
        {"cut-in-header.tga", TgaWithAlpha, tga(4, 4, 0).substr(0, 10), 0, ""},
        {"tall.tga", TgaWithAlpha, tga(4, 8193, 1), 0, "4 x 8193 pixels is more than 8192 on a side"},
        {"flat.tga", TgaWithAlpha, tga(0, 4, 0), 0, "the image has no pixels"},
    };
    for (const Case& c : cases) {
        const std::string path = dir + c.file;
        writeFile(path, c.bytes);
        GLuint name = 0;
        glGenTextures(1, &name);
        testing::internal::CaptureStdout();
        loadTexture(path.c_str(), c.kind, name);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string line =
            "Error: could not load " + path + ". Reason: " + (*c.reason ? c.reason : "*") + ". Ignoring...\n";
        EXPECT_TRUE(c.width ? out.empty() : matches(out.c_str(), line.c_str())) << c.file << ": " << out;
        GLint width = -1;
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, c.width) << c.file;
    }
}

TEST(BadFont, IsReportedForBothSizes) {
    const Bytes font = readFile("fonts/arial.ttf");
    const size_t head = fontTable(font, "head"), hhea = fontTable(font, "hhea");
    ASSERT_NE(head, Bytes::npos);
    ASSERT_NE(hhea, Bytes::npos);
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
        {"cut in its table directory", font.substr(0, 100), "*"},
        {"huge lines", tall, "lines 17921 pixels tall at 70 points"},
    };
    const std::string loading = "Loading font fonts/arial.ttf...\n",
                      failed = "Unable to load font from fonts/arial.ttf: ";
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    const std::string dir = testing_support::makeTempDir();
    ASSERT_EQ(system(("mkdir -p " + dir + "/fonts").c_str()), 0);
    for (const auto& c : cases) {
        writeFile(dir + "/fonts/arial.ttf", c.bytes);
        ASSERT_EQ(chdir(dir.c_str()), 0); // the fonts are found as by the game started there
        testing::internal::CaptureStdout();
        TextRenderer hud;
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_EQ(chdir(here), 0);
        EXPECT_TRUE(hud.largeFont == nullptr && hud.smallFont == nullptr) << c.name;
        const std::string lines =
            "Initializing font engine...\n" + loading + failed + c.reason + "\n" + loading + failed + "*\n";
        EXPECT_TRUE(matches(out.c_str(), lines.c_str())) << c.name << ": " << out;
    }
}

TEST(BadSounds, StaySilentAndPrintNothingOrLoadOnlyWhatTheyHold) {
    using namespace audio;
    // Half a second of 16-bit mono at 44.1 kHz: "fmt " is followed by its size, format, channels and rate.
    const std::string dir = testing_support::makeTempDir();
    const Bytes wav = readFile(testing_support::writeTone(dir, "t.wav", 440, 0.5));
    const size_t format = wav.find("fmt "), data = wav.find("data");
    ASSERT_NE(format, Bytes::npos);
    ASSERT_NE(data, Bytes::npos);
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
    testing::internal::CaptureStdout();
    for (const auto& c : cases) {
        const std::string path = dir + "/sound.mp3"; // a foreign file's name does not say what it holds
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
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

} // namespace

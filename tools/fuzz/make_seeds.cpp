// Writes small valid images, the game's font and short sounds into <dir>/{image,font,sound}/ as fuzzing
// seeds.
#include <sndfile.h>
#include <sys/stat.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/support/Pi.h"
#include "tools/support/SoundFile.h"

namespace {

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A smooth colour ramp with an alpha ramp the other way, so every channel carries something.
std::vector<unsigned char> ramp(int w, int h, int channels) {
    std::vector<unsigned char> p(static_cast<size_t>(w * h * channels));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                p[(y * w + x) * channels + c] = static_cast<unsigned char>((x * 37 + y * 11 + c * 85) & 255);
    return p;
}

bool writeImages(const std::string& dir) {
    bool ok = true;
    const struct {
        const char* name;
        int w, h, channels;
    } jpegs[] = {
        {"rgb16.jpg", 16, 16, 3}, {"grey8.jpg", 8, 8, 1}, {"one.jpg", 1, 1, 3}, {"odd.jpg", 17, 5, 3}};
    for (const auto& j : jpegs)
        ok &= stbi_write_jpg((dir + j.name).c_str(), j.w, j.h, j.channels, ramp(j.w, j.h, j.channels).data(),
                             80) != 0;
    const struct {
        const char* name;
        int w, h, channels, rle;
    } tgas[] = {{"rgba8.tga", 8, 8, 4, 0},
                {"rgb5x3.tga", 5, 3, 3, 0},
                {"rle8.tga", 8, 8, 4, 1},
                {"grey4.tga", 4, 4, 1, 0}};
    for (const auto& t : tgas) {
        stbi_write_tga_with_rle = t.rle;
        ok &= stbi_write_tga((dir + t.name).c_str(), t.w, t.h, t.channels,
                             ramp(t.w, t.h, t.channels).data()) != 0;
    }
    // By hand: colour-mapped (two B, G, R entries, 4 x 4 of index 1) and 16-bit true colour, 2 x 2.
    std::vector<unsigned char> paletted = {0, 1, 1, 0, 0, 2, 0,   24, 0, 0, 0, 0,
                                           4, 0, 4, 0, 8, 0, 255, 0,  0, 0, 0, 255};
    paletted.resize(paletted.size() + 16, 1);
    ok &= writeBytes(dir + "paletted.tga", paletted);
    ok &= writeBytes(dir + "rgb16.tga", {0, 0, 2, 0,  0,  0,    0,    0,    0,    0,    0,    0,    2,
                                         0, 2, 0, 16, 32, 0x1f, 0x00, 0xe0, 0x03, 0x00, 0x7c, 0xff, 0x7f});
    return ok;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    return in && out;
}

// A tenth of a second of a chord, in the given container and encoding.
bool writeSound(const std::string& path, int format, int rate, int channels) {
    const int frames = rate / 10;
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[i * channels + c] = 0.3f * std::sin(2 * Pi * (440.0 + 110 * c) * i / rate);
    if (soundfile::write(path, format, rate, channels, samples)) return true;
    fprintf(stderr, "%s: %s\n", path.c_str(), sf_strerror(nullptr));
    return false;
}

bool writeSounds(const std::string& dir) {
    const struct {
        const char* name;
        int format, rate, channels;
    } sounds[] = {
        {"mono16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1},
        {"stereo16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 2},
        {"three8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 3},
        {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4000, 1},
        {"adpcm.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 8000, 1},
        {"mono.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 22050, 1},
        {"stereo.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2},
        {"mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 8000, 1},
        {"mono.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 8000, 1},
        {"mono.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 8000, 1},
    };
    bool ok = true;
    for (const auto& s : sounds)
        ok &= writeSound(dir + s.name, s.format, s.rate, s.channels);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_seeds <dir>\n");
        return 2;
    }
    const std::string dir = argv[1];
    for (const char* sub : {"", "/image", "/font", "/sound"})
        mkdir((dir + sub).c_str(), 0755);
    bool ok = writeImages(dir + "/image/");
    ok &= copyFile(GRAVIMEL_FONT_SOURCE, dir + "/font/hud.ttf");
    ok &= writeSounds(dir + "/sound/");
    if (!ok) fprintf(stderr, "make_seeds: some seeds could not be written\n");
    return ok ? 0 : 1;
}

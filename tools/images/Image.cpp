// Pixel storage, filtering and file output for the asset generator's pictures.
#include "tools/images/Image.h"

#include <cmath>
#include <cstdint>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float smoothstep(float edge0, float edge1, float v) {
    float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Image::Image(int width, int height, Colour fill)
    : w(width), h(height), pixels(size_t(width) * height, fill) {}

size_t Image::wrappedIndex(int x, int y) const {
    x %= w;
    y %= h;
    return size_t(y < 0 ? y + h : y) * w + (x < 0 ? x + w : x);
}

Colour& Image::wrapped(int x, int y) { return pixels[wrappedIndex(x, y)]; }

Colour Image::sample(float u, float v) const {
    float fx = u * w - 0.5f, fy = std::fmax(0.0f, std::fmin(float(h - 1), v * h - 0.5f));
    int x0 = int(std::floor(fx)), y0 = int(fy);
    float tx = fx - std::floor(fx), ty = fy - y0;
    int y1 = y0 + 1 < h ? y0 + 1 : h - 1;
    return mix(mix(tile(x0, y0), tile(x0 + 1, y0), tx), mix(tile(x0, y1), tile(x0 + 1, y1), tx), ty);
}

Colour Image::sampleTiled(float u, float v) const {
    float fx = u * w - 0.5f, fy = v * h - 0.5f;
    int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    float tx = fx - x0, ty = fy - y0;
    return mix(mix(tile(x0, y0), tile(x0 + 1, y0), tx), mix(tile(x0, y0 + 1), tile(x0 + 1, y0 + 1), tx), ty);
}

void Image::addWrapped(float x, float y, float sigma, Colour c) {
    int reach = int(std::ceil(sigma * 3));
    int cx = int(std::floor(x)), cy = int(std::floor(y));
    float k = -0.5f / (sigma * sigma);
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            float ex = cx + dx + 0.5f - x, ey = cy + dy + 0.5f - y;
            float g = std::exp((ex * ex + ey * ey) * k);
            Colour& p = wrapped(cx + dx, cy + dy);
            p = p + c * g;
        }
}

Image Image::shrunk(int factor) const {
    Image out(w / factor, h / factor);
    float share = 1.0f / float(factor * factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            Colour sum{0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const Colour& c = at(x * factor + dx, y * factor + dy);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
                }
            out.at(x, y) = {sum.r * share, sum.g * share, sum.b * share, sum.a * share};
        }
    return out;
}

std::vector<unsigned char> Image::bytes(int channels) const {
    std::vector<unsigned char> out(pixels.size() * channels);
    for (size_t i = 0; i < pixels.size(); ++i) {
        // Half a step of hashed dither keeps the faint gradients of space from banding.
        uint32_t hsh = uint32_t(i) * 2654435761u;
        float dither = float((hsh >> 24) & 0xff) / 255.0f - 0.5f;
        const float v[4] = {pixels[i].r, pixels[i].g, pixels[i].b, pixels[i].a};
        for (int c = 0; c < channels; ++c) {
            float d = c == 3 ? 0.0f : dither;
            out[i * channels + c] = (unsigned char)std::lround(clamp01((v[c] * 255 + d) / 255) * 255);
        }
    }
    return out;
}

bool Image::writeJpeg(const std::string& path, int quality) const {
    return stbi_write_jpg(path.c_str(), w, h, 3, bytes(3).data(), quality) != 0;
}

bool Image::writeTga(const std::string& path) const {
    return stbi_write_tga(path.c_str(), w, h, 4, bytes(4).data()) != 0;
}

bool Image::writePng(const std::string& path) const {
    return stbi_write_png(path.c_str(), w, h, 4, bytes(4).data(), w * 4) != 0;
}

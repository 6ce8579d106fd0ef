// A floating-point RGBA picture that the asset generator paints into before writing it as JPEG or TGA.
#pragma once

#include <string>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Colour operator+(Colour p, Colour q) { return {p.r + q.r, p.g + q.g, p.b + q.b, p.a}; }
inline Colour operator*(Colour c, float s) { return {c.r * s, c.g * s, c.b * s, c.a}; }
inline Colour operator*(Colour p, Colour q) { return {p.r * q.r, p.g * q.g, p.b * q.b, p.a}; }
inline Colour mix(Colour p, Colour q, float t) {
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

class Image {
  public:
    Image(int width, int height, Colour fill = {});

    int width() const { return w; }
    int height() const { return h; }
    Colour& at(int x, int y) { return pixels[y * w + x]; }
    const Colour& at(int x, int y) const { return pixels[y * w + x]; }
    Colour& wrapped(int x, int y);              // both axes repeat, for art that tiles
    Colour sample(float u, float v) const;      // bilinear; u in 0..1 wraps round, v clamps at the poles
    Colour sampleTiled(float u, float v) const; // bilinear; both wrap
    void addWrapped(float x, float y, float sigma, Colour c); // Gaussian splat, additive, tiling
    Image shrunk(int factor) const; // each factor x factor block averaged into one pixel

    bool writeJpeg(const std::string& path, int quality) const;
    bool writeTga(const std::string& path) const; // 32-bit with alpha
    bool writePng(const std::string& path) const; // 32-bit with alpha

  private:
    std::vector<unsigned char> bytes(int channels) const;
    const Colour& tile(int x, int y) const { return pixels[wrappedIndex(x, y)]; }
    size_t wrappedIndex(int x, int y) const;

    int w, h;
    std::vector<Colour> pixels;
};

// Improved gradient noise over a seeded permutation, with fractal sums and a tiling 2-D variant.
#include "image/Noise.h"

#include <cmath>

Vec3 normalised(Vec3 v) {
    float l = std::sqrt(dot(v, v));
    return l > 0 ? v * (1 / l) : v;
}

uint32_t Random::next() {
    // splitmix64: tiny, and the same numbers on every compiler, unlike the standard distributions.
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 32);
}

float Random::uniform() { return float(next() >> 8) * (1.0f / 16777216.0f); }

Vec3 Random::onSphere() {
    float z = range(-1, 1), a = range(0, 6.2831853f);
    float s = std::sqrt(1 - z * z);
    return {s * std::cos(a), s * std::sin(a), z};
}

namespace {

float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
float lerp(float a, float b, float t) { return a + (b - a) * t; }

float grad3(int hash, float x, float y, float z) {
    int h = hash & 15;
    float u = h < 8 ? x : y;
    float v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

float grad2(int hash, float x, float y) {
    switch (hash & 7) {
    case 0:
        return x + y;
    case 1:
        return x - y;
    case 2:
        return -x + y;
    case 3:
        return -x - y;
    case 4:
        return 1.4142f * x;
    case 5:
        return -1.4142f * x;
    case 6:
        return 1.4142f * y;
    default:
        return -1.4142f * y;
    }
}

} // namespace

Noise::Noise(uint32_t seed) {
    Random rng(seed);
    for (int i = 0; i < 256; ++i)
        perm[i] = uint8_t(i);
    for (int i = 255; i > 0; --i) {
        int j = int(rng.next() % uint32_t(i + 1));
        uint8_t t = perm[i];
        perm[i] = perm[j];
        perm[j] = t;
    }
    for (int i = 0; i < 256; ++i)
        perm[256 + i] = perm[i];
}

float Noise::at(Vec3 p) const {
    float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    int X = int(fx) & 255, Y = int(fy) & 255, Z = int(fz) & 255;
    float x = p.x - fx, y = p.y - fy, z = p.z - fz;
    float u = fade(x), v = fade(y), w = fade(z);
    int A = perm[X] + Y, AA = perm[A] + Z, AB = perm[A + 1] + Z;
    int B = perm[X + 1] + Y, BA = perm[B] + Z, BB = perm[B + 1] + Z;
    return lerp(lerp(lerp(grad3(perm[AA], x, y, z), grad3(perm[BA], x - 1, y, z), u),
                     lerp(grad3(perm[AB], x, y - 1, z), grad3(perm[BB], x - 1, y - 1, z), u), v),
                lerp(lerp(grad3(perm[AA + 1], x, y, z - 1), grad3(perm[BA + 1], x - 1, y, z - 1), u),
                     lerp(grad3(perm[AB + 1], x, y - 1, z - 1), grad3(perm[BB + 1], x - 1, y - 1, z - 1), u),
                     v),
                w);
}

float Noise::fbm(Vec3 p, int octaves, float gain) const {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += at(p) * amplitude;
        total += amplitude;
        amplitude *= gain;
        // The odd offset keeps the octaves' lattice points from lining up.
        p = p * 2.0f + Vec3{17.3f, -9.1f, 5.7f};
    }
    return sum / total;
}

float Noise::ridged(Vec3 p, int octaves) const {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        float r = 1 - std::fabs(at(p));
        sum += r * r * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        p = p * 2.0f + Vec3{-3.7f, 11.9f, 2.3f};
    }
    return sum / total;
}

Vec3 Noise::warp(Vec3 p, float amount, int octaves) const {
    Vec3 d{fbm(p + Vec3{5.2f, 1.3f, 7.7f}, octaves), fbm(p + Vec3{-8.1f, 2.8f, -4.4f}, octaves),
           fbm(p + Vec3{1.9f, -6.6f, 3.1f}, octaves)};
    return p + d * amount;
}

float Noise::tiled(float x, float y, int periodX, int periodY) const {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    auto hash = [&](int i, int j) {
        i %= periodX;
        j %= periodY;
        if (i < 0) i += periodX;
        if (j < 0) j += periodY;
        return int(perm[perm[i & 255] + (j & 255)]);
    };
    float u = fade(tx), v = fade(ty);
    return lerp(lerp(grad2(hash(ix, iy), tx, ty), grad2(hash(ix + 1, iy), tx - 1, ty), u),
                lerp(grad2(hash(ix, iy + 1), tx, ty - 1), grad2(hash(ix + 1, iy + 1), tx - 1, ty - 1), u), v);
}

float Noise::tiledFbm(float x, float y, int periodX, int periodY, int octaves) const {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += tiled(x, y, periodX, periodY) * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / total;
}

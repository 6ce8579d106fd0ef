// Fractal sums of stb's gradient noise, and a tiling 2-D variant, each seed reading its own part of it.
#include "tools/images/Noise.h"

#include <cmath>

#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>

namespace {

// Where a seed's copy of the noise field starts: stb's seed argument only moves the field along x, by
// whole lattice cells, so nearby seeds would give copies of one field side by side.
Vec3f originOf(uint32_t seed) {
    Random rng(seed);
    return {rng.range(0, 256), rng.range(0, 256), rng.range(0, 256)};
}

} // namespace

Noise::Noise(uint32_t seed) : origin(originOf(seed)) {}

float Noise::at(Vec3f p) const {
    p = p + origin;
    return stb_perlin_noise3(p.x, p.y, p.z, 0, 0, 0);
}

float Noise::fbm(Vec3f p, int octaves, float gain) const {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += at(p) * amplitude;
        total += amplitude;
        amplitude *= gain;
        // The odd offset keeps the octaves' lattice points from lining up.
        p = p * 2.0f + Vec3f{17.3f, -9.1f, 5.7f};
    }
    return sum / total;
}

float Noise::ridged(Vec3f p, int octaves) const {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        float r = 1 - std::fabs(at(p));
        sum += r * r * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        p = p * 2.0f + Vec3f{-3.7f, 11.9f, 2.3f};
    }
    return sum / total;
}

Vec3f Noise::warp(Vec3f p, float amount, int octaves) const {
    Vec3f d{fbm(p + Vec3f{5.2f, 1.3f, 7.7f}, octaves), fbm(p + Vec3f{-8.1f, 2.8f, -4.4f}, octaves),
            fbm(p + Vec3f{1.9f, -6.6f, 3.1f}, octaves)};
    return p + d * amount;
}

// A plane of the 3-D field through its lattice points, at a depth of its own, wrapped round in x and y.
// Two thirds of the gradients in that plane lie along an axis and are shorter than the diagonal ones, so
// it swings less than 2-D noise of diagonal gradients; the gain, their ratio (root mean square), brings it
// back to the strength the sky's gas is drawn for.
float Noise::tiled(float x, float y, int periodX, int periodY) const {
    const float gain = std::sqrt(1.5f);
    return gain * stb_perlin_noise3_wrap_nonpow2(x + origin.x, y + origin.y, std::floor(origin.z), periodX,
                                                 periodY, 0, 0);
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

// Star fields and the sky sphere's picture.
#include "tools/images/StarField.h"

#include <algorithm>
#include <cmath>

#include "data/Constants.h"
#include "tools/images/Noise.h"

namespace {

Colour starTint(Random& rng) {
    float t = rng.uniform();
    if (t < 0.55f) return {1.0f, 1.0f, 1.0f};
    if (t < 0.72f) return {0.72f, 0.82f, 1.0f};
    if (t < 0.86f) return {1.0f, 0.94f, 0.76f};
    if (t < 0.95f) return {1.0f, 0.76f, 0.52f};
    return {1.0f, 0.55f, 0.45f};
}

// How much of the stars and gas a row keeps, 0 to 1. The game repeats the sky SkyRepeats times from
// pole to pole, so the top and bottom rows meet in one point at each pole, where anything painted on
// them is drawn out into rays; they stay empty, and the sky comes in gently so that where the same rows
// meet between the repeats no band shows.
float rowWeight(float v, float margin) {
    if (margin <= 0) return 1;
    return smoothstep(0.0f, margin, std::fmin(v, 1 - v));
}

} // namespace

Image paintStars(int w, int h, uint32_t seed, const StarField& field) {
    Noise noise(seed);
    Random rng(seed + 77);
    Image sky(w, h, {0.004f, 0.005f, 0.012f, 1});
    // The nebulae are soft, so they are worked out at half resolution and smoothed up.
    int periodX = std::max(1, w / field.gasWidth), periodY = std::max(1, h / field.gasHeight);
    Image gas(w / 2, h / 2, {0, 0, 0, 1});
    for (int y = 0; y < gas.height(); ++y)
        for (int x = 0; x < gas.width(); ++x) {
            float u = float(x) / gas.width() * periodX, v = float(y) / gas.height() * periodY;
            float violet = smoothstep(0.0f, 0.45f, noise.tiledFbm(u, v, periodX, periodY, 6) + 0.1f);
            float teal = smoothstep(0.05f, 0.5f, noise.tiledFbm(u + 31, v + 17, periodX, periodY, 6));
            float dust =
                0.6f +
                0.4f * smoothstep(-0.3f, 0.3f, noise.tiledFbm(u * 2 + 5, v * 2, periodX * 2, periodY * 2, 4));
            float strength = field.nebula * dust * rowWeight((y + 0.5f) / gas.height(), field.gasMargin);
            gas.at(x, y) = Colour{0.11f, 0.03f, 0.16f} * (violet * violet * strength) +
                           Colour{0.01f, 0.07f, 0.11f} * (teal * teal * strength);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Colour c = gas.sampleTiled((x + 0.5f) / w, (y + 0.5f) / h);
            sky.at(x, y) = sky.at(x, y) + c;
        }
    for (int i = 0; i < field.stars; ++i) {
        float x = rng.range(0, float(w)), y = rng.range(0, float(h));
        // Most stars are faint; a few percent are bright enough to wear a halo and spikes.
        float b = 0.10f + 0.9f * std::pow(rng.uniform(), 7.0f);
        Colour tint = starTint(rng);
        if (field.starMargin > 0 && rng.uniform() >= rowWeight(y / h, field.starMargin)) continue;
        sky.addWrapped(x, y, 0.6f + 0.8f * b, tint * (b * 1.6f));
        if (b > 0.85f) {
            sky.addWrapped(x, y, 5.0f, tint * (0.05f * b));
            for (int s = 3; s < 14; ++s) {
                float f = 0.22f * b * std::exp(-s / 4.0f);
                sky.addWrapped(x + s, y, 0.6f, tint * f);
                sky.addWrapped(x - s, y, 0.6f, tint * f);
                sky.addWrapped(x, y + s, 0.6f, tint * f);
                sky.addWrapped(x, y - s, 0.6f, tint * f);
            }
        }
    }
    return sky;
}

// One repeat spans 360 / SkyRepeats degrees round the sky but 180 / SkyRepeats from pole to pole, so the
// picture is twice as wide as high for the stars to come out round at the equator. Nearer the poles the
// sphere squeezes each row more and more across, so the gas is painted three times wider than high:
// squeezed, its wisps still look like clouds and not like rays.
Image paintSky() {
    const int height = 1024, width = height * (360 / SkyRepeats) / (180 / SkyRepeats);
    StarField field;
    field.stars = 10000;
    field.gasWidth = 1024;
    field.gasHeight = 340;
    field.gasMargin = 0.3f;
    field.starMargin = 0.1f;
    return paintStars(width, height, 1101, field);
}

// Particle sprites, each faded out inside the triangle the game draws it on.
#include "tools/images/Sprites.h"

#include <cmath>
#include <functional>

#include "effects/ParticleSprite.h"
#include "tools/images/Noise.h"

namespace {

// A sprite must fade out inside the circle that fits the triangle of the game's texture corners, or its
// straight edges show on screen. The triangle is isosceles, apex up: the circle's radius is its area
// over half its perimeter (about 0.309 of the picture), its centre that far above the base.
const SpriteCorner apex = SpriteTexCorners[0], right = SpriteTexCorners[1], left = SpriteTexCorners[2];
const float spriteBase = right.u - left.u, spriteHeight = right.v - apex.v;
const float spriteSide = std::sqrt(spriteBase / 2 * (spriteBase / 2) + spriteHeight * spriteHeight);
const float spriteRadius = spriteBase * spriteHeight / 2 / (spriteBase / 2 + spriteSide);
const float spriteCentreU = apex.u, spriteCentreV = right.v - spriteRadius;

// Paints a sprite whose colour and alpha depend on the distance from the fitted circle's centre
// (0 there, 1 at a margin inside its rim) and on the direction; alpha is exactly 0 beyond.
Image paintSprite(int size, const std::function<Colour(float d, float angle)>& look) {
    Image sprite(size, size, {1, 1, 1, 0});
    float radius = spriteRadius * 0.94f * size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = x + 0.5f - spriteCentreU * size, dy = y + 0.5f - spriteCentreV * size;
            float d = std::hypot(dx, dy) / radius;
            Colour c = look(std::fmin(d, 1.0f), std::atan2(dy, dx));
            if (d >= 1) c.a = 0;
            sprite.at(x, y) = c;
        }
    return sprite;
}

} // namespace

// A fireball: white-hot core, orange body, red fringe. Ship and planet blasts tint it white, so the
// colour here is what the player sees.
Image paintFireSprite(int size) {
    return paintSprite(size, [](float d, float) {
        Colour c = mix(Colour{1.0f, 0.97f, 0.86f}, Colour{1.0f, 0.66f, 0.22f}, smoothstep(0.0f, 0.45f, d));
        c = mix(c, Colour{0.92f, 0.26f, 0.06f}, smoothstep(0.4f, 0.95f, d));
        float k = 1 - d * d;
        c.a = clamp01(0.55f * k * k + 0.45f * std::exp(-d * d / 0.06f));
        return c;
    });
}

// A bright ring round a faint core, left white so reward bursts keep their own colours.
Image paintRingSprite(int size) {
    return paintSprite(size, [](float d, float) {
        float ring = std::exp(-std::pow((d - 0.68f) / 0.14f, 2.0f));
        float core = 0.35f * std::exp(-d * d / 0.05f) + 0.12f * (1 - d * d);
        Colour c{0.94f, 0.97f, 1.0f};
        c.a = clamp01((ring + core) * smoothstep(1.0f, 0.9f, d));
        return c;
    });
}

// A lumpy puff, brighter in the middle; the trail tints it from blue flame to dark smoke.
Image paintSmokeSprite(int size) {
    Noise noise(1206); // a seed whose puff is dense in the middle
    return paintSprite(size, [&noise](float d, float angle) {
        Vec3f at{std::cos(angle) * d * 2.5f, std::sin(angle) * d * 2.5f, 0.5f};
        float billow = noise.fbm(at, 4);
        float lobe = 0.18f * noise.at({std::cos(angle) * 1.6f, std::sin(angle) * 1.6f, 3.3f});
        float body = smoothstep(1.0f, 0.25f, d + lobe) * (0.7f + 0.6f * billow);
        Colour c = mix(Colour{1, 1, 1}, Colour{0.82f, 0.82f, 0.84f}, d);
        c.a = clamp01(0.85f * body);
        return c;
    });
}

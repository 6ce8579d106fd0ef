// make_images: paints the title, star field, planet maps and particle sprites into <outdir>/images, and
// the desktop icon into <outdir>/icons.
#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "data/Constants.h"
#include "image/Image.h"
#include "image/Noise.h"
#include "image/PlanetMaps.h"

#ifndef GRAVIMEL_FONT_DIR
#define GRAVIMEL_FONT_DIR "/usr/share/fonts/truetype/liberation"
#endif

namespace {

const float pi = 3.14159265f;

// ---- star fields -------------------------------------------------------------------------------

Colour starTint(Random& rng) {
    float t = rng.uniform();
    if (t < 0.55f) return {1.0f, 1.0f, 1.0f};
    if (t < 0.72f) return {0.72f, 0.82f, 1.0f};
    if (t < 0.86f) return {1.0f, 0.94f, 0.76f};
    if (t < 0.95f) return {1.0f, 0.76f, 0.52f};
    return {1.0f, 0.55f, 0.45f};
}

// How a star field is laid out. The defaults paint a flat picture.
struct StarField {
    int stars = 1400;
    float nebula = 1.0f; // strength of the coloured gas
    int gasWidth = 340;  // pixels per repeat of the gas's coarsest features, across and down
    int gasHeight = 340;
    // Shares of the height at the top and at the bottom over which the gas and the stars fade out.
    float gasMargin = 0, starMargin = 0;
};

// How much of the stars and gas a row keeps, 0 to 1. The game repeats the sky four times from pole to
// pole, so the top and bottom rows meet in one point at each pole, where anything painted on them is
// drawn out into rays; they stay empty, and the sky comes in gently so that where the same rows meet at
// the equator and at 45 degrees no band shows.
float rowWeight(float v, float margin) {
    if (margin <= 0) return 1;
    return smoothstep(0.0f, margin, std::fmin(v, 1 - v));
}

// Dark space with faint nebulae and stars of every brightness. Everything wraps at the edges, because
// the game repeats the picture four times round the sky and four times from pole to pole.
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

// The sky sphere's picture. Twice as wide as high: one repeat spans 90 degrees round the sky but 45 from
// pole to pole, so the stars come out round at the equator. Nearer the poles the sphere squeezes each
// row more and more across, so the gas is painted three times wider than high: squeezed, its wisps
// still look like clouds and not like rays.
Image paintSky() {
    StarField field;
    field.stars = 10000;
    field.gasWidth = 1024;
    field.gasHeight = 340;
    field.gasMargin = 0.3f;
    field.starMargin = 0.1f;
    return paintStars(2048, 1024, 1101, field);
}

// ---- particle sprites ----------------------------------------------------------------------------

// Particles and smoke are drawn as triangles with texture corners (0.5, 0), (1, 1) and (0, 1). A sprite
// must fade out inside the circle that fits that triangle, or its straight edges show on screen.
const float spriteRadius = 0.5f / (0.5f + std::sqrt(1.25f)); // about 0.309 of the picture
const float spriteCentreU = 0.5f, spriteCentreV = 1 - spriteRadius;

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

// ---- title screen ------------------------------------------------------------------------------

// Coverage of rendered text, 0 to 1 per pixel.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> a;

    float at(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : a[size_t(y) * w + x]; }
};

// Text is rendered with a margin round it so that blurred glows and shadows have room.
Mask renderText(TTF_Font* font, const char* text, int margin) {
    Mask m;
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* s = font ? TTF_RenderText_Blended(font, text, white) : nullptr;
    if (!s) return m;
    m.w = s->w + 2 * margin;
    m.h = s->h + 2 * margin;
    m.a.assign(size_t(m.w) * m.h, 0.0f);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            Uint32 pixel = *(Uint32*)((Uint8*)s->pixels + y * s->pitch + x * 4);
            Uint8 r, g, b, alpha;
            SDL_GetRGBA(pixel, s->format, &r, &g, &b, &alpha);
            m.a[size_t(y + margin) * m.w + x + margin] = alpha / 255.0f;
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return m;
}

// Three box passes each way: close enough to a Gaussian for glows.
Mask blurred(const Mask& m, int radius) {
    Mask out = m, tmp = m;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += out.at(x + k, y);
                tmp.a[size_t(y) * m.w + x] = s / (2 * radius + 1);
            }
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += tmp.at(x, y + k);
                out.a[size_t(y) * m.w + x] = s / (2 * radius + 1);
            }
    }
    return out;
}

enum class Blend { Over, Add };

void paintMask(Image& canvas, const Mask& m, int left, int top, float opacity, Blend blend,
               const std::function<Colour(float fx, float fy)>& colour) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            int cx = left + x, cy = top + y;
            float a = clamp01(m.at(x, y) * opacity);
            if (a <= 0 || cx < 0 || cy < 0 || cx >= canvas.width() || cy >= canvas.height()) continue;
            Colour c = colour(float(x) / m.w, float(y) / m.h);
            Colour& p = canvas.at(cx, cy);
            p = blend == Blend::Add ? p + c * a : mix(p, c, a);
        }
}

// A lit globe, coloured by surface(latitude, longitude), with a thin atmosphere glowing on its day side.
// Its axis is rolled by tilt in the picture's plane and pitched toward the viewer by nod.
void drawPlanet(Image& canvas, const std::function<Colour(float, float)>& surface, float cx, float cy,
                float r, float spin, float tilt, float nod, Vec3f light, Colour atmosphere) {
    light = light.unit();
    int x0 = std::max(0, int(cx - r * 1.2f)), x1 = std::min(canvas.width() - 1, int(cx + r * 1.2f));
    int y0 = std::max(0, int(cy - r * 1.2f)), y1 = std::min(canvas.height() - 1, int(cy + r * 1.2f));
    float ct = std::cos(tilt), st = std::sin(tilt), cn = std::cos(nod), sn = std::sin(nod);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float dx = (x + 0.5f - cx) / r, dy = (cy - y - 0.5f) / r;
            float d = std::hypot(dx, dy);
            Colour& p = canvas.at(x, y);
            float facing = clamp01(0.5f + 0.8f * (dx * light.x + dy * light.y) / std::fmax(d, 1e-3f));
            if (d > 1) {
                float halo = std::exp(-(d - 1) * r / (0.025f * r + 2)) * facing;
                p = p + atmosphere * (0.6f * halo);
                continue;
            }
            Vec3f n{dx, dy, std::sqrt(std::fmax(0.0f, 1 - d * d))};
            Vec3f rolled{n.x * ct - n.y * st, n.x * st + n.y * ct, n.z};
            Vec3f body{rolled.x, rolled.y * cn - rolled.z * sn, rolled.y * sn + rolled.z * cn};
            float lat = std::asin(std::fmax(-1.0f, std::fmin(1.0f, body.y)));
            Colour ground = surface(lat, std::atan2(body.x, body.z) + spin);
            float lit = std::fmax(0.0f, n.dot(light));
            float rim = std::pow(1 - n.z, 2.5f);
            Colour c = ground * (0.025f + 1.05f * lit) + atmosphere * (rim * (0.15f + 0.9f * lit));
            p = mix(p, c, clamp01((1 - d) * r + 0.5f));
        }
}

std::function<Colour(float, float)> mapSurface(const std::string& name, int width) {
    auto map = std::make_shared<Image>(paintPlanetMap(name, width, width / 2));
    return [map](float lat, float lon) {
        float u = lon / (2 * pi);
        return map->sample(u - std::floor(u), 0.5f - lat / pi);
    };
}

// Rings seen at a slant; the far half is drawn before the globe and the near half after it.
void drawRings(Image& canvas, float cx, float cy, float r, float angle, float squash, bool nearHalf,
               Vec3f light) {
    float ca = std::cos(angle), sa = std::sin(angle);
    float reach = r * 2.4f;
    for (int y = std::max(0, int(cy - reach)); y < std::min(canvas.height(), int(cy + reach)); ++y)
        for (int x = std::max(0, int(cx - reach)); x < std::min(canvas.width(), int(cx + reach)); ++x) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float rx = dx * ca + dy * sa, ry = -dx * sa + dy * ca;
            if ((ry > 0) != nearHalf) continue;
            float rho = std::hypot(rx, ry / squash) / r;
            if (rho < 1.3f || rho > 2.3f) continue;
            float bands = 0.65f + 0.2f * std::sin(rho * 60) + 0.15f * std::sin(rho * 23);
            float gap = smoothstep(0.015f, 0.04f, std::fabs(rho - 1.95f));
            float density = bands * gap * smoothstep(1.3f, 1.38f, rho) * smoothstep(2.3f, 2.2f, rho);
            float lit = 0.55f + 0.45f * clamp01(-(rx * light.x) / (r * 2.3f) + 0.5f);
            Colour ringColour =
                mix(Colour{0.78f, 0.70f, 0.55f}, Colour{0.95f, 0.90f, 0.78f}, smoothstep(1.4f, 2.1f, rho));
            canvas.at(x, y) = mix(canvas.at(x, y), ringColour * lit, clamp01(density * 0.85f));
        }
}

// A glowing laser bolt: a white-hot core inside a coloured glow, added onto the picture.
void drawBeam(Image& canvas, float x0, float y0, float x1, float y1, Colour colour) {
    float lx = x1 - x0, ly = y1 - y0, len2 = lx * lx + ly * ly;
    int left = std::max(0, int(std::fmin(x0, x1)) - 12),
        right = std::min(canvas.width() - 1, int(std::fmax(x0, x1)) + 12);
    int top = std::max(0, int(std::fmin(y0, y1)) - 12),
        bottom = std::min(canvas.height() - 1, int(std::fmax(y0, y1)) + 12);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = clamp01((px * lx + py * ly) / len2);
            float ex = px - t * lx, ey = py - t * ly, d2 = ex * ex + ey * ey;
            float fadeOut = smoothstep(0.0f, 0.25f, t); // the tail cools
            float core = std::exp(-d2 / 1.2f), glow = std::exp(-d2 / 30.0f);
            Colour& p = canvas.at(x, y);
            p = p + (Colour{1, 1, 1} * core * 0.9f + colour * (core * 0.6f + glow * 0.45f)) * fadeOut;
        }
}

// A ship breaking up: a hot flash and a spray of embers.
void drawExplosion(Image& canvas, float cx, float cy, float size, uint32_t seed) {
    Random rng(seed);
    for (int y = std::max(0, int(cy - size * 3)); y < std::min(canvas.height(), int(cy + size * 3)); ++y)
        for (int x = std::max(0, int(cx - size * 3)); x < std::min(canvas.width(), int(cx + size * 3)); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / size;
            Colour& p = canvas.at(x, y);
            p = p + Colour{1.0f, 0.85f, 0.55f} * (1.2f * std::exp(-d * d * 4)) +
                Colour{1.0f, 0.4f, 0.1f} * (0.35f * std::exp(-d * 1.5f));
        }
    for (int y = std::max(0, int(cy - size * 3)); y < std::min(canvas.height(), int(cy + size * 3)); ++y)
        for (int x = std::max(0, int(cx - size * 3)); x < std::min(canvas.width(), int(cx + size * 3)); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / size - 1.9f;
            Colour& p = canvas.at(x, y);
            p = p + Colour{0.6f, 0.75f, 1.0f} * (0.25f * std::exp(-d * d / 0.06f)); // the shock front
        }
    for (int i = 0; i < 400; ++i) {
        float a = rng.range(0, 2 * pi), dist = size * 2.4f * std::pow(rng.uniform(), 0.7f);
        float heat = 1 - dist / (size * 2.4f);
        Colour c = mix(Colour{0.9f, 0.25f, 0.05f}, Colour{1.0f, 0.9f, 0.6f}, heat);
        canvas.addWrapped(cx + std::cos(a) * dist, cy + std::sin(a) * dist, rng.range(0.6f, 1.6f),
                          c * rng.range(0.4f, 1.2f));
    }
}

bool insidePolygon(const std::vector<std::pair<float, float>>& poly, float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        auto [xi, yi] = poly[i];
        auto [xj, yj] = poly[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

// A fighter seen from above: swept wings in the player's colour, a canopy, and a glowing engine.
void drawShip(Image& canvas, float cx, float cy, float size, Vec3f heading, Colour colour) {
    const std::vector<std::pair<float, float>> hull = {
        {1.0f, 0},       {0.3f, 0.13f},   {-0.35f, 0.8f},  {-0.55f, 0.8f},  {-0.4f, 0.18f}, {-0.6f, 0.13f},
        {-0.6f, -0.13f}, {-0.4f, -0.18f}, {-0.55f, -0.8f}, {-0.35f, -0.8f}, {0.3f, -0.13f}};
    Vec3f f = heading.unit();
    for (int y = std::max(0, int(cy - size * 2)); y < std::min(canvas.height(), int(cy + size * 2)); ++y)
        for (int x = std::max(0, int(cx - size * 2)); x < std::min(canvas.width(), int(cx + size * 2)); ++x) {
            Colour& p = canvas.at(x, y);
            float cover = 0;
            for (int s = 0; s < 4; ++s) { // 4 samples a pixel keep the small silhouette smooth
                float dx = (x + 0.25f + 0.5f * (s & 1) - cx) / size,
                      dy = (y + 0.25f + 0.5f * (s >> 1) - cy) / size;
                cover += insidePolygon(hull, dx * f.x + dy * f.y, -dx * f.y + dy * f.x) ? 0.25f : 0.0f;
            }
            float dx = (x + 0.5f - cx) / size, dy = (y + 0.5f - cy) / size;
            float fwd = dx * f.x + dy * f.y, side = -dx * f.y + dy * f.x;
            Colour metal =
                mix(colour, Colour{0.85f, 0.87f, 0.9f}, 0.35f) * (0.55f + 0.45f * clamp01(0.5f - side));
            float canopy = smoothstep(1.0f, 0.7f, std::hypot((fwd - 0.3f) / 0.22f, side / 0.09f));
            metal = mix(metal, Colour{0.55f, 0.8f, 1.0f}, canopy);
            p = mix(p, metal, cover);
            float ex = fwd + 0.62f, engine = std::exp(-(ex * ex * 40 + side * side * 30));
            p = p + mix(colour, Colour{1, 1, 1}, 0.5f) * (engine * 1.5f);
        }
}

// Twin bolts leave from beside the nose and fly along the heading.
void fireLasers(Image& canvas, float cx, float cy, float size, Vec3f heading, float length, Colour colour) {
    Vec3f f = heading.unit();
    for (float side : {-0.35f, 0.35f}) {
        float sx = cx + f.x * size * 1.1f - f.y * size * side,
              sy = cy + f.y * size * 1.1f + f.x * size * side;
        drawBeam(canvas, sx, sy, sx + f.x * length, sy + f.y * length, colour);
    }
}

struct TitleText {
    Mask title, byline, loading;
    int titleMargin = 24;
};

// SDL keeps per-thread state that a worker thread would leak, so the fonts are used on the main thread only.
bool renderTitleText(const std::string& fontDir, const std::string& fallbackFont, TitleText& text) {
    auto open = [&](const char* file, int size) {
        TTF_Font* f = TTF_OpenFont((fontDir + "/" + file).c_str(), size);
        return f ? f : TTF_OpenFont(fallbackFont.c_str(), size);
    };
    TTF_Font* big = open("LiberationSans-Bold.ttf", 118);
    TTF_Font* sub = open("LiberationSans-BoldItalic.ttf", 36);
    TTF_Font* small = open("LiberationSans-Regular.ttf", 22);
    bool ok = big && sub && small;
    if (ok) {
        text.title = renderText(big, "GRAVIMEL", text.titleMargin);
        text.byline = renderText(sub, "by Pellworth", 12);
        text.loading = renderText(small, "Loading...", 8);
        ok = text.title.w > 0 && text.byline.w > 0 && text.loading.w > 0;
    }
    if (!ok) std::printf("Error: could not render the title text: %s\n", TTF_GetError());
    for (TTF_Font* f : {big, sub, small})
        if (f) TTF_CloseFont(f);
    return ok;
}

bool paintTitle(const std::string& path, const TitleText& text) {
    const int w = ScreenWidth, h = ScreenHeight; // shown over the whole window
    StarField field;
    field.nebula = 1.6f;
    Image canvas = paintStars(w, h, 1301, field);

    Vec3f light{-0.75f, 0.45f, 0.5f};
    auto saturn = mapSurface("saturn", 512);
    drawRings(canvas, 688, 300, 60, -0.35f, 0.28f, false, light);
    drawPlanet(canvas, saturn, 688, 300, 60, 0.3f, -0.35f, 0.25f, light, {0.55f, 0.50f, 0.35f});
    drawRings(canvas, 688, 300, 60, -0.35f, 0.28f, true, light);
    drawPlanet(canvas, mapSurface("moon", 256), 560, 236, 13, 0.8f, 0.0f, 0.0f, light, {0.2f, 0.2f, 0.2f});
    drawPlanet(canvas, mapSurface("mars", 512), 108, 250, 36, 2.2f, 0.2f, 0.2f, light, {0.7f, 0.35f, 0.2f});
    drawPlanet(canvas, earthSurface, 250, 905, 520, 2.7f, 0.25f, 0.65f, {-0.4f, 0.7f, 0.55f},
               {0.30f, 0.55f, 1.0f});

    // A red fighter has just shot down a green one; another green fighter comes in firing.
    const Colour red{0.8f, 0.2f, 0.2f}, green{0.0f, 0.8f, 0.2f};
    Vec3f redHeading{210, -42, 0}, greenHeading{-490, -120, 0};
    fireLasers(canvas, 232, 348, 23, redHeading, 150, red);
    drawExplosion(canvas, 470, 300, 17, 1302);
    fireLasers(canvas, 742, 478, 19, greenHeading, 140, green);
    drawShip(canvas, 232, 348, 23, redHeading, red);
    drawShip(canvas, 742, 478, 19, greenHeading, green);

    const Mask& title = text.title;
    const int margin = text.titleMargin;
    int tx = (w - title.w) / 2, ty = 46;
    Mask shadow = blurred(title, 4), glow = blurred(title, 12), outline = blurred(title, 2);
    paintMask(canvas, glow, tx, ty, 1.3f, Blend::Add, [](float, float) {
        return Colour{1.0f, 0.42f, 0.08f};
    });
    paintMask(canvas, shadow, tx + 6, ty + 8, 1.2f, Blend::Over, [](float, float) {
        return Colour{0, 0, 0};
    });
    paintMask(canvas, outline, tx, ty, 3.0f, Blend::Over, [](float, float) {
        return Colour{0.18f, 0.04f, 0.0f};
    });
    // The glyphs fill only the middle of the rendered box; the fill's gradient spans the letters themselves.
    paintMask(canvas, title, tx, ty, 1.0f, Blend::Over, [&](float, float fy) {
        float t = clamp01((fy * title.h - margin - 0.2f * (title.h - 2 * margin)) /
                          (0.62f * (title.h - 2 * margin)));
        Colour c = mix(Colour{1.0f, 0.97f, 0.74f}, Colour{1.0f, 0.64f, 0.12f}, smoothstep(0.0f, 0.5f, t));
        c = mix(c, Colour{0.80f, 0.16f, 0.04f}, smoothstep(0.5f, 1.0f, t));
        return c + Colour{0.25f, 0.25f, 0.2f} * std::exp(-std::pow((t - 0.47f) / 0.04f, 2.0f));
    });

    const Mask& by = text.byline;
    int bx = (w - by.w) / 2, byTop = 178;
    paintMask(canvas, blurred(by, 6), bx, byTop, 1.2f, Blend::Add, [](float, float) {
        return Colour{0.2f, 0.45f, 1.0f};
    });
    paintMask(canvas, blurred(by, 2), bx + 3, byTop + 4, 1.5f, Blend::Over, [](float, float) {
        return Colour{0, 0, 0};
    });
    paintMask(canvas, by, bx, byTop, 1.0f, Blend::Over, [](float, float fy) {
        return mix(Colour{1, 1, 1}, Colour{0.62f, 0.74f, 0.95f}, smoothstep(0.35f, 0.75f, fy));
    });

    const Mask& loading = text.loading;
    int lx = (w - loading.w) / 2, ly = 548;
    paintMask(canvas, blurred(loading, 3), lx + 2, ly + 2, 1.6f, Blend::Over, [](float, float) {
        return Colour{0, 0, 0};
    });
    paintMask(canvas, loading, lx, ly, 1.0f, Blend::Over, [](float, float) {
        return Colour{0.9f, 0.93f, 1.0f};
    });

    return canvas.writeJpeg(path, 92);
}

// ---- icon ------------------------------------------------------------------------------------------

// The desktop icon: planet 0's blue and green world in a rounded square of space, and a red fighter
// firing at it. Painted at several times its size and shrunk, so that its small versions stay smooth.
Image paintIcon(int size, int supersample) {
    const int s = size * supersample;
    const float f = float(s);
    StarField field;
    field.stars = s * s / 900;
    field.nebula = 1.4f;
    field.gasWidth = field.gasHeight = std::max(1, s / 2);
    Image canvas = paintStars(s, s, 1401, field);
    drawPlanet(canvas, earthSurface, 0.64f * f, 0.66f * f, 0.40f * f, 2.7f, 0.25f, 0.5f, {-0.5f, 0.6f, 0.6f},
               {0.30f, 0.55f, 1.0f});
    const Colour red{0.8f, 0.2f, 0.2f};
    const Vec3f heading{1.0f, 0.55f, 0};
    fireLasers(canvas, 0.26f * f, 0.30f * f, 0.13f * f, heading, 0.22f * f, red);
    drawShip(canvas, 0.26f * f, 0.30f * f, 0.13f * f, heading, red);

    // The rounded square, anti-aliased by the shrinking.
    const float corner = 0.2f * f, inset = 0.02f * f;
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            float dx = std::fmax(0.0f, std::fabs(x + 0.5f - f / 2) - (f / 2 - inset - corner));
            float dy = std::fmax(0.0f, std::fabs(y + 0.5f - f / 2) - (f / 2 - inset - corner));
            canvas.at(x, y).a = std::hypot(dx, dy) <= corner ? 1.0f : 0.0f;
        }
    return canvas.shrunk(supersample);
}

// Runs the jobs on every core; each job paints and writes one file.
bool runAll(const std::vector<std::function<bool()>>& jobs) {
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto worker = [&] {
        for (size_t i; (i = next++) < jobs.size();)
            if (!jobs[i]()) ok = false;
    };
    std::vector<std::thread> threads;
    unsigned n = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    for (unsigned i = 0; i < n; ++i)
        threads.emplace_back(worker);
    for (std::thread& t : threads)
        t.join();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: make_images <outdir> [font directory]\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string fontDir = argc > 2 ? argv[2] : GRAVIMEL_FONT_DIR;
    const std::string images = out + "/images/";
    std::error_code error;
    std::filesystem::create_directories(images, error);
    if (error) {
        std::printf("Error: could not create %s: %s\n", images.c_str(), error.message().c_str());
        return 1;
    }
    if (TTF_Init() == -1) {
        std::printf("Unable to initialize SDL_ttf: %s\n", TTF_GetError());
        return 1;
    }
    TitleText text;
    bool rendered = renderTitleText(fontDir, out + "/fonts/arial.ttf", text);
    TTF_Quit();
    if (!rendered) return 1;

    std::vector<std::function<bool()>> jobs;
    auto add = [&](const std::string& file, std::function<bool(const std::string&)> job) {
        jobs.push_back([file, job] {
            bool ok = job(file);
            if (!ok) std::printf("Error: could not write %s\n", file.c_str());
            return ok;
        });
    };
    add(images + "titlescreen.jpg", [&text](const std::string& f) { return paintTitle(f, text); });
    add(images + "stars.jpg", [](const std::string& f) { return paintSky().writeJpeg(f, 92); });
    for (const std::string& name : planetMapNames())
        add(images + "map-" + name + ".jpg",
            [name](const std::string& f) { return paintPlanetMap(name, 1024, 512).writeJpeg(f, 90); });
    add(images + "particlealphanormal.tga",
        [](const std::string& f) { return paintFireSprite(64).writeTga(f); });
    add(images + "particlealphacircle.tga",
        [](const std::string& f) { return paintRingSprite(64).writeTga(f); });
    add(images + "smoketrail.tga", [](const std::string& f) { return paintSmokeSprite(64).writeTga(f); });

    // The desktop icon, in the folders of the icon theme it is installed into.
    for (int size : {256, 48}) {
        const std::string dir =
            out + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir, error);
        if (error) {
            std::printf("Error: could not create %s: %s\n", dir.c_str(), error.message().c_str());
            return 1;
        }
        add(dir + "/gravimel.png", [size](const std::string& f) { return paintIcon(size, 4).writePng(f); });
    }

    bool ok = runAll(jobs);
    if (ok) std::printf("Wrote %zu images to %s and %s/icons\n", jobs.size(), images.c_str(), out.c_str());
    return ok ? 0 : 1;
}

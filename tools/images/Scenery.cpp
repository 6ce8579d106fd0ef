// The illustration's planets, rings, fighters, bolts and explosion.
#include "tools/images/Scenery.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "tools/images/Noise.h"
#include "tools/images/PlanetMaps.h"
#include "tools/support/Pi.h"

namespace {

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

bool insidePolygon(const std::vector<std::pair<float, float>>& poly, float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        auto [xi, yi] = poly[i];
        auto [xj, yj] = poly[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

} // namespace

void drawPlanet(Image& canvas, const Surface& surface, float cx, float cy, float r, float spin, float tilt,
                float nod, Vec3f light, Colour atmosphere) {
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

Surface mapSurface(const std::string& name, int width) {
    auto map = std::make_shared<Image>(paintPlanetMap(name, width, width / 2));
    return [map](float lat, float lon) {
        float u = lon / (2 * PiF);
        return map->sample(u - std::floor(u), 0.5f - lat / PiF);
    };
}

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
        float a = rng.range(0, 2 * PiF), dist = size * 2.4f * std::pow(rng.uniform(), 0.7f);
        float heat = 1 - dist / (size * 2.4f);
        Colour c = mix(Colour{0.9f, 0.25f, 0.05f}, Colour{1.0f, 0.9f, 0.6f}, heat);
        canvas.addWrapped(cx + std::cos(a) * dist, cy + std::sin(a) * dist, rng.range(0.6f, 1.6f),
                          c * rng.range(0.4f, 1.2f));
    }
}

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

void fireLasers(Image& canvas, float cx, float cy, float size, Vec3f heading, float length, Colour colour) {
    Vec3f f = heading.unit();
    for (float side : {-0.35f, 0.35f}) {
        float sx = cx + f.x * size * 1.1f - f.y * size * side,
              sy = cy + f.y * size * 1.1f + f.x * size * side;
        drawBeam(canvas, sx, sy, sx + f.x * length, sy + f.y * length, colour);
    }
}

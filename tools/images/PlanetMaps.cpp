// Procedural planet surfaces: noise sampled on the unit sphere, craters stamped on a height field.
#include "tools/images/PlanetMaps.h"

#include <cmath>
#include <functional>

#include "tools/images/Noise.h"
#include "tools/support/Pi.h"

namespace {

// One texel's place on the sphere; z is the polar axis, so latitude circles are map rows.
struct Texel {
    Vec3f p;
    float lat, lon;
    int x, y;
};

// Cylindrical coordinates that stretch noise along the latitude circles, for banded atmospheres.
Vec3f zonal(const Texel& t, float around, float across) {
    return {t.p.x * around, t.p.y * around, t.lat * across};
}

void forEachTexel(Image& map, const std::function<Colour(const Texel&)>& paint) {
    for (int y = 0; y < map.height(); ++y) {
        float lat = (0.5f - (y + 0.5f) / map.height()) * PiF;
        for (int x = 0; x < map.width(); ++x) {
            float lon = (x + 0.5f) / map.width() * 2 * PiF;
            Vec3f p{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
            map.at(x, y) = paint({p, lat, lon, x, y});
        }
    }
}

// Colour stops down the planet from one pole to the other, by latitude in degrees (descending).
struct Band {
    float lat;
    Colour colour;
};

Colour bandColour(const std::vector<Band>& bands, float latDegrees) {
    if (latDegrees >= bands.front().lat) return bands.front().colour;
    for (size_t i = 1; i < bands.size(); ++i)
        if (latDegrees >= bands[i].lat) {
            float t = (bands[i - 1].lat - latDegrees) / (bands[i - 1].lat - bands[i].lat);
            return mix(bands[i - 1].colour, bands[i].colour, smoothstep(0, 1, t));
        }
    return bands.back().colour;
}

// Longitude difference folded into -pi..pi, so features straddling the seam stay whole.
float lonDelta(float a, float b) {
    float d = std::fmod(a - b, 2 * PiF);
    if (d > PiF) d -= 2 * PiF;
    if (d < -PiF) d += 2 * PiF;
    return d;
}

// Heights and brightness of a rocky surface, kept per texel so craters can be stamped over it.
struct Relief {
    int w, h;
    std::vector<float> height, albedo;

    Relief(int width, int height_) : w(width), h(height_), height(size_t(w) * h), albedo(size_t(w) * h, 1) {}
    size_t index(int x, int y) const { return size_t(y) * w + x; }

    // Light falls from one side of the map, so slopes facing it brighten; flat ground gives 1.
    float shade(int x, int y, float strength) const {
        float lat = (0.5f - (y + 0.5f) / h) * PiF;
        float stepX = 2 * PiF / w * std::fmax(std::cos(lat), 0.05f), stepY = PiF / h;
        float east = height[index((x + 1) % w, y)] - height[index((x + w - 1) % w, y)];
        float north = height[index(x, y > 0 ? y - 1 : y)] - height[index(x, y + 1 < h ? y + 1 : y)];
        Vec3f n = Vec3f(-east / (2 * stepX) * strength, -north / (2 * stepY) * strength, 1).unit();
        Vec3f light = Vec3f(-0.6f, 0.5f, 0.65f).unit();
        return std::fmax(0.15f, n.dot(light) / light.z);
    }
};

struct CraterStyle {
    int count;
    float minRadius, maxRadius;          // radians of arc
    float depth;                         // bowl depth per radian of radius
    float rayChance;                     // share of young craters that throw bright rays
    std::function<float(Vec3f)> density; // 0..1: how much a crater at a point shows (maria bury them)
};

float rayPattern(float azimuth, const float phase[3]) {
    float s = std::sin(azimuth * 7 + phase[0]) * std::sin(azimuth * 11 + phase[1]) *
              std::sin(azimuth * 17 + phase[2]);
    return std::pow(std::fabs(s), 3.0f);
}

void addCraters(Relief& relief, Random& rng, const CraterStyle& style) {
    std::vector<float> cosLon(relief.w), sinLon(relief.w);
    for (int x = 0; x < relief.w; ++x) {
        float lon = (x + 0.5f) / relief.w * 2 * PiF;
        cosLon[x] = std::cos(lon);
        sinLon[x] = std::sin(lon);
    }
    for (int i = 0; i < style.count; ++i) {
        Vec3f c = rng.onSphere();
        // Sizes follow a power law: each halving of the radius brings about three times as many.
        float r = std::fmin(style.maxRadius, style.minRadius * std::pow(1 - rng.uniform(), -1 / 1.6f));
        bool rays = rng.uniform() < style.rayChance;
        float fresh = rng.uniform();
        float phase[3] = {rng.range(0, 6.28f), rng.range(0, 6.28f), rng.range(0, 6.28f)};
        float show = style.density ? style.density(c) : 1.0f;
        if (show <= 0.01f) continue;

        Vec3f e1 = Vec3f(-c.y, c.x, 0).unit();
        if (e1.dot(e1) < 0.5f) e1 = {1, 0, 0};
        Vec3f e2 = c.cross(e1);

        float reach = r * (rays ? 6.0f : 2.2f);
        float latC = std::asin(c.z), lonC = std::atan2(c.y, c.x);
        int y0 = int(std::floor((0.5f - (latC + reach) / PiF) * relief.h)) - 1;
        int y1 = int(std::ceil((0.5f - (latC - reach) / PiF) * relief.h)) + 1;
        for (int y = std::max(0, y0); y <= std::min(relief.h - 1, y1); ++y) {
            float lat = (0.5f - (y + 0.5f) / relief.h) * PiF;
            float cl = std::cos(lat), sl = std::sin(lat);
            int xFrom = 0, xTo = relief.w - 1;
            if (cl > std::sin(std::fmin(reach, PiF / 2)) + 1e-3f) {
                float half = std::asin(std::sin(reach) / cl);
                float mid = lonC < 0 ? lonC + 2 * PiF : lonC;
                xFrom = int(std::floor((mid - half) / (2 * PiF) * relief.w)) - 1;
                xTo = int(std::ceil((mid + half) / (2 * PiF) * relief.w)) + 1;
            }
            for (int xx = xFrom; xx <= xTo; ++xx) {
                int x = ((xx % relief.w) + relief.w) % relief.w;
                Vec3f p{cl * cosLon[x], cl * sinLon[x], sl};
                float angle = std::acos(std::fmax(-1.0f, std::fmin(1.0f, p.dot(c))));
                float d = angle / r;
                if (d * r > reach) continue;
                size_t k = relief.index(x, y);
                float hgt, alb = 0;
                if (d < 1) {
                    hgt = (d * d - 1) + 0.3f * std::pow(d, 8.0f);
                    if (r > style.minRadius * 10) hgt += 0.35f * std::exp(-d * d / 0.03f); // central peak
                    alb = -0.06f * (1 - d * d);
                } else {
                    hgt = 0.3f * std::exp(-(d - 1) * 5);
                    alb = 0.12f * fresh * std::exp(-(d - 1) * 3);
                }
                if (rays && d > 0.8f) {
                    float az = std::atan2(p.dot(e2), p.dot(e1));
                    alb += 0.28f * rayPattern(az, phase) * std::exp(-(d - 1) / 2.0f);
                }
                relief.height[k] += hgt * r * style.depth * show;
                relief.albedo[k] += alb * show;
            }
        }
    }
}

// Grey cratered bodies: the moon and Mercury differ in their tint, maria and crater counts.
Image paintCratered(int w, int h, uint32_t seed, Colour highland, Colour mare, float mareAmount,
                    int craters) {
    Noise noise(seed);
    Random rng(seed * 7919u + 1);
    Relief relief(w, h);
    std::vector<float> mareMap(size_t(w) * h);
    auto mareAt = [&](Vec3f p) {
        // Biased toward one face, as the moon keeps its dark seas on the side it shows.
        float m = noise.fbm(noise.warp(p * 1.3f, 0.3f, 3) + Vec3f{3, 3, 3}, 5) + 0.18f * p.x - 0.08f;
        return mareAmount * smoothstep(-0.04f, 0.1f, m - 0.04f);
    };
    Image map(w, h);
    forEachTexel(map, [&](const Texel& t) {
        size_t k = relief.index(t.x, t.y);
        mareMap[k] = mareAt(t.p);
        relief.height[k] = 0.01f * noise.fbm(t.p * 6, 4) - 0.004f * mareMap[k];
        relief.albedo[k] = 1 + 0.12f * noise.fbm(t.p * 12 + Vec3f{9, 1, 4}, 3);
        return Colour{};
    });
    addCraters(relief, rng,
               {craters, 0.003f, 0.2f, 0.12f, 0.004f, [&](Vec3f c) { return 1 - 0.75f * mareAt(c); }});
    forEachTexel(map, [&](const Texel& t) {
        size_t k = relief.index(t.x, t.y);
        return mix(highland, mare, mareMap[k]) * (relief.albedo[k] * relief.shade(t.x, t.y, 1.8f));
    });
    return map;
}

Colour earthAt(const Texel& t) {
    static const Noise noise(101), clouds(102);
    float absLat = std::fabs(t.lat) * 180 / PiF;
    Vec3f q = noise.warp(t.p * 0.9f, 0.5f, 4);
    float ridge = noise.ridged(t.p * 4, 4);
    float land = noise.fbm(q * 1.2f, 6, 0.55f) + 0.08f * ridge;
    const float sea = 0.12f;
    Colour c;
    if (land < sea) {
        float depth = smoothstep(0.0f, 0.22f, sea - land);
        c = mix(Colour{0.10f, 0.38f, 0.52f}, Colour{0.02f, 0.09f, 0.30f}, depth);
    } else {
        float e = (land - sea) / 0.3f;
        float moisture = noise.fbm(t.p * 3 + Vec3f{20, 0, 0}, 5) + 0.35f;
        float desert =
            smoothstep(0.25f, 0.05f, moisture) * smoothstep(45, 25, absLat) * smoothstep(8, 18, absLat);
        Colour green = mix(Colour{0.22f, 0.42f, 0.14f}, Colour{0.10f, 0.27f, 0.08f},
                           smoothstep(-0.1f, 0.2f, noise.fbm(t.p * 9, 3)));
        c = mix(green, Colour{0.80f, 0.68f, 0.46f}, desert);
        c = mix(c, Colour{0.42f, 0.42f, 0.32f}, smoothstep(50, 62, absLat)); // tundra
        // Mountains rise along ridges inland, not over whole plateaus.
        float range = smoothstep(0.6f, 0.85f, ridge) * smoothstep(0.05f, 0.35f, e);
        c = mix(c, Colour{0.44f, 0.36f, 0.28f}, range);
        c = mix(c, Colour{0.92f, 0.93f, 0.95f}, smoothstep(0.88f, 0.97f, ridge) * smoothstep(0.3f, 0.6f, e));
        c = c * (0.85f + 0.3f * noise.ridged(t.p * 14, 3));
        c = mix(c, Colour{0.70f, 0.72f, 0.55f}, 0.4f * smoothstep(0.012f, 0.0f, land - sea)); // beaches
    }
    float ice = smoothstep(69, 73, absLat + 5 * noise.fbm(t.p * 6, 4));
    c = mix(c, Colour{0.93f, 0.95f, 0.98f}, ice);

    // Cloud belts follow the winds: thick at the equator and in the stormy middle latitudes.
    float belts = 0.5f + 0.25f * std::cos(absLat / 28 * PiF) + 0.2f * smoothstep(35, 55, absLat);
    Vec3f cq = clouds.warp(zonal(t, 2.2f, 3.2f), 0.8f, 4);
    float cover = clouds.fbm(cq * 1.6f, 5) + 0.35f * belts - 0.22f;
    float cloud = smoothstep(0.0f, 0.25f, cover) * 0.92f;
    return mix(c, Colour{0.95f, 0.96f, 0.98f}, cloud);
}

Image paintEarth(int w, int h) {
    Image map(w, h);
    forEachTexel(map, earthAt);
    return map;
}

Image paintVenus(int w, int h) {
    Noise noise(301);
    Image map(w, h);
    forEachTexel(map, [&](const Texel& t) {
        Vec3f q = noise.warp(zonal(t, 1.6f, 4.5f), 1.1f, 4);
        float swirl = noise.fbm(q * 1.4f, 4);
        float streak = noise.fbm(zonal(t, 3, 14) + q * 0.4f, 3);
        float shade = 0.5f + 1.4f * swirl + 0.25f * streak + 0.06f * std::sin(t.lat * 7 + swirl * 4);
        Colour c = mix(Colour{0.66f, 0.48f, 0.24f}, Colour{0.97f, 0.88f, 0.62f}, clamp01(shade));
        return mix(c, Colour{0.93f, 0.86f, 0.68f}, smoothstep(60, 85, std::fabs(t.lat) * 180 / PiF) * 0.6f);
    });
    return map;
}

Image paintMars(int w, int h) {
    Noise noise(401);
    Random rng(402);
    Relief relief(w, h);
    Image map(w, h);
    std::vector<float> dark(size_t(w) * h);
    struct Volcano {
        float lat, lon, radius;
    };
    const Volcano volcanoes[] = {
        {0.32f, 4.0f, 0.10f}, {0.05f, 4.3f, 0.06f}, {0.22f, 4.5f, 0.06f}, {0.40f, 3.6f, 0.07f}};
    forEachTexel(map, [&](const Texel& t) {
        size_t k = relief.index(t.x, t.y);
        float hgt = 0.03f * noise.fbm(t.p * 2.5f, 5);
        // A great rift just south of the equator.
        float rift = std::fabs(t.lat + 0.14f + 0.03f * std::sin(t.lon * 9));
        float span = smoothstep(0.9f, 1.2f, t.lon) * smoothstep(2.4f, 2.0f, t.lon);
        hgt -= 0.012f * std::exp(-rift * rift / 0.0016f) * span;
        for (const Volcano& v : volcanoes) {
            float d = std::hypot(lonDelta(t.lon, v.lon) * std::cos(t.lat), t.lat - v.lat) / v.radius;
            hgt += 0.06f * v.radius * (std::exp(-d * d * 2) - 0.6f * std::exp(-d * d * 60));
        }
        relief.height[k] = hgt;
        float patches = noise.fbm(noise.warp(t.p * 1.4f, 0.5f, 4) + Vec3f{4, 0, 0}, 5);
        float belt = smoothstep(0.9f, 0.2f, std::fabs(t.lat + 0.25f));
        dark[k] = smoothstep(-0.05f, 0.2f, patches + 0.15f * belt - 0.1f) +
                  0.3f * std::exp(-rift * rift / 0.0016f) * span;
        relief.albedo[k] = 1 + 0.1f * noise.fbm(t.p * 14, 3);
        return Colour{};
    });
    addCraters(relief, rng, {1400, 0.003f, 0.08f, 0.10f, 0.0f, nullptr});
    forEachTexel(map, [&](const Texel& t) {
        size_t k = relief.index(t.x, t.y);
        Colour c = mix(Colour{0.82f, 0.47f, 0.27f}, Colour{0.38f, 0.21f, 0.13f}, clamp01(dark[k]) * 0.85f);
        c = c * (relief.albedo[k] * relief.shade(t.x, t.y, 3.0f));
        float edge = 0.05f * noise.fbm(t.p * 7, 4);
        float cap = std::max(smoothstep(1.26f, 1.30f, t.lat + edge), smoothstep(1.33f, 1.37f, -t.lat + edge));
        return mix(c, Colour{0.95f, 0.93f, 0.90f}, cap);
    });
    return map;
}

Image paintJupiter(int w, int h) {
    Noise noise(501);
    const std::vector<Band> bands = {
        {90, {0.52f, 0.50f, 0.47f}},  {62, {0.62f, 0.57f, 0.50f}},  {46, {0.80f, 0.73f, 0.62f}},
        {36, {0.64f, 0.50f, 0.40f}},  {28, {0.91f, 0.86f, 0.75f}},  {18, {0.58f, 0.40f, 0.29f}},
        {9, {0.94f, 0.90f, 0.80f}},   {0, {0.86f, 0.77f, 0.62f}},   {-8, {0.93f, 0.87f, 0.76f}},
        {-15, {0.60f, 0.42f, 0.30f}}, {-23, {0.88f, 0.80f, 0.67f}}, {-31, {0.68f, 0.55f, 0.44f}},
        {-41, {0.85f, 0.78f, 0.66f}}, {-56, {0.64f, 0.58f, 0.50f}}, {-90, {0.52f, 0.50f, 0.47f}}};
    const float spotLat = -0.39f, spotLon = 1.0f, spotW = 0.28f, spotH = 0.12f;
    Image map(w, h);
    forEachTexel(map, [&](const Texel& t) {
        float dx = lonDelta(t.lon, spotLon) * std::cos(t.lat) / spotW, dy = (t.lat - spotLat) / spotH;
        float r = std::hypot(dx, dy);
        // Bands near the spot are wound round it, as the storm drags the belts along.
        float turn = 2.6f * std::exp(-r * r * 0.8f);
        float sdy = dx * std::sin(turn) + dy * std::cos(turn);
        float sampleLat = r < 3 ? spotLat + sdy * spotH : t.lat;
        float turbulence = noise.fbm(noise.warp(zonal(t, 2.5f, 6), 0.9f, 3), 4);
        float fine = noise.fbm(zonal(t, 5, 16) + Vec3f{0, 0, 2 * turbulence}, 3);
        float latDeg = (sampleLat + 0.2f * turbulence + 0.03f * fine) * 180 / PiF;
        Colour c = bandColour(bands, latDeg) * (1 + 0.16f * fine + 0.08f * turbulence);

        Colour spot = Colour{0.80f, 0.38f, 0.23f} * (0.88f + 0.1f * smoothstep(0.9f, 0.2f, r) + 0.25f * fine);
        c = mix(c, Colour{0.95f, 0.90f, 0.82f},
                0.5f * smoothstep(1.5f, 1.15f, r) * smoothstep(0.85f, 1.1f, r));
        c = mix(c, spot, smoothstep(1.0f, 0.75f, r));
        for (int i = 0; i < 3; ++i) { // the white ovals of the southern temperate belt
            float ox = lonDelta(t.lon, 2.6f + i * 1.1f) * std::cos(t.lat) / 0.09f,
                  oy = (t.lat + 0.6f) / 0.05f;
            c = mix(c, Colour{0.96f, 0.94f, 0.90f}, 0.85f * smoothstep(1.0f, 0.6f, std::hypot(ox, oy)));
        }
        return c;
    });
    return map;
}

Image paintSaturn(int w, int h) {
    Noise noise(601);
    const std::vector<Band> bands = {
        {90, {0.58f, 0.61f, 0.62f}},  {72, {0.70f, 0.67f, 0.58f}},  {55, {0.84f, 0.76f, 0.58f}},
        {40, {0.78f, 0.67f, 0.48f}},  {24, {0.91f, 0.83f, 0.64f}},  {12, {0.84f, 0.72f, 0.51f}},
        {0, {0.95f, 0.88f, 0.69f}},   {-12, {0.86f, 0.74f, 0.53f}}, {-26, {0.92f, 0.84f, 0.65f}},
        {-42, {0.79f, 0.68f, 0.49f}}, {-58, {0.85f, 0.77f, 0.60f}}, {-75, {0.70f, 0.67f, 0.58f}},
        {-90, {0.60f, 0.62f, 0.62f}}};
    Image map(w, h);
    forEachTexel(map, [&](const Texel& t) {
        float turbulence = noise.fbm(noise.warp(zonal(t, 2, 10), 0.5f, 3), 3);
        Colour c = bandColour(bands, (t.lat + 0.02f * turbulence) * 180 / PiF);
        return c * (1 + 0.04f * noise.fbm(zonal(t, 4, 16), 3) + 0.03f * std::sin(t.lat * 90));
    });
    return map;
}

Image paintUranus(int w, int h) {
    Noise noise(701);
    Image map(w, h);
    forEachTexel(map, [&](const Texel& t) {
        float pole = smoothstep(-0.2f, 1.3f, t.lat);
        Colour c = mix(Colour{0.53f, 0.79f, 0.85f}, Colour{0.74f, 0.92f, 0.92f}, pole);
        float haze = 0.03f * std::sin(t.lat * 9 + noise.fbm(zonal(t, 2, 8), 4) * 2) +
                     0.03f * noise.fbm(zonal(t, 3, 15), 3);
        return c * (1 + haze);
    });
    return map;
}

Image paintNeptune(int w, int h) {
    Noise noise(801);
    const std::vector<Band> bands = {{90, {0.28f, 0.42f, 0.84f}},  {60, {0.30f, 0.46f, 0.88f}},
                                     {35, {0.15f, 0.26f, 0.68f}},  {12, {0.22f, 0.36f, 0.80f}},
                                     {-10, {0.20f, 0.34f, 0.78f}}, {-32, {0.14f, 0.24f, 0.64f}},
                                     {-60, {0.30f, 0.46f, 0.88f}}, {-90, {0.26f, 0.40f, 0.82f}}};
    Image map(w, h);
    forEachTexel(map, [&](const Texel& t) {
        float turbulence = noise.fbm(noise.warp(zonal(t, 2.5f, 8), 0.8f, 3), 4);
        Colour c = bandColour(bands, (t.lat + 0.06f * turbulence) * 180 / PiF) * (1 + 0.08f * turbulence);
        float sx = lonDelta(t.lon, 2.5f) * std::cos(t.lat) / 0.24f, sy = (t.lat + 0.35f) / 0.11f;
        c = mix(c, Colour{0.07f, 0.12f, 0.38f}, smoothstep(1.0f, 0.6f, std::hypot(sx, sy)));
        float companion = smoothstep(1.0f, 0.3f, std::hypot(sx * 1.3f - 0.3f, (sy + 1.4f) * 1.8f));
        // Bright methane cirrus: thin streaks that trail along the winds.
        float streak = noise.fbm(zonal(t, 1.2f, 18) + Vec3f{0, 0, turbulence}, 3);
        float lanes = smoothstep(0.5f, 1.0f, std::fabs(std::sin(t.lat * 3.8f)));
        float cirrus = std::max(companion, smoothstep(0.2f, 0.38f, streak) * lanes * 0.85f);
        return mix(c, Colour{0.86f, 0.91f, 1.0f}, cirrus);
    });
    return map;
}

} // namespace

Colour earthSurface(float lat, float lon) {
    Vec3f p{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    return earthAt({p, lat, lon, 0, 0});
}

const std::vector<std::string>& planetMapNames() {
    static const std::vector<std::string> names = {"earth",  "mercury", "venus",   "mars", "jupiter",
                                                   "saturn", "uranus",  "neptune", "moon"};
    return names;
}

Image paintPlanetMap(const std::string& name, int width, int height) {
    if (name == "earth") return paintEarth(width, height);
    if (name == "mercury")
        return paintCratered(width, height, 201, {0.64f, 0.60f, 0.55f}, {0.50f, 0.47f, 0.44f}, 0.5f, 9000);
    if (name == "venus") return paintVenus(width, height);
    if (name == "mars") return paintMars(width, height);
    if (name == "jupiter") return paintJupiter(width, height);
    if (name == "saturn") return paintSaturn(width, height);
    if (name == "uranus") return paintUranus(width, height);
    if (name == "neptune") return paintNeptune(width, height);
    if (name == "moon")
        return paintCratered(width, height, 901, {0.72f, 0.71f, 0.69f}, {0.34f, 0.34f, 0.35f}, 1.0f, 6000);
    return Image(width, height, {0, 0, 0, 1});
}

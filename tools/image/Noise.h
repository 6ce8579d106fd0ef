// Seeded random numbers and gradient noise, so every generated picture comes out the same on each build.
#pragma once

#include <cstdint>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalised(Vec3 v);

class Random {
  public:
    explicit Random(uint64_t seed) : state(seed) {}

    uint32_t next();
    float uniform(); // 0 inclusive to 1 exclusive
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    Vec3 onSphere();

  private:
    uint64_t state;
};

class Noise {
  public:
    explicit Noise(uint32_t seed);

    float at(Vec3 p) const;                                  // about -1 to 1, smooth, period 256
    float fbm(Vec3 p, int octaves, float gain = 0.5f) const; // octaves at doubling frequency
    float ridged(Vec3 p, int octaves) const;                 // 0 to 1, sharp crests where at() crosses 0
    Vec3 warp(Vec3 p, float amount, int octaves) const;      // p pushed along a noise field

    // 2-D noise that repeats every periodX by periodY units, for pictures that tile.
    float tiled(float x, float y, int periodX, int periodY) const;
    float tiledFbm(float x, float y, int periodX, int periodY, int octaves) const;

  private:
    Vec3 origin; // where this seed's part of the shared field begins
};

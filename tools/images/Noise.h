// Gradient noise, so every generated picture comes out the same on each build.
#pragma once

#include <cstdint>

#include "tools/support/Random.h"
#include "tools/support/Vec3.h"

// The pictures draw on splitmix64.
using Random = SeededRandom<SplitMix64>;

class Noise {
  public:
    explicit Noise(uint32_t seed);

    float at(Vec3f p) const;                                  // about -1 to 1, smooth, period 256
    float fbm(Vec3f p, int octaves, float gain = 0.5f) const; // octaves at doubling frequency
    float ridged(Vec3f p, int octaves) const;                 // 0 to 1, sharp crests where at() crosses 0
    Vec3f warp(Vec3f p, float amount, int octaves) const;     // p pushed along a noise field

    // 2-D noise that repeats every periodX by periodY units, for pictures that tile.
    float tiled(float x, float y, int periodX, int periodY) const;
    float tiledFbm(float x, float y, int periodX, int periodY, int octaves) const;

  private:
    Vec3f origin; // where this seed's part of the shared field begins
};

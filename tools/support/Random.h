// Seeded random numbers for the asset generators: the same numbers on every compiler and every run,
// unlike the standard distributions, so every generated file comes out the same on each build.
#pragma once

#include <cmath>
#include <cstdint>

#include "tools/support/Pi.h"
#include "tools/support/Vec3.h"

// splitmix64, which the pictures are painted with (images/Noise.h).
struct SplitMix64 {
    uint64_t state;

    explicit SplitMix64(uint64_t seed) : state(seed) {}
    uint32_t next();
};

// xorshift32, which the sounds are synthesised with (sounds/Synth.h); a seed of 0 would give only zeros.
struct XorShift32 {
    uint32_t state;

    explicit XorShift32(uint32_t seed) : state(seed ? seed : 1) {}
    uint32_t next();
};

// The draws every generator makes, over either engine: a seed gives its asset only with its own engine.
template <class Engine> class SeededRandom {
  public:
    explicit SeededRandom(uint64_t seed) : engine(seed) {}

    uint32_t next() { return engine.next(); }
    float uniform() { return float(next() >> 8) * (1.0f / 16777216.0f); } // 0 inclusive to 1 exclusive
    float bipolar() { return uniform() * 2 - 1; }                         // -1 to 1
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    Vec3f onSphere() { // a direction evenly spread over the unit sphere
        float z = range(-1, 1), a = range(0, 2 * PiF);
        float s = std::sqrt(1 - z * z);
        return {s * std::cos(a), s * std::sin(a), z};
    }

  private:
    Engine engine;
};

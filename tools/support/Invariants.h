// What must hold in any round of the simulated game; each check names the first thing it finds broken.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

#include "ai/ShipAI.h"
#include "effects/Explosion.h"
#include "ships/Projectile.h"
#include "ships/Ship.h"
#include "world/World.h"

namespace sim {

namespace detail {

inline std::string describe(const char* format, int a, int b = 0) {
    char text[160];
    snprintf(text, sizeof text, format, a, b);
    return text;
}

inline bool finite(Vector3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

inline bool finite(const Frame& f) {
    return finite(f.xAxis) && finite(f.yAxis) && finite(f.zAxis) && finite(f.origin);
}

} // namespace detail

// The collision list right after a round is laid out: planet n, ship n for every player, then the
// rewards; and no explosion carried over from the round before.
inline std::string checkRoundLayout(const World& world) {
    using detail::describe;
    const int entries = 2 * PlayerCount + RewardSlots;
    if (world.objects.size() != size_t(entries))
        return describe("the collision list holds %d objects instead of %d",
                        static_cast<int>(world.objects.size()), entries);
    for (int n = 0; n < PlayerCount; ++n) {
        if (world.objects[2 * n] != &world.planets[n])
            return describe("collision list entry %d is not planet %d", 2 * n, n);
        if (world.objects[2 * n + 1] != &ShipTable[n])
            return describe("collision list entry %d is not ship %d", 2 * n + 1, n);
    }
    for (int k = 0; k < RewardSlots; ++k)
        if (world.objects[2 * PlayerCount + k] != &world.rewards[k])
            return describe("collision list entry %d is not reward %d", 2 * PlayerCount + k, k);
    if (!explosions.empty())
        return describe("%d explosions outlived the restart", static_cast<int>(explosions.size()));
    return "";
}

// Checked after every update: hatred in its range, and every moving thing at a finite place and speed.
inline std::string checkState() {
    using detail::describe;
    using detail::finite;
    for (int n = 0; n < PlayerCount; ++n)
        for (int k = 0; k < PlayerCount; ++k) {
            int h = ShipAITable[n].hatred[k];
            if (h < 0 || h > ShipAI::HatredCap)
                return describe("pilot %d hates player %d", n, k) + " at " + std::to_string(h);
        }
    for (int n = 0; n < PlayerCount; ++n) {
        const Ship& ship = ShipTable[n];
        if (!finite(ship.frame)) return describe("ship %d has a frame that is not finite", n);
        if (!finite(ship.velocity)) return describe("ship %d has a velocity that is not finite", n);
        for (const Projectile* bolt : ship.bolts()) {
            if (!finite(bolt->frame) || !finite(bolt->velocity))
                return describe("a bolt of ship %d is not at a finite place and speed", n);
        }
        for (const SmokeTrailParticle& puff : ship.smokeTrail.particles) {
            if (std::isnan(puff.life))
                return describe("a smoke puff of ship %d has a life that is not a number", n);
            if (puff.life > 0 &&
                (!finite(puff.position) || !finite(puff.velocity) || !std::isfinite(puff.size)))
                return describe("a live smoke puff of ship %d is not finite", n);
        }
    }
    int index = 0;
    for (const auto& explosion : explosions) {
        if (!finite(explosion->position) || std::isnan(explosion->life))
            return describe("explosion %d (kind %d) is not finite", index, explosion->kind);
        for (int i = 0; i < explosion->particleCount && explosion->particles; ++i) {
            const ExplosionParticle& p = explosion->particles[i];
            if (!finite(p.position) || !finite(p.velocity))
                return describe("particle %d of explosion %d is not finite", i, index);
        }
        ++index;
    }
    return "";
}

} // namespace sim

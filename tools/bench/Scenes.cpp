// The benchmark scenes, built by setting the game's state directly and kept steady by re-arming.
#include "tools/bench/Scenes.h"

#include <cmath>
#include <cstdlib>

#include "ai/ShipAI.h"
#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "effects/Explosion.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "tools/support/Pi.h"
#include "world/World.h"

namespace {

// A blast lives ten seconds; past half of that its particles are spread far and it is spawned anew.
constexpr float BlastRespawnLife = 5.0f;
constexpr int PreRollUpdates = 4 * UpdatesPerRearm; // the smoke rings fill in 91 updates

// The x-neighbour's planet is 8000 units off: far enough that no ship reaches it or its owner in a
// second, so nobody dies between re-arms, and a pilot at hatred 50 attacks it with its guns on.
int targetOf(int player) { return player ^ 1; }

void spawnBlasts(World& world) {
    for (int n = 0; n < PlayerCount; ++n)
        spawnPlanetBlast(world.planets[n].position);
    for (int n = 0; n < PlayerCount; ++n)
        spawnShipBlast(ShipTable[n].frame.origin);
}

} // namespace

void layOutOpening(World& world) {
    srand(1); // the same reward places and first targets every time
    world.restart();
    // A restart lets the last round's bolts fly out their time; a game's first second has none.
    for (Ship& ship : ShipTable)
        ship.dropBolts();
}

void rearmHeaviest(World& world) {
    for (int n = 0; n < PlayerCount; ++n) {
        Ship& ship = ShipTable[n];
        ship.frame = ship.spawnFrame;
        ship.velocity = Vector3();
        ship.health = Ship::FullHealth;
        ship.alive = true;
        ship.respawnTimer = 0;
        ship.rewardTimers[RapidFire] = Reward::Duration;
        Planet& planet = world.planets[n];
        planet.health = Planet::FullHealth;
        planet.alive = true;
        if (n == 0) {
            // Nobody flies the human's ship but the benchmark.
            ship.setFiring(true);
            ship.thrustForward();
            continue;
        }
        ShipAI& pilot = ShipAITable[n];
        for (int& h : pilot.hatred)
            h = ShipAI::HatredFloor;
        pilot.hatred[targetOf(n)] = ShipAI::HatredCap;
        pilot.chooseTarget(true);
    }
    bool burntDown = explosions.empty();
    for (const auto& e : explosions)
        if (e->life < BlastRespawnLife) burntDown = true;
    if (burntDown) {
        world.clearExplosions();
        spawnBlasts(world);
    }
}

void layOutHeaviest(World& world) {
    layOutOpening(world);
    world.clearExplosions();
    spawnBlasts(world);
    for (int i = 0; i < PreRollUpdates; ++i) {
        if (i % UpdatesPerRearm == 0) rearmHeaviest(world);
        world.update();
    }
    rearmHeaviest(world);
}

void turnAway() { ShipTable[0].frame.rotateAboutY(float(Pi)); }

SceneLoad measureLoad() {
    SceneLoad load;
    for (const Ship& ship : ShipTable) {
        if (ship.alive && ship.firing) ++load.firingShips;
        load.projectiles += static_cast<int>(ship.children.size());
        load.smokePuffs += ship.smokeTrail.liveCount();
    }
    for (const auto& e : explosions) {
        ++load.explosions;
        if (e->life > 0) load.particles += e->particleCount;
    }
    if (audioSystem) load.channelsPlaying = audioSystem->channelsPlaying().playing;
    return load;
}

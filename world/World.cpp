// The World's round layout, its fixed per-frame order, the winner check and the collision pass.
#include "world/World.h"

#include <cstdio>
#include <cstdlib>

#include "ai/ShipAI.h"
#include "audio/GameAudio.h"
#include "data/Constants.h"
#include "effects/Explosion.h"
#include "math/Random.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"

World* theWorld = nullptr;

namespace {
constexpr float HomeRange = 1500;
} // namespace

World::World(unsigned seed) {
    cameraOffset = Vector3(0, 0, 0);
    objects.clear();
    srand(seed); // the only seeding: every draw of the game follows from it
    cameraOffset = CameraOffset;
    quadric = gluNewQuadric();
    glGenTextures(1, &starTexture);
    loadTexture("images/stars.jpg", Jpeg, starTexture);
    setupRound();
    // Explosions still burning and bolts still flying at exit are destroyed with their sounds while the
    // sound system still runs.
    atexit([] {
        explosions.clear();
        for (Ship& ship : ShipTable)
            ship.dropBolts();
    });
}

void World::setupRound() {
    rewardTimer = RewardInterval;
    paused = false;
    objects.clear();
    clearExplosions();

    for (int n = 0; n < PlayerCount; ++n) {
        // Bits 0, 1 and 2 of the player number give the signs of x, y and z.
        Vector3 corner(n & 1 ? 1.0f : -1.0f, n & 2 ? 1.0f : -1.0f, n & 4 ? 1.0f : -1.0f);
        corner.scale(ArenaHalfSide);
        planets[n].setup(this, n, corner.x, corner.y, corner.z);
        objects.push_back(&planets[n]);

        // Every ship starts 1.2 times as far out as its planet, facing the origin, its x axis level.
        Vector3 spawn = corner;
        spawn.scale(1.2f);
        Vector3 w = corner;
        w.setLength(1);
        Vector3 u(w.z, 0, -w.x);
        u.setLength(1);
        Vector3 c = w.cross(u);
        ShipTable[n].setup(this, n, Frame(u, c, w, spawn), n != 0);
        objects.push_back(&ShipTable[n]);

        ShipAITable[n].attach(this, &ShipTable[n], &planets[n]);
    }
    for (Reward& reward : rewards) {
        reward.setup(this);
        objects.push_back(&reward);
    }
}

void World::restart() {
    for (int n = 0; n < PlayerCount; ++n) {
        planets[n].reset();
        ShipTable[n].reset();
        ShipAITable[n].reset();
    }
    for (Reward& reward : rewards)
        reward.reset();
    setupRound();
}

void World::update() {
    if (paused) return;
    if (int w = findWinner(); w != -1) {
        announceWinner(w);
        restart();
        return; // nothing else moves in the step that ends a round
    }
    cullExplosions();
    for (int n = 0; n < PlayerCount; ++n) {
        planets[n].step();
        ShipTable[n].step();
    }
    refillRewards();
    // Includes the explosions the ships spawned just now; those of the collision pass wait a frame.
    for (const auto& explosion : explosions)
        explosion->step();
    for (ShipAI& pilot : ShipAITable)
        pilot.tick += 1;
    regenerateAtHome();
    collideAll(); // last: its effects show in the next frame's updates
}

void World::refillRewards() {
    countDown(rewardTimer);
    bool respawnPending = false;
    if (!(rewardTimer > 0)) {
        rewardTimer = RewardInterval;
        respawnPending = true;
    }
    for (Reward& reward : rewards) {
        if (respawnPending && !reward.active) {
            reward = Reward(); // its own new shimmer; the taken reward's stops
            reward.setup(this);
            respawnPending = false;
        }
        reward.step();
    }
}

int World::findWinner() const {
    int fallen = 0;
    for (const Planet& planet : planets)
        if (!planet.alive) ++fallen;
    if (fallen < PlayerCount - 1) return -1;
    for (int n = PlayerCount - 1; n >= 1; --n)
        if (planets[n].alive) return n;
    return 0; // also when the last two fall together
}

void announceWinner(int player) {
    if (player == 0) {
        printf("***WINNER!!! CONGRATULATIONS PLAYER %d!!!***\n", 0);
        printf("Restarting world...\n");
        playWinner();
    } else {
        printf("***Player %d wins! Too bad... try again next time...***\n", player);
        printf("Restarting world...\n");
        playLoser();
    }
}

void World::regenerateAtHome() {
    for (int n = 0; n < PlayerCount; ++n) {
        Ship& ship = ShipTable[n];
        if (!ship.alive) continue;
        for (int k = 0; k < PlayerCount; ++k) {
            if (!(ship.distanceTo(planets[k]) <= HomeRange)) continue;
            // Only the first planet in range counts, and only if it is the ship's own.
            if (k == n) {
                ship.regenerateHealth();
                planets[k].regenerateHealth();
            }
            break;
        }
    }
}

void World::collideAll() {
    for (size_t i = 0; i < objects.size(); ++i)
        for (size_t j = i + 1; j < objects.size(); ++j)
            objects[i]->checkCollisions(*objects[j]);
}

void World::cullExplosions() {
    explosions.remove_if([](const std::unique_ptr<Explosion>& e) { return !(e->life > 0); });
}

void World::clearExplosions() { explosions.clear(); }

void World::findNearestReward(int player, int& index, float& distance) {
    index = -1;
    distance = -1.0f;
    for (int k = 0; k < RewardSlots; ++k) {
        if (!rewards[k].active) continue;
        float d = ShipTable[player].distanceTo(rewards[k]);
        if (index == -1 || d < distance) {
            index = k;
            distance = d;
        }
    }
}

Vector3 World::randomArenaPoint() {
    static_assert(2 * ArenaHalfSide <= RandomMax + 1, "a draw reaches every coordinate of the arena");
    // Separate statements keep the draws in the order x, y, z.
    float x = static_cast<float>(randomDraw() % (2 * ArenaHalfSide) - ArenaHalfSide);
    float y = static_cast<float>(randomDraw() % (2 * ArenaHalfSide) - ArenaHalfSide);
    float z = static_cast<float>(randomDraw() % (2 * ArenaHalfSide) - ArenaHalfSide);
    return Vector3(x, y, z);
}

Vector3 World::listenerPosition() const { return ShipTable[0].frame.origin; }
Vector3 World::listenerVelocity() const { return ShipTable[0].velocity; }
Vector3 World::listenerForward() const { return ShipTable[0].frame.zAxis; }
Vector3 World::listenerUp() const { return ShipTable[0].frame.yAxis; }

// The ship's damage, explosion and the countdown back to its spawn point.
#include "ships/Ship.h"

#include <cstdio>

#include "audio/GameAudio.h"
#include "effects/Explosion.h"

void Ship::takeDamage(int amount) { health -= amount; }

void Ship::explode() {
    if (!alive) return;
    setPaused(true);
    deaths += 1;
    respawnTimer = float(deaths);
    thrust = Vector3();
    firing = false;
    for (float& t : rewardTimers)
        t = 0;
    if (playerNumber == 0) playDeath();
    health = -1;
    alive = false;
    smokeTrail.emitting = false;
    spawnShipBlast(frame.origin);
    printf("Ship %d exploded!\n", playerNumber);
}

void Ship::updateLife() {
    bool wasAlive = alive;
    // Counted down from the update after the death, so n seconds last 30 n + 1 updates.
    if (!wasAlive) countDown(respawnTimer);
    if (health <= 0 && wasAlive) explode();
    if (alive || respawnTimer > 0) return;
    setPaused(false);
    frame = spawnFrame;
    health = FullHealth;
    alive = true;
    velocity = Vector3();
    thrust = Vector3();
    if (playerNumber == 0) playSpawn();
}

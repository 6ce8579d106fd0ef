// The computer pilots: hatred and target choice for every player, and the per-tick behaviour of ships 1 to 7.
#include "ai/ShipAI.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

#include "math/Random.h"
#include "planets/Planet.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "world/World.h"

namespace {

constexpr int DefendBelowHealth = 135;
constexpr int PlanetAttackHatred = 40;
constexpr int ShipAttackHatred = 20;
constexpr int FarRewardHatred = 10; // below this a pilot goes farther for a reward
constexpr float FarRewardReach = 1000;
constexpr float NearRewardReach = 500;

constexpr float PlanetClearance = 500; // beyond the planet's current radius
constexpr float PlanetAttackRange = 1000;
constexpr float CloseRange = 500; // nearer than this a pilot backs away from its enemy
constexpr float RewardBrakeRange = 500;
constexpr float HomeHoldRange = 1500;
constexpr float DefendOffset = 500;
constexpr float TargetNearHome = 2400;
constexpr float IntruderNearHome = 3200;

// A reward in play strictly within reach.
bool canCollect(const Reward* reward, float distance, float reach) {
    return reward && reward->active && distance >= 0 && distance < reach;
}

} // namespace

ShipAI::ShipAI() { std::fill(std::begin(hatred), std::end(hatred), HatredFloor); }

void ShipAI::reset() { *this = ShipAI(); }

void ShipAI::attach(World* w, Ship* s, Planet* home) {
    world = w;
    ship = s;
    homePlanet = home;
    playerIndex = s->playerNumber;
    chooseTarget(true);
}

void ShipAI::addHatred(int player, int amount) {
    hatred[player] += amount;
    if (hatred[player] > HatredCap) hatred[player] = HatredCap;
    chooseTarget(true);
}

void ShipAI::addPlanetHatred(int player, int amount) {
    hatred[player] += 2 * amount;
    if (hatred[player] > HatredCap) hatred[player] = HatredCap;
    chooseTarget(true);
}

void ShipAI::decayHatred() {
    if (tick - lastDecay <= DecayPeriod) return;
    for (int i = 0; i < PlayerCount; i++) {
        if (hatred[i] > 0) hatred[i]--;
        // A player stays worth some hatred as long as its planet keeps it in the round.
        if (hatred[i] < HatredFloor && world->planets[i].alive)
            hatred[i] = HatredFloor;
        else if (hatred[i] > HatredCap)
            hatred[i] = HatredCap;
    }
    lastDecay = tick;
}

void ShipAI::chooseTarget(bool force) {
    if (force || tick - lastTargetChoice > TargetPeriod) {
        int candidate = -1;
        int best = TargetThreshold;
        for (int i = 0; i < PlayerCount; i++) {
            if (i == playerIndex) continue;
            if (hatred[i] > best) {
                candidate = i;
                best = hatred[i];
            }
        }
        if (candidate < 0) {
            // One outcome per other player, shifted past our own number so each is equally likely.
            candidate = randomDraw() % (PlayerCount - 1);
            if (candidate >= playerIndex) candidate++;
        }
        if (candidate != target)
            printf("SHIP %d NOW HATES SHIP %d with hate at %d of %d!\n", playerIndex, candidate,
                   hatred[candidate], HatredCap);
        target = candidate;
        lastTargetChoice = tick;
    }
    if (target < 0) {
        printf("ERROR: target ship was < 0, so assigning to ship 0 by default\n");
        target = 0;
    }
}

void ShipAI::update() {
    if (!ship->alive) return;
    decayHatred();
    chooseTarget(false);
    if (homePlanet->alive && homePlanet->health < DefendBelowHealth) {
        defendHome();
        return;
    }
    int h = hatred[target];
    if (h >= PlanetAttackHatred) {
        attackPlanet(target);
    } else if (h >= ShipAttackHatred) {
        attackShip(target);
    } else {
        float distance;
        Reward* reward = nearestReward(distance);
        rewardOrAttack(reward, distance, h < FarRewardHatred ? FarRewardReach : NearRewardReach);
    }
}

Reward* ShipAI::nearestReward(float& distance) {
    int index;
    world->findNearestReward(playerIndex, index, distance);
    return index >= 0 ? &world->rewards[index] : nullptr;
}

void ShipAI::rewardOrAttack(Reward* reward, float distance, float reach) {
    if (canCollect(reward, distance, reach))
        collectReward(*reward);
    else
        attackShip(target);
}

void ShipAI::attackShip(int player) {
    ship->setFiring(true);
    Ship& enemy = ShipTable[player];
    Planet& enemyHome = world->planets[player];
    if (enemy.alive) {
        if (ship->distanceTo(enemy) < CloseRange) {
            // Too close to dodge a collision: keep the guns on it and back away.
            ship->braking = true;
            faceToward(enemy.frame.origin);
            ship->stopEngines();
            ship->thrustBackward();
        } else {
            ship->braking = false;
            flyTo(enemy.frame.origin);
        }
    } else if (enemyHome.alive) {
        attackPlanet(player);
    } else {
        float distance;
        Reward* reward = nearestReward(distance);
        if (canCollect(reward, distance, std::numeric_limits<float>::infinity())) // no reach limit here
            collectReward(*reward);
        else
            returnHome();
    }
}

void ShipAI::attackPlanet(int player) {
    Planet& planet = world->planets[player];
    if (!planet.alive) {
        attackShip(player);
        return;
    }
    ship->setFiring(true);
    if (ship->distanceTo(planet) < planet.radius() + PlanetAttackRange) {
        ship->braking = true;
        ship->stopEngines();
        // Between re-aims the heading is kept, so the beams sweep the planet as the ship jitters.
        if (tick - lastAim > AimPeriod) {
            faceToward(planet.position);
            lastAim = tick;
        }
        if (randomDraw() % 2 == 1)
            ship->strafeLeft();
        else
            ship->strafeRight();
    } else {
        ship->braking = false;
        flyTo(planet.position);
    }
}

void ShipAI::collectReward(Reward& reward) {
    ship->braking = ship->distanceTo(reward) < RewardBrakeRange;
    ship->setFiring(false);
    flyTo(reward.position);
}

void ShipAI::returnHome() {
    ship->setFiring(false);
    if (ship->distanceTo(*homePlanet) < HomeHoldRange) {
        ship->braking = true;
        ship->stopEngines();
    } else {
        flyTo(homePlanet->position);
    }
}

void ShipAI::defendHome() {
    float sums[PlayerCount];
    for (int s = 0; s < PlayerCount; s++)
        sums[s] = homePlanet->distanceTo(ShipTable[s]) + DefendOffset;

    if (ShipTable[target].alive && sums[target] < TargetNearHome) {
        attackShip(target);
        return;
    }
    // Dead ships count as intruders too.
    int intruder = -1;
    float nearest = IntruderNearHome;
    for (int s = 0; s < PlayerCount; s++) {
        if (s == playerIndex) continue;
        if (sums[s] < nearest) {
            intruder = s;
            nearest = sums[s];
        }
    }
    if (intruder >= 0)
        attackShip(intruder);
    else
        returnHome();
}

void ShipAI::flyTo(Vector3 destination) {
    for (int p = 0; p < PlayerCount; p++) {
        Planet& planet = world->planets[p];
        // A destroyed planet has radius 0 but its wreck still gets a wide berth.
        if (ship->distanceTo(planet) < planet.radius() + PlanetClearance) {
            faceToward(planet.position);
            ship->stopEngines();
            ship->strafeRight();
            ship->thrustBackward();
            ship->setFiring(p != playerIndex);
            return;
        }
    }
    faceToward(destination);
    ship->stopEngines();
    ship->thrustForward();
}

void ShipAI::faceToward(Vector3 point) {
    Vector3 direction = point;
    direction.subtract(ship->frame.origin);
    // A zero direction or one along the ship's up axis cannot be faced; the ship then keeps its heading.
    ship->faceDirection(direction);
}

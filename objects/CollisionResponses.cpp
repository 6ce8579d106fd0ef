// The effect of every kind of contact on both objects: explosions, laser damage, scores, hatred, pickups.
#include "objects/CollisionResponses.h"

#include <cstdio>

#include "ai/ShipAI.h"
#include "planets/Planet.h"
#include "ships/Projectile.h"
#include "ships/Reward.h"
#include "ships/Ship.h"

namespace {

const int ShipHitPoints = 100;
const int ShipKillPoints = 10000;
const int PlanetHitPoints = 500;
const int PlanetKillPoints = 100000;
const int RewardPoints = 1000;

} // namespace

// Any planet is deadly to fly into, the pilot's own included.
void resolveCollision(Ship& s, Planet&) { s.explode(); }

void resolveCollision(Ship& s1, Ship& s2) {
    s1.explode();
    s2.explode();
}

// The victim is not exploded here: its own next update does that, so until then it stays a target
// and a second laser in the same pass is again scored as a kill.
void resolveCollision(Ship& s, Projectile& q) {
    int d = q.damageAmount();
    int k = q.ownerPlayer();
    s.takeDamage(d);
    ShipAITable[s.playerNumber].addHatred(k, d);
    ShipTable[k].score += s.health > 0 ? ShipHitPoints : ShipKillPoints;
    q.destroyOnHit();
}

void resolveCollision(Ship& s, Reward& r) {
    int kind = randomRewardKind();
    s.grantReward(kind);
    s.score += RewardPoints;
    r.take();
}

void resolveCollision(Planet&, Planet&) {
    printf("Error: Two planets just collided! This should never happen\n");
}

// A laser on its shooter's own planet is simply used up.
void resolveCollision(Planet& p, Projectile& q) {
    if (p.playerNumber != q.ownerPlayer()) {
        int d = q.damageAmount();
        int k = q.ownerPlayer();
        p.takeDamage(d);
        ShipAITable[p.playerNumber].addPlanetHatred(k, d);
        ShipTable[k].score += p.health > 0 ? PlanetHitPoints : PlanetKillPoints;
    }
    q.destroyOnHit();
}

void resolveCollision(Planet&, Reward& r) { r.take(); }

// The laser flies on and nobody is credited.
void resolveCollision(Projectile&, Reward& r) { r.take(); }

void resolveCollision(Reward& r1, Reward& r2) {
    r1.take();
    r2.take();
}

// The ship's twin lasers: firing on schedule and clearing away spent bolts.
#include "ships/Projectile.h"
#include "ships/Ship.h"

#include <algorithm>

void Ship::fire() {
    lastFireFrame = frameCount;
    Projectile* p = new Projectile();
    p->launch(*this, muzzleDistance(), projectileScale());
    children.push_back(p);
    score += 1;
}

namespace {

constexpr double updatesBetween(float interval) { return double(interval) / double(FrameTime); }
static_assert(updatesBetween(FireInterval) > 9 && updatesBetween(FireInterval) < 10, "every 10th update");
static_assert(updatesBetween(RapidFireInterval) > 4.5 && updatesBetween(RapidFireInterval) < 5,
              "every 5th update");

// Every child of a ship is one of its bolts, so it is deleted as one.
template <class Spent> void deleteBolts(std::list<Object*>& children, Spent spent) {
    children.remove_if([&](Object* child) {
        Projectile* bolt = static_cast<Projectile*>(child);
        if (!spent(*bolt)) return false;
        delete bolt;
        return true;
    });
}

} // namespace

std::vector<Projectile*> Ship::bolts() const {
    std::vector<Projectile*> flying;
    for (Object* child : children)
        flying.push_back(static_cast<Projectile*>(child));
    return flying;
}

void Ship::dropBolts() {
    deleteBolts(children, [](const Projectile&) { return true; });
}

void Ship::updateWeapons() {
    stepChildren();
    deleteBolts(children, [](const Projectile& p) { return p.isSpent() || !p.alive; });
    if (!firing) return;
    float interval = FireInterval;
    for (int kind = 0; kind < RewardKinds; ++kind)
        if (rewardTimers[kind] > 0) interval = std::min(interval, rewardEffects[kind].fireInterval);
    // The quotient is a hair above 9 (or 4.5), so a shot comes every 10th frame (5th with rapid fire);
    // lastFireFrame starts at -9 so the first one is due on frame 1.
    if (double(frameCount - lastFireFrame) >= updatesBetween(interval)) fire();
}

// The ship's twin lasers: firing on schedule and clearing away spent bolts.
#include "ships/Projectile.h"
#include "ships/Ship.h"

void Ship::fire() {
    lastFireFrame = frameCount;
    Projectile* p = new Projectile();
    p->launch(*this, muzzleDistance(), projectileScale());
    children.push_back(p);
    score += 1;
}

namespace {

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

void Ship::dropBolts() {
    deleteBolts(children, [](const Projectile&) { return true; });
}

void Ship::updateWeapons() {
    stepChildren();
    deleteBolts(children, [](const Projectile& p) { return p.isSpent() || !p.alive; });
    if (!firing) return;
    float interval = rewardTimers[RapidFire] > 0 ? RapidFireInterval : FireInterval;
    // The quotient is a hair above 9 (or 4.5), so a shot comes every 10th frame (5th with rapid fire);
    // lastFireFrame starts at -9 so the first one is due on frame 1.
    if (double(frameCount - lastFireFrame) >= double(interval) / double(FrameTime)) fire();
}

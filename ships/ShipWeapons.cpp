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

void Ship::updateWeapons() {
    stepChildren();
    // Every child of a ship is one of its bolts, so it is deleted as one.
    for (auto it = children.begin(); it != children.end();) {
        Projectile* p = static_cast<Projectile*>(*it);
        if (p->isSpent() || !p->alive) {
            delete p;
            it = children.erase(it);
        } else {
            ++it;
        }
    }
    if (!firing) return;
    float interval = rewardTimers[RapidFire] > 0 ? 0.15f : 0.3f;
    // The quotient is a hair above 9 (or 4.5), so a shot comes every 10th frame (5th with rapid fire);
    // lastFireFrame starts at -9 so the first one is due on frame 1.
    if (double(frameCount - lastFireFrame) >= double(interval) / double(FrameTime)) fire();
}

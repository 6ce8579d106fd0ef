// What happens when two objects touch: one overload per unordered pair of colliding classes.
#pragma once

class Planet;
class Ship;
class Projectile;
class Reward;

void resolveCollision(Ship& s, Planet& p);
void resolveCollision(Ship& s1, Ship& s2);
void resolveCollision(Ship& s, Projectile& q);
void resolveCollision(Ship& s, Reward& r);
void resolveCollision(Planet& p1, Planet& p2);
void resolveCollision(Planet& p, Projectile& q);
void resolveCollision(Planet& p, Reward& r);
void resolveCollision(Projectile& q, Reward& r);
void resolveCollision(Reward& r1, Reward& r2);

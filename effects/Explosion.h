// A burst of camera-facing particles that fly apart, fade over ten seconds and sound where they started.
#pragma once

#include <list>
#include <memory>

#include "data/Constants.h"
#include "math/Vector3.h"
#include "objects/Object.h"

struct ExplosionParticle {
    // clang-format off
    Vector3 position;
    Vector3 velocity;             // world units per second
    float   red = 0, green = 0, blue = 0;
    float   alpha = 0;            // before the fade
    float   size = 0;             // triangle size in world units
    // clang-format on
};

class Explosion final : public Object {
  public:
    Explosion();

    void setup(int kind, Vector3 position, int spread, int count, int speed);

    CollisionShape getBounds() override;
    bool isCollidable() override;
    void collide(Object& other) override;
    void collideWithPlanet(Planet& p) override;
    void collideWithShip(Ship& s) override;
    void collideWithProjectile(Projectile& q) override;
    void collideWithReward(Reward& r) override;
    void draw() override;
    void drawTranslucent() override;
    void update() override;

    // clang-format off
    Vector3                              position;
    float                                life = 0; // seconds left; the fade is life / 10
    int                                  particleCount = 0;
    int                                  kind = Spark;
    std::unique_ptr<ExplosionParticle[]> particles; // particleCount records
    // clang-format on
};

// The live explosions; the World culls the burnt-out ones.
extern std::list<std::unique_ptr<Explosion>> explosions;

void spawnExplosion(int kind, Vector3 position, int spread, int count, int speed);
void spawnSpark(Vector3 position);
void spawnShipBlast(Vector3 position);
void spawnRewardBurst(Vector3 position);
void spawnPlanetBlast(Vector3 position);

// A ship's exhaust: a ring of glowing puffs that cool from blue to dark smoke as they drift and grow.
#pragma once

#include "data/Constants.h"
#include "math/Vector3.h"
#include "objects/Object.h"

struct SmokeTrailParticle {
    // clang-format off
    Vector3 position;
    Vector3 velocity;     // world units per second
    float   life = 0;     // seconds left, 3 at birth; alive while above 0
    float   size = 0;     // triangle size, 41 to 78 at birth, +2 per update
    float   shade = 0;    // opacity factor drawn at birth
    // clang-format on
};

class SmokeTrail final : public Object {
  public:
    static constexpr int Capacity = 1000; // room for every puff alive at once in steady emission
    static constexpr int PuffsPerEmission = 10;

    SmokeTrail();

    void attach(Ship* owner); // kills every puff and loads the shared texture on first use
    void emit();
    void spawnParticle(SmokeTrailParticle& p);
    Vector3 smokeColour(const SmokeTrailParticle& p) const; // red, green, blue by age; alpha is the shade
    int liveCount() const;

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
    Ship*              owner = nullptr;           // the ship that holds this trail
    SmokeTrailParticle particles[Capacity];
    bool               emitting = false;          // true while the owner's thrust is not zero
    float              emitTimer = FrameTime;     // seconds until the next emission
    int                nextParticle = 0;          // ring slot the next puff overwrites
    // clang-format on
};

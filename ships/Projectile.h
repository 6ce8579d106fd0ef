// A twin laser bolt: flies straight along its ship's nose for 0.6 s, or until it hits something.
#pragma once

#include "math/Frame.h"
#include "math/Vector3.h"
#include "objects/Object.h"

// Seconds a bolt flies before it is spent.
constexpr float ProjectileLifetime = 0.6f;

class Projectile final : public Object {
public:
    static constexpr float Speed = 4000;
    static constexpr float BeamLength = 133.33333f;   // the distance flown in one frame
    static constexpr float BeamRadius = 1.0f;

    Projectile();

    void launch(Ship& owner, float muzzleDistance, float sizeScale);
    bool isSpent() const;
    int ownerPlayer() const;
    int damageAmount() const;
    void destroyOnHit();

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

    Ship*   owner = nullptr;        // not owned
    Frame   frame;                  // flies along its -Z axis
    Vector3 velocity{0, 0, -4000};
    int     age = 0;                // frames since launch
    bool    alive = true;           // false once it has hit something
    float   halfWidth = 15;         // half the spacing of the two beams
};

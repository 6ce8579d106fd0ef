// A twin laser bolt: flies straight along its ship's nose for 0.6 s, or until it hits something.
#pragma once

#include "data/Constants.h"
#include "math/Frame.h"
#include "math/Vector3.h"
#include "objects/Object.h"

class Projectile final : public Object {
  public:
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

    // clang-format off
    Ship*   owner = nullptr;           // the ship that fired it, and deletes it
    Frame   frame;                     // flies along its -Z axis
    // clang-format on
    Vector3 velocity{0, 0, -ProjectileSpeed};
    // clang-format off
    int     age = 0;                   // frames since launch
    bool    alive = true;              // false once it has hit something
    float   halfWidth = BeamHalfWidth; // half the spacing of the two beams
    // clang-format on
};

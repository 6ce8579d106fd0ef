// The home planet's health globe in the overlay's bottom-left corner.
#pragma once

#include "math/Frame.h"
#include "objects/Object.h"

class Planet;

class PlanetHealthMeter final : public Object {
  public:
    PlanetHealthMeter();

    void attach(Planet* p);
    float solidRadius() const; // owner health / 150 x GaugeRadius, never below 0

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
    Planet* owner = nullptr;     // the planet that holds this meter
    Frame   frame;               // overlay placement, origin (61, 61, 0)
    // clang-format on
};

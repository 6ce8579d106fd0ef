// The human ship's health globe in the overlay's bottom-right corner, drawn with the moon map.
#pragma once

#include "objects/Object.h"

class ShipHealthMeter final : public Object {
  public:
    ShipHealthMeter();

    void clear();
    void attach(Ship* s);      // loads the shared moon texture on first use
    float solidRadius() const; // owner health / 25 x GaugeRadius, never below 0

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
    Ship* owner = nullptr;       // the ship that holds this meter
    float spin  = 0;             // +1 per update; drawn as spin x 0.5 degrees
    // clang-format on
};

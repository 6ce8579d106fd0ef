// A spinning power-up: whoever touches it first gets 20 s of speed, rapid fire, growth or shrinking.
#pragma once

#include "math/Vector3.h"
#include "objects/Object.h"

class World;

class Reward final : public Object {
  public:
    static constexpr float Radius = 50;
    static constexpr float Duration = 20;

    Reward();
    explicit Reward(audio::Channel shimmer);

    void reset();
    void setup(World* world);
    void take();

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
    World*  world = nullptr;    // the World that holds this slot; set by setup
    float   spin = 0;           // +1 per update; drawn as spin x 5 degrees
    Vector3 position;
    bool    active = true;
    // clang-format on
};

int randomRewardKind();

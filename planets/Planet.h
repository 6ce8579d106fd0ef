// A home planet: spins on its corner of the arena, wears down under fire, regrows near its ship.
#pragma once

#include <GL/gl.h>

#include "math/Vector3.h"
#include "objects/Object.h"
#include "planets/PlanetHealthMeter.h"

class World;

class Planet final : public Object {
  public:
    // clang-format off
    static constexpr int   FullHealth = 150;
    static constexpr float FullRadius = 500;
    // clang-format on

    Planet();

    void reset();
    void setup(World* world, int playerNumber, float x, float y, float z);
    float radius() const;
    void takeDamage(int amount);
    void regenerateHealth();
    void destroy();
    void drawHealthMeter();
    void drawHealthMeterTranslucent();

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
    World*            world = nullptr;     // the World that holds this planet; set by setup
    PlanetHealthMeter healthMeter;
    int               playerNumber = 0;
    float             spin = 0;            // +1 per update; drawn as spin x 0.5 degrees
    GLuint            texture = 0;         // loaded at the first setup, kept across rounds
    Vector3           position;
    int               health = FullHealth; // -1 once destroyed
    bool              alive = true;
    float             regenTimer = 0;      // seconds until the next point of regrowth
    // clang-format on
};

// One player's ship: flight model, controls, twin lasers, health, death and respawn, rewards, drawing.
#pragma once

#include <GL/gl.h>
#include <vector>

#include "data/Constants.h"
#include "effects/SmokeTrail.h"
#include "math/Frame.h"
#include "math/Vector3.h"
#include "objects/Object.h"
#include "planets/ShipHealthMeter.h"

class World;

enum SizeState { NormalSize, BigSize, SmallSize, SizeStates };

class Ship final : public Object {
  public:
    static constexpr int FullHealth = 25;

    Ship();

    void reset();
    void setup(World* world, int playerNumber, Frame spawn, bool computerControlled);

    // Flight model and home regeneration.
    void integrateMotion();
    void regenerateHealth();
    GLenum enablePlayerLight();

    // Size-dependent values; Grow and Shrink together cancel out.
    SizeState sizeState() const;
    float collisionRadius() const;
    float drawScale() const;
    float muzzleDistance() const;
    float projectileScale() const;
    float trailOffset() const;
    float trailLift() const;

    // Controls: the only way input and the computer pilots steer a ship.
    void setFiring(bool on);
    void faceDirection(Vector3 d);
    void strafeLeft();
    void strafeRight();
    void thrustForward();
    void thrustBackward();
    void stopStrafe();
    void stopThrust();
    void stopEngines();
    void steer(float dx, float dy);
    void setThrust(float lateral, float foreAft); // what the thrust controls above come down to

    // Weapons.
    void fire();
    void updateWeapons();
    void dropBolts();                       // deletes every bolt in flight at once
    std::vector<Projectile*> bolts() const; // those in flight, oldest first: every child is one

    // Damage, death and respawn.
    void takeDamage(int amount);
    void explode();
    void updateLife();

    void grantReward(int kind);

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
    World*          world = nullptr;       // the one World, never destroyed; set by setup
    ShipHealthMeter healthMeter;
    SmokeTrail      smokeTrail;
    int             frameCount = 0;        // frames since reset, +1 each update
    int             lastFireFrame = -9;    // so the first shot of a round is due at once
    bool            firing = false;
    bool            braking = false;       // written directly by input and the pilots
    int             playerNumber = 0;
    Frame           spawnFrame;
    Frame           frame;                 // nose along -Z, top +Y, right +X
    Vector3         velocity;              // world units per second
    Vector3         thrust;                // ship axes; x lateral, z fore and aft, per frame
    int             health = FullHealth;   // -1 while dead
    int             deaths = 0;
    bool            alive = true;
    float           respawnTimer = 0;      // seconds until respawn while dead
    bool            computerControlled = false;
    float           regenTimer = 0;        // seconds until the next health point near home
    float           rewardTimers[RewardKinds] = {}; // seconds left, indexed by RewardKind
    int             score = 0;
    // clang-format on
};

extern Ship ShipTable[PlayerCount];

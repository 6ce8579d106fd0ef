// Abstract scene object: collision shape, two drawing passes, a per-frame update and its own sound channel.
#pragma once

#include <list>

#include "audio/Channel.h"
#include "objects/CollisionShape.h"

class Planet;
class Ship;
class Projectile;
class Reward;

// No virtual destructor on purpose: every object is destroyed through its own class.
class Object {
  public:
    explicit Object(audio::Channel channel);
    ~Object();
    Object(const Object&) = default; // copies share the channel
    Object& operator=(const Object&) = default;
    // A move hands the source's channel over and leaves the source silent, so the temporary's
    // destructor cannot stop it. The target's own channel, unless it is the one handed over, is
    // stopped first: nobody else holds it, and a paused loop would keep its channel for ever.
    Object(Object&& other) noexcept;
    Object& operator=(Object&& other) noexcept;

    virtual CollisionShape getBounds() = 0;
    virtual bool isCollidable() = 0;
    virtual void collide(Object& other) = 0;
    virtual void collideWithPlanet(Planet& p) = 0;
    virtual void collideWithShip(Ship& s) = 0;
    virtual void collideWithProjectile(Projectile& q) = 0;
    virtual void collideWithReward(Reward& r) = 0;
    virtual void draw() = 0;
    virtual void drawTranslucent() = 0;
    virtual void update() = 0;

    void setPaused(bool p);
    void setVolume(float v);
    void updateSound();
    void step(); // update, then updateSound
    void drawChildren();
    void drawChildrenTranslucent();
    void stepChildren();
    void checkCollisions(Object& other);
    float distanceTo(Object& other);

    // clang-format off
    std::list<Object*> children;  // a ship's bolts, which the ship allocates and deletes
    bool paused = false;          // the pause wanted for the channel, applied on every updateSound
    audio::Channel channel;       // null for silent objects
    // clang-format on
};

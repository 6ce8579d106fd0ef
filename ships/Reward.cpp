// A spinning power-up waiting at a random point of the arena until something touches it.
#include "ships/Reward.h"

#include <GL/gl.h>

#include "audio/GameAudio.h"
#include "data/Constants.h"
#include "data/Globals.h"
#include "effects/Explosion.h"
#include "math/Random.h"
#include "objects/CollisionResponses.h"
#include "ships/MeshLists.h"
#include "world/World.h"

Reward::Reward() : Reward(playShimmer()) {}

Reward::Reward(audio::Channel shimmer) : Object(shimmer) {}

// A fresh reward that keeps its shimmer: the next updateSound starts it again.
void Reward::reset() { *this = Reward(channel); }

void Reward::setup(World* world) {
    this->world = world;
    position = world->randomArenaPoint();
}

void Reward::take() {
    active = false;
    setPaused(true);
    spawnRewardBurst(position);
}

CollisionShape Reward::getBounds() { return CollisionShape(Sphere, position, Radius); }
bool Reward::isCollidable() { return active; }
void Reward::collide(Object& other) { other.collideWithReward(*this); }
void Reward::collideWithPlanet(Planet& p) { resolveCollision(p, *this); }
void Reward::collideWithShip(Ship& s) { resolveCollision(s, *this); }
void Reward::collideWithProjectile(Projectile& q) { resolveCollision(q, *this); }
void Reward::collideWithReward(Reward& r) { resolveCollision(*this, r); }

void Reward::draw() {
    if (!active) return;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(spin * 5, 1, 1, 1);
    if (cameraView.mayShow(position, rewardMeshRadius()))
        glCallList(rewardMeshList());
    else
        leaveModelState(rewardModel, ModelKind::Reward);
    glPopMatrix();
}

void Reward::drawTranslucent() {}

void Reward::update() { spin += 1.0f; }

// Rewards have no kind of their own; it is drawn at the moment of collection.
int randomRewardKind() { return randomDraw() % RewardKinds; }

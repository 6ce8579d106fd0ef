// Ship record, set-up, the per-frame update with its flight model, size rules, drawing and collision routing.
#include "ships/Ship.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "ai/ShipAI.h"
#include "data/Globals.h"
#include "objects/CollisionResponses.h"
#include "ships/MeshLists.h"
#include "ships/Reward.h"

namespace {

constexpr float RegenPeriod = 1.0f; // seconds between health points near home

// One row per size state, in SizeState order.
struct SizeValues {
    float radius; // collision sphere
    float scale;  // drawing and projectile scale
    float muzzle; // where the bolts start, ahead of the centre
    float trail;  // where the smoke starts, behind the centre
};

const SizeValues sizeTable[] = {
    {20, 1, 45, 50},
    {60, 3, 130, 150},
    {6.6666665f, 0.33333334f, 20, 16.666666f},
};
static_assert(std::size(sizeTable) == SizeStates, "one row per size state");

} // namespace

Ship::Ship() : Object(audio::Channel()) {}

void Ship::reset() {
    // The bolts in flight are left to fly out their time: they are spent within 0.6 s.
    std::list<Object*> bolts = std::move(children);
    *this = Ship();
    children = std::move(bolts);
}

void Ship::setup(World* world, int playerNumber, Frame spawn, bool computerControlled) {
    this->world = world;
    healthMeter.clear();
    healthMeter.attach(this);
    smokeTrail.attach(this);
    regenTimer = 0;
    this->playerNumber = playerNumber;
    spawnFrame = spawn;
    frame = spawn;
    this->computerControlled = computerControlled;
    score = 0;
}

void Ship::update() {
    if (computerControlled) ShipAITable[playerNumber].update();
    ++frameCount;
    // A timer that crosses 0 stays a hair below it for one frame before it is clamped.
    for (float& t : rewardTimers) {
        if (t > 0)
            countDown(t);
        else if (t < 0)
            t = 0;
    }
    updateLife();
    integrateMotion();
    smokeTrail.update();
    updateWeapons();
    healthMeter.step();
}

void Ship::integrateMotion() {
    // Thrust is a per-frame gain, not scaled by the frame time.
    velocity.add(frame.transform(thrust, false));
    float cap = SpeedCap;
    for (int kind = 0; kind < RewardKinds; ++kind)
        if (rewardTimers[kind] > 0) cap = std::max(cap, rewardEffects[kind].speedCap);
    if (velocity.length() > cap) velocity.setLength(cap);
    frame.origin.addScaled(velocity, FrameTime);
    float drag = braking && alive ? BrakingDrag : Drag;
    velocity.addScaled(velocity, -drag);
}

void Ship::regenerateHealth() {
    if (!alive) return;
    if (regenTimer > 0) countDown(regenTimer);
    if (health > 0 && health < FullHealth && regenTimer <= 0) {
        regenTimer = RegenPeriod;
        health += 1;
    }
}

GLenum Ship::enablePlayerLight() {
    if (playerNumber < 0 || playerNumber >= PlayerCount) {
        printf("Error: Player number %d is undefined!\n", playerNumber);
        return GL_LIGHT7;
    }
    GLenum light = GL_LIGHT0 + playerNumber;
    glEnable(light);
    return light;
}

SizeState Ship::sizeState() const {
    int steps = 0;
    for (int kind = 0; kind < RewardKinds; ++kind)
        if (rewardTimers[kind] > 0) steps += rewardEffects[kind].sizeStep;
    if (steps > 0) return BigSize;
    if (steps < 0) return SmallSize;
    return NormalSize;
}

float Ship::collisionRadius() const { return sizeTable[sizeState()].radius; }
float Ship::drawScale() const { return sizeTable[sizeState()].scale; }
float Ship::muzzleDistance() const { return sizeTable[sizeState()].muzzle; }
float Ship::projectileScale() const { return sizeTable[sizeState()].scale; }
float Ship::trailOffset() const { return sizeTable[sizeState()].trail; }
float Ship::trailLift() const { return 0; }

void Ship::grantReward(int kind) {
    // The kind indexes the timers; anything else would write past them.
    if (kind < 0 || kind >= RewardKinds) {
        printf("Error: Reward kind %d is undefined!\n", kind);
        return;
    }
    rewardTimers[kind] = Reward::Duration;
    printf("Reward %d granted to ship %d!\n", kind, playerNumber);
}

void Ship::drawHealthMeter() { healthMeter.draw(); }
void Ship::drawHealthMeterTranslucent() { healthMeter.drawTranslucent(); }

CollisionShape Ship::getBounds() { return CollisionShape(Sphere, frame.origin, collisionRadius()); }
bool Ship::isCollidable() { return alive; }
void Ship::collide(Object& other) { other.collideWithShip(*this); }
void Ship::collideWithPlanet(Planet& p) { resolveCollision(*this, p); }
void Ship::collideWithShip(Ship& s) { resolveCollision(*this, s); }
void Ship::collideWithProjectile(Projectile& q) { resolveCollision(*this, q); }
void Ship::collideWithReward(Reward& r) { resolveCollision(*this, r); }

void Ship::draw() {
    if (alive) {
        // The modelview matrix is the identity here, so the light is placed in world coordinates.
        // It is never switched off: a dead ship's light stays where the ship last flew.
        GLenum light = enablePlayerLight();
        Vector3 p = frame.transform(Vector3(0, 5, -5), true);
        const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
        const GLfloat white[4] = {1, 1, 1, 1};
        glLightfv(light, GL_POSITION, position);
        glLightfv(light, GL_DIFFUSE, white);
        glLightf(light, GL_QUADRATIC_ATTENUATION, 5e-8f);

        glPushMatrix();
        glLoadIdentity();
        frame.applyGL();
        glDisable(GL_CULL_FACE);
        if (sizeState() != NormalSize) {
            float s = drawScale();
            glScalef(s, s, s);
        }
        // The mesh sets every material colour but the diffuse one, which shows whose ship it is.
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, playerColours[playerNumber]);
        // Out of view, only the state the model would leave behind is set.
        if (cameraView.mayShow(frame.origin, shipMeshRadius() * drawScale()))
            glCallList(shipMeshList());
        else
            leaveModelState(shipModel, ModelKind::Ship);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
        glEnable(GL_CULL_FACE);
        glPopMatrix();
    }
    drawChildren();
    smokeTrail.draw();
}

void Ship::drawTranslucent() {
    drawChildrenTranslucent();
    smokeTrail.drawTranslucent();
}

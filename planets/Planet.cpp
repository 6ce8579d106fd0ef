// Home planet: spin, wear and regrowth, destruction with a planet blast, and its two drawing passes.
#include "planets/Planet.h"

#include <GL/glu.h>
#include <cstdio>

#include "data/Constants.h"
#include "data/Globals.h"
#include "effects/Explosion.h"
#include "objects/CollisionResponses.h"
#include "planets/Globe.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"

namespace {

constexpr float RegenPeriod = 0.25f; // counted down by one update a call: one point every 8th call
static_assert(updatesToRunOut(RegenPeriod) == 8, "one point every 8th call");
constexpr int RegenScore = 50;

} // namespace

Planet::Planet() : Object(audio::Channel()) {}

void Planet::reset() {
    // The map is read once per planet and kept for every later round.
    const GLuint map = texture;
    *this = Planet();
    texture = map;
}

void Planet::setup(World* w, int player, float x, float y, float z) {
    world = w;
    healthMeter.attach(this);
    position = Vector3(x, y, z);
    playerNumber = player;
    // Loaded once per planet: a restart keeps the name, and a failed file is not read again.
    if (texture == 0) {
        glGenTextures(1, &texture);
        loadTexture(planetTextureNames[playerNumber], Jpeg, texture);
    }
}

float Planet::radius() const { return radiusForHealth(health, FullHealth, FullRadius); }

void Planet::takeDamage(int amount) { health -= amount; }

void Planet::regenerateHealth() {
    if (!alive) return;
    if (regenTimer > 0) countDown(regenTimer);
    if (health > 0 && health < FullHealth && regenTimer <= 0) {
        regenTimer = RegenPeriod;
        health += 1;
        ShipTable[playerNumber].score += RegenScore;
    }
}

void Planet::destroy() {
    health = -1;
    spawnPlanetBlast(position);
    printf("Planet %d HAS BEEN DESTROYED!\n", playerNumber);
}

void Planet::drawHealthMeter() { healthMeter.draw(); }

void Planet::drawHealthMeterTranslucent() { healthMeter.drawTranslucent(); }

CollisionShape Planet::getBounds() { return CollisionShape(Sphere, position, radius()); }

bool Planet::isCollidable() { return alive; }

void Planet::collide(Object& other) { other.collideWithPlanet(*this); }

void Planet::collideWithPlanet(Planet& p) { resolveCollision(*this, p); }

void Planet::collideWithShip(Ship& s) { resolveCollision(s, *this); }

void Planet::collideWithProjectile(Projectile& q) { resolveCollision(*this, q); }

void Planet::collideWithReward(Reward& r) { resolveCollision(*this, r); }

void Planet::draw() {
    if (!alive) return;
    placeGlobe(planetQuadric, texture, position, spin * 0.5f, Vector3(0, 0, 1));
    if (cameraView.mayShow(position, radius()))
        gluSphere(planetQuadric, radius(), SphereDetail, SphereDetail);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void Planet::drawTranslucent() {
    if (!alive) return;
    static const GLfloat shellDiffuse[4] = {1, 1, 1, 0.5f};
    static const GLfloat opaqueDiffuse[4] = {1, 1, 1, 1};
    placeGlobe(atmosphereQuadric, texture, position, spin * 0.5f, Vector3(0, 0, 1));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, shellDiffuse);
    // Always full size, so the gap to the solid sphere shows how much health is gone.
    if (cameraView.mayShow(position, FullRadius))
        gluSphere(atmosphereQuadric, FullRadius, SphereDetail, SphereDetail);
    glDisable(GL_BLEND);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, opaqueDiffuse);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void Planet::update() {
    spin += 1;
    // Damage only lowers health; the blast and the message come here, one update later.
    if (health <= 0 && alive) {
        alive = false;
        destroy();
    }
    healthMeter.step();
}

// The planet gauge: a solid globe sized by the home planet's health inside a half-transparent full one.
#include "planets/PlanetHealthMeter.h"

#include <GL/glu.h>

#include "data/Constants.h"
#include "data/Globals.h"
#include "planets/Planet.h"

PlanetHealthMeter::PlanetHealthMeter() : Object(audio::Channel()), frame(PlanetGaugeCentre) {}

void PlanetHealthMeter::attach(Planet* p) { owner = p; }

float PlanetHealthMeter::solidRadius() const {
    if (!owner) return 0;
    float r = static_cast<float>(owner->health) / Planet::FullHealth * GaugeRadius;
    return r > 0 ? r : 0; // also catches NaN
}

CollisionShape PlanetHealthMeter::getBounds() { return CollisionShape(Sphere, Vector3(), 0); }

bool PlanetHealthMeter::isCollidable() { return false; }

void PlanetHealthMeter::collide(Object&) {}

void PlanetHealthMeter::collideWithPlanet(Planet&) {}

void PlanetHealthMeter::collideWithShip(Ship&) {}

void PlanetHealthMeter::collideWithProjectile(Projectile&) {}

void PlanetHealthMeter::collideWithReward(Reward&) {}

void PlanetHealthMeter::draw() {
    // Between a round's reset and its setup the meter has no planet; draw nothing rather than crash.
    if (!owner || !owner->alive) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, owner->texture);
    gluQuadricTexture(planetMeterQuadric, GL_TRUE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(frame.origin.x, frame.origin.y, frame.origin.z);
    glRotatef(owner->spin * 0.5f, 1, 1, 1);
    glColor4f(1, 1, 1, 1);
    gluSphere(planetMeterQuadric, solidRadius(), SphereDetail, SphereDetail);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void PlanetHealthMeter::drawTranslucent() {
    if (!owner || !owner->alive) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, owner->texture);
    gluQuadricTexture(planetMeterShellQuadric, GL_TRUE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(frame.origin.x, frame.origin.y, frame.origin.z);
    glRotatef(owner->spin * 0.5f, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 0.5f);
    gluSphere(planetMeterShellQuadric, GaugeRadius, SphereDetail, SphereDetail);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

// The planet steps its meter every update; the angle is read from the planet when drawing.
void PlanetHealthMeter::update() {}

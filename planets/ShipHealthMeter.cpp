// The ship gauge: a moon-textured globe sized by the ship's health inside a half-transparent full one.
#include "planets/ShipHealthMeter.h"

#include <GL/glu.h>

#include "data/Constants.h"
#include "data/Globals.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"

ShipHealthMeter::ShipHealthMeter() : Object(audio::Channel()) {}

void ShipHealthMeter::clear() {
    owner = nullptr;
    spin = 0;
}

void ShipHealthMeter::attach(Ship* s) {
    owner = s;
    loadSharedTexture(moonTexture, "images/map-moon.jpg", Jpeg);
}

float ShipHealthMeter::solidRadius() const {
    if (!owner) return 0;
    float r = static_cast<float>(owner->health) / Ship::FullHealth * GaugeRadius;
    return r > 0 ? r : 0; // also catches NaN
}

CollisionShape ShipHealthMeter::getBounds() { return CollisionShape(Sphere, Vector3(), 0); }

bool ShipHealthMeter::isCollidable() { return false; }

void ShipHealthMeter::collide(Object&) {}

void ShipHealthMeter::collideWithPlanet(Planet&) {}

void ShipHealthMeter::collideWithShip(Ship&) {}

void ShipHealthMeter::collideWithProjectile(Projectile&) {}

void ShipHealthMeter::collideWithReward(Reward&) {}

void ShipHealthMeter::draw() {
    // A dead ship shows no gauge at all; an unattached meter has nothing to show.
    if (!owner || !owner->alive) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, moonTexture);
    gluQuadricTexture(shipMeterQuadric, GL_TRUE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(ShipGaugeCentre.x, ShipGaugeCentre.y, ShipGaugeCentre.z);
    glRotatef(spin * 0.5f, 1, 1, 1);
    gluSphere(shipMeterQuadric, solidRadius(), SphereDetail, SphereDetail);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void ShipHealthMeter::drawTranslucent() {
    if (!owner || !owner->alive) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, moonTexture);
    gluQuadricTexture(shipMeterShellQuadric, GL_TRUE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(ShipGaugeCentre.x, ShipGaugeCentre.y, ShipGaugeCentre.z);
    glRotatef(spin * 0.5f, 1, 0, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 0.5f);
    gluSphere(shipMeterShellQuadric, GaugeRadius, SphereDetail, SphereDetail);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

// Turns whether or not it is drawn: the ship steps its meter every update.
void ShipHealthMeter::update() { spin += 1; }

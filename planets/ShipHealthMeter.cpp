// The ship gauge: a moon-textured globe sized by the ship's health inside a half-transparent full one.
#include "planets/ShipHealthMeter.h"

#include "data/Constants.h"
#include "data/Globals.h"
#include "planets/Globe.h"
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
    return owner ? radiusForHealth(owner->health, Ship::FullHealth, GaugeRadius) : 0;
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
    drawGaugeGlobe(shipMeterQuadric, moonTexture, ShipGaugeCentre, spin * 0.5f, solidRadius(), false);
}

void ShipHealthMeter::drawTranslucent() {
    if (!owner || !owner->alive) return;
    drawGaugeShell(shipMeterShellQuadric, moonTexture, ShipGaugeCentre, spin * 0.5f, Vector3(1, 0, 0));
}

// Turns whether or not it is drawn: the ship steps its meter every update.
void ShipHealthMeter::update() { spin += 1; }

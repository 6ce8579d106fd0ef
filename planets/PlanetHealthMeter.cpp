// The planet gauge: a solid globe sized by the home planet's health inside a half-transparent full one.
#include "planets/PlanetHealthMeter.h"

#include "data/Constants.h"
#include "data/Globals.h"
#include "planets/Globe.h"
#include "planets/Planet.h"

PlanetHealthMeter::PlanetHealthMeter() : Object(audio::Channel()), frame(PlanetGaugeCentre) {}

void PlanetHealthMeter::attach(Planet* p) { owner = p; }

float PlanetHealthMeter::solidRadius() const {
    return owner ? radiusForHealth(owner->health, Planet::FullHealth, GaugeRadius) : 0;
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
    drawGaugeGlobe(planetMeterQuadric, owner->texture, frame.origin, owner->spin * 0.5f, solidRadius(), true);
}

void PlanetHealthMeter::drawTranslucent() {
    if (!owner || !owner->alive) return;
    drawGaugeShell(planetMeterShellQuadric, owner->texture, frame.origin, owner->spin * 0.5f,
                   Vector3(1, 1, 1));
}

// The planet steps its meter every update; the angle is read from the planet when drawing.
void PlanetHealthMeter::update() {}

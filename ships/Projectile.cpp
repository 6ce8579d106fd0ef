// A twin laser bolt: launch from its ship's muzzle, flight, lifetime, hit handling and its beams.
#include "ships/Projectile.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "audio/GameAudio.h"
#include "data/Constants.h"
#include "data/Globals.h"
#include "effects/Explosion.h"
#include "objects/CollisionResponses.h"
#include "ships/Ship.h"

namespace {

// Ages 0 to 18 are in flight; 19 and up are spent.
bool withinLifetime(int age) { return age * double(FrameTime) <= double(ProjectileLifetime); }

} // namespace

Projectile::Projectile() : Object(playLaser()) {}

void Projectile::launch(Ship& owner, float muzzleDistance, float sizeScale) {
    halfWidth = BeamHalfWidth * sizeScale;
    this->owner = &owner;
    frame = owner.frame;
    // The ship's own velocity is not added: every bolt flies at the same speed.
    velocity = frame.transform(Vector3(0, 0, -ProjectileSpeed), false);
    // Start outside the ship's own sphere so it cannot hit its shooter.
    frame.origin.addScaled(frame.zAxis, -muzzleDistance);
}

bool Projectile::isSpent() const { return !withinLifetime(age); }
int Projectile::ownerPlayer() const { return owner->playerNumber; }
int Projectile::damageAmount() const { return LaserDamage; }

void Projectile::destroyOnHit() {
    alive = false;
    setPaused(true);
    spawnSpark(frame.origin);
}

// The beams cover the stretch the bolt flies during the next frame.
CollisionShape Projectile::getBounds() {
    return CollisionShape(TwinBeam, frame.origin, frame.transform(Vector3(-halfWidth, 0, 0), true),
                          frame.transform(Vector3(-halfWidth, 0, -BeamLength), true),
                          frame.transform(Vector3(halfWidth, 0, 0), true),
                          frame.transform(Vector3(halfWidth, 0, -BeamLength), true));
}

bool Projectile::isCollidable() { return alive && withinLifetime(age); }
void Projectile::collide(Object& other) { other.collideWithProjectile(*this); }
void Projectile::collideWithPlanet(Planet& p) { resolveCollision(p, *this); }
void Projectile::collideWithShip(Ship& s) { resolveCollision(s, *this); }
void Projectile::collideWithProjectile(Projectile&) {}
void Projectile::collideWithReward(Reward& r) { resolveCollision(*this, r); }
void Projectile::draw() {}

void Projectile::drawTranslucent() {
    glPushMatrix();
    glLoadIdentity();
    frame.applyGL();
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    const float* c = playerColours[ownerPlayer()];
    const GLfloat colour[4] = {c[0], c[1], c[2], 0.5f};
    glColor4fv(colour);
    // Each cylinder runs along +Z from the front end of its beam back to the bolt.
    glTranslatef(-halfWidth, 0, -BeamLength);
    gluCylinder(beamQuadric, BeamRadius, BeamRadius, BeamLength, 8, 1);
    glTranslatef(2 * halfWidth, 0, 0);
    gluCylinder(beamQuadric, BeamRadius, BeamRadius, BeamLength, 8, 1);
    const GLfloat white[4] = {1, 1, 1, 1};
    glColor4fv(white);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void Projectile::update() {
    frame.origin.addScaled(velocity, FrameTime);
    age += 1;
}

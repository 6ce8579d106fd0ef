// A ship's exhaust: a fixed ring of puffs born at the tail, aged, coloured by age and drawn additively.
#include "effects/SmokeTrail.h"

#include "effects/ParticleSprite.h"

#include "data/Constants.h"
#include "data/Globals.h"
#include "math/Random.h"
#include "render/TextureLoader.h"
#include "ships/Ship.h"

namespace {

constexpr float EmitPeriod = FrameTime; // an emitting trail emits every update
constexpr float PuffLifetime = 3.0f;
constexpr float Growth = 2.0f;

// In steady emission the ring holds every live puff: none is overwritten before it has died.
static_assert(SmokeTrail::Capacity >= SmokeTrail::PuffsPerEmission * updatesToRunOut(PuffLifetime),
              "the ring holds every puff alive at once");

float randomUnit() { return static_cast<float>(randomDraw()) / RandomMax; }

Vector3 blend(Vector3 a, Vector3 b, float k) {
    return Vector3(a.x * k + b.x * (1 - k), a.y * k + b.y * (1 - k), a.z * k + b.z * (1 - k));
}

} // namespace

SmokeTrail::SmokeTrail() : Object(audio::Channel()) {}

void SmokeTrail::attach(Ship* s) {
    owner = s;
    for (SmokeTrailParticle& p : particles)
        p.life = 0;
    loadSharedTexture(smokeTrailTexture, "images/smoketrail.tga", TgaWithAlpha);
}

void SmokeTrail::emit() {
    // Puffs are born at the owner's tail; without one there is nowhere to put them.
    if (!owner) return;
    for (int i = 0; i < PuffsPerEmission; ++i) {
        spawnParticle(particles[nextParticle]);
        nextParticle = (nextParticle + 1) % Capacity;
    }
}

void SmokeTrail::spawnParticle(SmokeTrailParticle& p) {
    const Frame& f = owner->frame;
    const Vector3 v = owner->velocity;
    // One draw per statement, so the order of draws is fixed.
    p.shade = randomUnit();
    Vector3 local;
    local.x = static_cast<float>(randomDraw() % 20 - 10);
    local.y = static_cast<float>(randomDraw() % 20 - 10);
    local.z = static_cast<float>(randomDraw() % 1500); // out of the tail: the nose is -Z
    p.velocity = f.transform(local, false);

    p.position = f.origin;
    p.position.addScaled(f.zAxis, owner->trailOffset());
    p.position.addScaled(f.yAxis, -owner->trailLift());
    // Spread the births over the frame the ship has just flown, so a fast ship leaves no gaps.
    p.position.x -= v.x * (randomUnit() * EmitPeriod);
    p.position.y -= v.y * (randomUnit() * EmitPeriod);
    p.position.z -= v.z * (randomUnit() * EmitPeriod);

    p.velocity.add(v);
    p.position.addScaled(v, -EmitPeriod);
    p.life = PuffLifetime;
    p.size = static_cast<float>(60 + randomDraw() % 38 - 19);
}

Vector3 SmokeTrail::smokeColour(const SmokeTrailParticle& p) const {
    // Each factor is the reciprocal of its band's width, so the ramp has no jumps.
    float t = p.life / PuffLifetime;
    if (t > 0.98f) return blend(flameBlue, flameRed, (t - 0.98f) * 50.00005f);
    if (t > 0.9f) return blend(flameRed, flameOrange, (t - 0.9f) * 12.49999f);
    if (t > 0.6f) return blend(flameOrange, smokeGrey, (t - 0.6f) * 3.333334f);
    return blend(smokeGrey, smokeDark, t * 1.666667f);
}

int SmokeTrail::liveCount() const {
    int n = 0;
    for (const SmokeTrailParticle& p : particles)
        if (p.life > 0) ++n;
    return n;
}

CollisionShape SmokeTrail::getBounds() {
    return owner ? owner->getBounds() : CollisionShape(Sphere, Vector3(), 0);
}

bool SmokeTrail::isCollidable() { return false; }

void SmokeTrail::collide(Object&) {}

void SmokeTrail::collideWithPlanet(Planet&) {}

void SmokeTrail::collideWithShip(Ship&) {}

void SmokeTrail::collideWithProjectile(Projectile&) {}

void SmokeTrail::collideWithReward(Reward&) {}

void SmokeTrail::draw() {}

void SmokeTrail::drawTranslucent() {
    beginParticleSprites(smokeTrailTexture);
    Frame camera = cameraFrame;
    for (const SmokeTrailParticle& p : particles) {
        if (!(p.life > 0)) continue;
        const Vector3 colour = smokeColour(p);
        glColor4f(colour.x, colour.y, colour.z, p.life / PuffLifetime * p.shade);
        emitParticleSprite(camera, p.position, p.size);
    }
    endParticleSprites();
}

void SmokeTrail::update() {
    if (emitTimer > 0) countDown(emitTimer);
    // The period is one update, so an emitting trail emits every update, and at once after a pause.
    if (!(emitTimer > 0) && emitting) {
        emit();
        emitTimer = EmitPeriod;
    }
    for (SmokeTrailParticle& p : particles) {
        if (!(p.life > 0)) continue;
        p.position.addScaled(p.velocity, FrameTime);
        countDown(p.life);
        p.size += Growth;
    }
}

// Particle explosions: setup from the shared random generator, flight and fade, camera-facing drawing.
#include "effects/Explosion.h"

#include "effects/ParticleSprite.h"

#include "audio/GameAudio.h"
#include "data/Constants.h"
#include "data/Globals.h"
#include "math/Random.h"
#include "render/TextureLoader.h"

namespace {

constexpr float Lifetime = 10.0f;

// A whole number from -range to range - 1. A range below 1 would make the remainder divide by zero,
// so it is taken as 1; the product is formed wide so a huge range cannot overflow.
int randomOffset(int range) {
    long long r = range < 1 ? 1 : range;
    return static_cast<int>(randomDraw() % (2 * r) - r);
}

float randomHundredth() { return static_cast<float>(randomDraw() % 100) / 100; }

const ExplosionPreset* presetOf(int kind) {
    return kind >= 0 && kind < ExplosionKinds ? &explosionPresets[kind] : nullptr;
}

float randomSize(const ExplosionPreset* preset) {
    return preset ? static_cast<float>(preset->sizeMin + randomDraw() % preset->sizeRange) : 20;
}

GLuint textureFor(int kind) {
    const ExplosionPreset* preset = presetOf(kind);
    return preset && preset->round ? particleCircleTexture : particleNormalTexture;
}

void spawnPreset(ExplosionKind kind, Vector3 position) {
    const ExplosionPreset& p = explosionPresets[kind];
    spawnExplosion(kind, position, p.spread, p.count, p.speed);
}

// A shared texture whose file failed keeps its name but never gets an image of level 0.
bool hasImage(GLuint name) {
    if (name == 0) return false;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return width > 0;
}

void loadParticleTextures() {
    bool normalWasLoaded = particleNormalTexture != 0;
    loadSharedTexture(particleNormalTexture, "images/particlealphanormal.tga", TgaWithAlpha);
    // One failed file per explosion: after a failure the circle waits for the next setup.
    if (!normalWasLoaded && !hasImage(particleNormalTexture)) return;
    loadSharedTexture(particleCircleTexture, "images/particlealphacircle.tga", TgaWithAlpha);
}

} // namespace

Explosion::Explosion() : Object(playExplosion()) {}

void Explosion::setup(int burstKind, Vector3 centre, int spread, int count, int speed) {
    life = Lifetime;
    kind = burstKind;
    position = centre;
    particleCount = count;
    if (count <= 0) return;

    particles = std::make_unique<ExplosionParticle[]>(count);
    const ExplosionPreset* preset = presetOf(kind);
    // Every coordinate is its own statement: the draws must come in this exact order.
    for (int i = 0; i < count; ++i) {
        ExplosionParticle& p = particles[i];
        p.position = position;
        p.position.z += randomOffset(spread);
        p.position.y += randomOffset(spread);
        p.position.x += randomOffset(spread);
        p.velocity.x = static_cast<float>(randomOffset(speed));
        p.velocity.y = static_cast<float>(randomOffset(speed));
        p.velocity.z = static_cast<float>(randomOffset(speed));
        if (preset && preset->randomColour) {
            p.red = randomHundredth();
            p.green = randomHundredth();
            p.blue = randomHundredth();
        } else {
            p.red = p.green = p.blue = 1;
        }
        p.alpha = randomHundredth();
        p.size = randomSize(preset);
    }
    loadParticleTextures();
}

CollisionShape Explosion::getBounds() { return CollisionShape(Sphere, position, 0); }

bool Explosion::isCollidable() { return false; }

void Explosion::collide(Object&) {}

void Explosion::collideWithPlanet(Planet&) {}

void Explosion::collideWithShip(Ship&) {}

void Explosion::collideWithProjectile(Projectile&) {}

void Explosion::collideWithReward(Reward&) {}

void Explosion::draw() {}

void Explosion::drawTranslucent() {
    if (!(life > 0) || particleCount <= 0 || !particles) return;
    float fade = life / Lifetime;
    beginParticleSprites(textureFor(kind));
    Frame camera = cameraFrame;
    for (int i = 0; i < particleCount; ++i) {
        const ExplosionParticle& p = particles[i];
        glColor4f(p.red, p.green, p.blue, p.alpha * fade);
        emitParticleSprite(camera, p.position, p.size);
    }
    endParticleSprites();
}

void Explosion::update() {
    setPaused(false); // the sound starts on the first step
    if (life > 0 && particleCount > 0 && particles) {
        countDown(life);
        for (int i = 0; i < particleCount; ++i)
            particles[i].position.addScaled(particles[i].velocity, FrameTime);
    }
}

void spawnExplosion(int kind, Vector3 position, int spread, int count, int speed) {
    auto e = std::make_unique<Explosion>();
    e->setup(kind, position, spread, count, speed);
    explosions.push_back(std::move(e));
}

void spawnSpark(Vector3 position) { spawnPreset(Spark, position); }
void spawnShipBlast(Vector3 position) { spawnPreset(ShipBlast, position); }
void spawnRewardBurst(Vector3 position) { spawnPreset(RewardBurst, position); }
void spawnPlanetBlast(Vector3 position) { spawnPreset(PlanetBlast, position); }

// Explosions and smoke trails: random set-up in draw order, lifetimes, colour ramp and drawing.
#include <cstdlib>
#include <gtest/gtest.h>

#include "data/Globals.h"
#include "effects/Explosion.h"
#include "effects/SmokeTrail.h"
#include "math/Random.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"

namespace {

void clearExplosions() {
    for (Explosion* e : explosions)
        delete e;
    explosions.clear();
}

class EffectsGL : public testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::openGLWindow()) GTEST_SKIP() << "no display";
        testing_support::resetGameGLState();
    }
    void TearDown() override { clearExplosions(); }
};

float offset(int range) { return float(randomDraw() % (2 * range) - range); }

float hundredth() { return float(randomDraw() % 100) / 100; }

} // namespace

TEST_F(EffectsGL, PresetsDrawTheirParticlesInOrderWithTheirKindsLooks) {
    struct Row {
        void (*spawn)(Vector3);
        int kind, spread, count, speed, sizeMin, sizeSpan;
    } rows[] = {{spawnSpark, Spark, 10, 10, 10, 15, 10},
                {spawnShipBlast, ShipBlast, 20, 1500, 300, 15, 20},
                {spawnRewardBurst, RewardBurst, 50, 2500, 100, 5, 20},
                {spawnPlanetBlast, PlanetBlast, 10, 5000, 500, 5, 50}};
    const Vector3 at(100, -200, 300);
    for (const Row& r : rows) {
        // The first particle, replayed: offset z, y, x; velocity x, y, z; colour; alpha; size.
        srand(77);
        Vector3 d, v, colour(1, 1, 1);
        d.z = offset(r.spread), d.y = offset(r.spread), d.x = offset(r.spread);
        v.x = offset(r.speed), v.y = offset(r.speed), v.z = offset(r.speed);
        if (r.kind == RewardBurst) colour.x = hundredth(), colour.y = hundredth(), colour.z = hundredth();
        const float alpha = hundredth(), size = r.sizeMin + randomDraw() % r.sizeSpan;

        srand(77);
        r.spawn(at);
        ASSERT_EQ(explosions.size(), 1u);
        const Explosion& e = *explosions.back();
        ASSERT_TRUE(e.kind == r.kind && e.particleCount == r.count);
        const ExplosionParticle& p = e.particles[0];
        for (int a = 0; a < 3; ++a) {
            EXPECT_FLOAT_EQ((&p.position.x)[a] - (&at.x)[a], (&d.x)[a]) << a;
            EXPECT_FLOAT_EQ((&p.velocity.x)[a], (&v.x)[a]) << a;
        }
        EXPECT_TRUE(p.red == colour.x && p.green == colour.y && p.blue == colour.z) << p.red;
        EXPECT_TRUE(p.alpha == alpha && p.size == size) << p.alpha << " " << p.size;
        clearExplosions();
    }
}

TEST_F(EffectsGL, ExplosionTakesSpreadAndSpeedBelowOneAsOneAndBurnsOutOnThe300thUpdate) {
    for (int low : {0, -4}) {
        Explosion e;
        e.setup(RewardBurst, Vector3(1, 2, 3), low, 50, low);
        for (int i = 0; i < e.particleCount; ++i) {
            const ExplosionParticle& p = e.particles[i];
            for (float c : {p.position.x - 1, p.position.z - 3, p.velocity.x, p.velocity.z})
                ASSERT_TRUE(c == -1 || c == 0) << "at " << low << ": " << c;
        }
    }

    Explosion e;
    e.setup(ShipBlast, Vector3(), 5, 3, 50);
    const float start = e.particles[0].position.x;
    for (int i = 0; i < 299; ++i)
        e.update();
    EXPECT_NEAR(e.life, 0.0333f, 1e-3); // one step of life left
    e.update();
    EXPECT_LE(e.life, 0);
    const float end = e.particles[0].position.x;
    e.update();
    EXPECT_EQ(e.particles[0].position.x, end);
    EXPECT_NEAR(end, start + e.particles[0].velocity.x * 10, 0.05f);
}

TEST_F(EffectsGL, ParticlesTurnWithTheCameraFrame) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-400, 400, -300, 300, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    Explosion e;
    e.setup(PlanetBlast, Vector3(), 1, 1, 1);
    e.particles[0] = {Vector3(), Vector3(), 1, 1, 1, 0.99f, 400};
    int lit[2];
    for (int turned = 0; turned < 2; ++turned) {
        cameraFrame = Frame();
        cameraFrame.rotateAboutY(turned * 1.2f); // the view stays put, so a turned triangle looks narrower
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        e.drawTranslucent();
        lit[turned] = testing_support::countLitPixels(0, 0, 800, 600, 10);
    }
    cameraFrame = Frame();
    EXPECT_GT(lit[0], 5000);
    EXPECT_LT(lit[1], lit[0] / 2);
}

TEST_F(EffectsGL, SmokePuffsAreBornAtTheTailInDrawOrderRoundTheRingAndLiveFor91Updates) {
    SmokeTrail trail;
    trail.emitting = true;
    trail.update(); // never attached: nowhere to emit from
    EXPECT_EQ(trail.liveCount(), 0);

    Ship ship; // drifting at (0, 0, 100), turned a quarter round so that its tail points along world -X
    ship.frame = Frame(Vector3(0, 0, 100));
    ship.frame.rotateAboutY(-1.5707964f);
    ship.velocity = Vector3(30, 0, -60);
    trail.attach(&ship);
    trail.nextParticle = 995;
    // The first puff replayed.
    srand(5);
    const float shade = randomDraw() / 32767.0f;
    Vector3 local(randomDraw() % 20 - 10, 0, 0);
    local.y = randomDraw() % 20 - 10;
    local.z = randomDraw() % 1500;
    const float jitterX = randomDraw() / 32767.0f * FrameTime;
    randomDraw();
    const float jitterZ = randomDraw() / 32767.0f * FrameTime;
    const float size = 60 + randomDraw() % 38 - 19;
    srand(5);
    trail.update(); // born, then moved once
    const SmokeTrailParticle& p = trail.particles[995];
    Vector3 velocity = ship.frame.transform(local, false);
    velocity.add(ship.velocity);
    Vector3 born(-50 - ship.velocity.x * (jitterX + FrameTime), 0,
                 100 - ship.velocity.z * (jitterZ + FrameTime));
    born.addScaled(velocity, FrameTime);
    EXPECT_FLOAT_EQ(p.shade, shade);
    EXPECT_FLOAT_EQ(p.size, size + 2);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR((&p.velocity.x)[axis], (&velocity.x)[axis], 1e-3) << axis;
        EXPECT_NEAR((&p.position.x)[axis], (&born.x)[axis], 1e-3) << axis;
    }
    EXPECT_EQ(trail.nextParticle, 5);

    trail.emitting = false; // the ten puffs of that one update live on
    for (int i = 1; i < 90; ++i)
        trail.update();
    EXPECT_EQ(trail.liveCount(), 10);
    trail.update();
    EXPECT_EQ(trail.liveCount(), 0);
    trail.emitting = true; // a trail that paused emits on the very next update
    trail.update();
    EXPECT_EQ(trail.liveCount(), 10);
    trail.attach(&ship);
    EXPECT_EQ(trail.liveCount(), 0);
}

TEST(SmokeColour, CoolsFromBlueThroughRedAndOrangeToGreyAndDark) {
    // Life, then the colour: where the first two bands end and halfway through each band.
    const float rows[][4] = {{3.0f, 0.3f, 0.5f, 1.0f},     {2.97f, 0.65f, 0.4f, 0.55f},
                             {2.94f, 1.0f, 0.3f, 0.1f},    {2.82f, 1.0f, 0.45f, 0.05f},
                             {2.25f, 0.65f, 0.45f, 0.15f}, {0.9f, 0.2f, 0.2f, 0.2f}};
    SmokeTrail trail;
    SmokeTrailParticle p;
    p.shade = 0.7f;
    for (const auto& r : rows) {
        p.life = r[0];
        Vector3 c;
        EXPECT_FLOAT_EQ(trail.smokeColour(p, c), 0.7f);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR((&c.x)[axis], r[1 + axis], 1e-3) << r[0] << " axis " << axis;
    }
}

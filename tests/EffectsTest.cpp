// Explosions and smoke trails: random set-up in draw order, lifetimes, colour ramp and drawing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "data/Constants.h"
#include "data/Globals.h"
#include "effects/Explosion.h"
#include "effects/SmokeTrail.h"
#include "math/Random.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"
#include "support/Stdout.h"

using testing_support::stdoutOf;

namespace {

class EffectsGL : public testing::Test {
  protected:
    void SetUp() override {
        if (!testing_support::openGLWindow()) GTEST_SKIP() << "no display";
        testing_support::resetGameGLState();
    }
    void TearDown() override { explosions.clear(); }
};

float offset(int range) { return float(randomDraw() % (2 * range) - range); }

float hundredth() { return float(randomDraw() % 100) / 100; }

} // namespace

TEST_F(EffectsGL, PresetsDrawTheirParticlesInOrderWithTheirKindsLooks) {
    const std::pair<void (*)(Vector3), int> spawns[] = {{spawnSpark, Spark},
                                                        {spawnShipBlast, ShipBlast},
                                                        {spawnRewardBurst, RewardBurst},
                                                        {spawnPlanetBlast, PlanetBlast}};
    const Vector3 at(100, -200, 300);
    for (const auto& [spawn, kind] : spawns) {
        const ExplosionPreset& r = explosionPresets[kind];
        // The first particle, replayed: offset z, y, x; velocity x, y, z; colour; alpha; size.
        srand(77);
        Vector3 d, v, colour(1, 1, 1);
        d.z = offset(r.spread), d.y = offset(r.spread), d.x = offset(r.spread);
        v.x = offset(r.speed), v.y = offset(r.speed), v.z = offset(r.speed);
        if (r.randomColour) colour.x = hundredth(), colour.y = hundredth(), colour.z = hundredth();
        const float alpha = hundredth(), size = r.sizeMin + randomDraw() % r.sizeRange;

        srand(77);
        spawn(at);
        ASSERT_EQ(explosions.size(), 1u);
        const Explosion& e = *explosions.back();
        ASSERT_TRUE(e.kind == kind && e.particleCount == r.count);
        const ExplosionParticle& p = e.particles[0];
        for (int a = 0; a < 3; ++a) {
            EXPECT_FLOAT_EQ((&p.position.x)[a] - (&at.x)[a], (&d.x)[a]) << a;
            EXPECT_FLOAT_EQ((&p.velocity.x)[a], (&v.x)[a]) << a;
        }
        EXPECT_TRUE(p.red == colour.x && p.green == colour.y && p.blue == colour.z) << p.red;
        EXPECT_TRUE(p.alpha == alpha && p.size == size) << p.alpha << " " << p.size;
        // Every particle within its kind's ranges, in whole numbers and hundredths.
        auto within = [](float v, int lo, int hi) {
            return v >= lo - 1e-3f && v <= hi + 1e-3f && std::fabs(v - std::round(v)) < 1e-3f;
        };
        for (int i = 0; i < e.particleCount; ++i) {
            const ExplosionParticle& q = e.particles[i];
            bool ok = within(q.size, r.sizeMin, r.sizeMin + r.sizeRange - 1) && within(q.alpha * 100, 0, 99);
            for (int a = 0; a < 3; ++a)
                ok = ok && within((&q.position.x)[a] - (&at.x)[a], -r.spread, r.spread - 1) &&
                     within((&q.velocity.x)[a], -r.speed, r.speed - 1) &&
                     (r.randomColour ? within((&q.red)[a] * 100, 0, 99) : (&q.red)[a] == 1);
            ASSERT_TRUE(ok) << "particle " << i << " of kind " << kind;
        }
        explosions.clear();
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

// One game unit a pixel: a particle is an upright triangle in the camera's plane round its place, in its
// colour, its alpha faded by life / 10, with its kind's texture; nothing once the explosion has burnt out.
TEST_F(EffectsGL, ParticlesFaceTheCameraAndFadeWithTheirExplosionsLife) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-400, 400, -300, 300, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    Explosion e;
    e.setup(PlanetBlast, Vector3(), 1, 1, 1);
    e.particles[0] = {Vector3(10, 20, 0), Vector3(), 1, 0.5f, 0.25f, 0.8f, 30};
    cameraFrame = Frame();
    cameraFrame.rotateAboutY(0.7f);
    cameraFrame.rotateAboutX(-0.3f);
    const float corners[3][4] = {
        {0, 0.666666f, 0.5f, 0}, {0.5f, -0.333333f, 1, 1}, {-0.5f, -0.333333f, 0, 1}};
    for (auto [steps, alpha] : {std::pair{0, 0.8f}, std::pair{150, 0.4f}, std::pair{150, 0.0f}}) {
        for (int i = 0; i < steps; ++i)
            e.update();
        const auto drawn = testing_support::feedbackTriangles([&] { e.drawTranslucent(); });
        if (alpha == 0) {
            EXPECT_TRUE(drawn.empty()) << "drawn after its 300th step";
            break;
        }
        ASSERT_EQ(drawn.size(), 1u);
        for (int k = 0; k < 3; ++k) {
            const testing_support::FeedbackVertex& v = drawn[0][k];
            Vector3 corner = cameraFrame.transform(Vector3(corners[k][0] * 30, corners[k][1] * 30, 0), false);
            EXPECT_NEAR(v.x - 400, 10 + corner.x, 1e-3) << k;
            EXPECT_NEAR(v.y - 300, 20 + corner.y, 1e-3) << k;
            EXPECT_TRUE(v.s == corners[k][2] && v.t == corners[k][3]) << k;
            EXPECT_TRUE(v.colour[0] == 1 && v.colour[1] == 0.5f && v.colour[2] == 0.25f);
            EXPECT_NEAR(v.colour[3], alpha, 1e-4) << steps;
        }
    }
    cameraFrame = Frame();
    // Sparks and reward bursts are round, ship and planet blasts not.
    e.life = 10;
    for (int kind : {Spark, ShipBlast, RewardBurst, PlanetBlast}) {
        e.kind = kind;
        e.drawTranslucent();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(GLuint(bound),
                  kind == Spark || kind == RewardBurst ? particleCircleTexture : particleNormalTexture)
            << kind;
    }
}

// Without images/, the first explosion reports its first image only; the other waits for the next.
TEST_F(EffectsGL, AMissingParticleImageLeavesTheOtherForTheNextExplosion) {
    char here[4096], dir[] = "/tmp/gravimel-particles-XXXXXX";
    ASSERT_TRUE(getcwd(here, sizeof here) && mkdtemp(dir));
    ASSERT_EQ(chdir(dir), 0);
    particleNormalTexture = particleCircleTexture = 0;
    const char* files[] = {"particlealphanormal", "particlealphacircle"};
    for (const char* file : files) {
        const std::string out = stdoutOf([] { Explosion().setup(Spark, Vector3(), 1, 1, 1); });
        const std::string line = std::string("Error: could not load images/") + file + ".tga. Reason: ";
        EXPECT_TRUE(out.rfind(line, 0) == 0 && std::count(out.begin(), out.end(), '\n') == 1) << out;
        EXPECT_TRUE(file == files[1] || particleCircleTexture == 0) << "tried along with the first";
    }
    ASSERT_EQ(chdir(here), 0);
    rmdir(dir);
    particleNormalTexture = particleCircleTexture = 0; // the real images for whoever comes next
}

TEST_F(EffectsGL, SmokePuffsAreBornAtTheTailInDrawOrderRoundTheRingAndLiveFor91Updates) {
    SmokeTrail trail;
    trail.emitting = true;
    trail.update(); // never attached: nowhere to emit from
    EXPECT_EQ(trail.liveCount(), 0);

    // A grown ship drifting at (0, 0, 100), turned a quarter round so that its tail points along world -X.
    Ship ship;
    ship.rewardTimers[Grow] = 5;
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
    Vector3 born(-150 - ship.velocity.x * (jitterX + FrameTime), 0,
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

// A puff is drawn in its ramp colour at alpha life / 3 x shade.
TEST_F(EffectsGL, SmokeCoolsFromBlueThroughRedAndOrangeToGreyAndDarkAsItFades) {
    // Life, then the colour: where the first two bands end and halfway through each band.
    const float rows[][4] = {{3.0f, 0.3f, 0.5f, 1.0f},     {2.97f, 0.65f, 0.4f, 0.55f},
                             {2.94f, 1.0f, 0.3f, 0.1f},    {2.82f, 1.0f, 0.45f, 0.05f},
                             {2.25f, 0.65f, 0.45f, 0.15f}, {0.9f, 0.2f, 0.2f, 0.2f}};
    glMatrixMode(GL_PROJECTION);
    glOrtho(-400, 400, -300, 300, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    SmokeTrail trail;
    SmokeTrailParticle& p = trail.particles[0];
    p.shade = 0.7f;
    p.size = 40;
    for (const auto& r : rows) {
        p.life = r[0];
        const auto drawn = testing_support::feedbackTriangles([&] { trail.drawTranslucent(); });
        ASSERT_EQ(drawn.size(), 1u);
        const float* c = drawn[0][0].colour;
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(c[axis], r[1 + axis], 1e-3) << r[0] << " axis " << axis;
        EXPECT_NEAR(c[3], r[0] / 3 * 0.7f, 1e-4) << r[0];
    }
}

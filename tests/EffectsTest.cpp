// Explosions and smoke trails: random set-up in draw order, lifetimes, colour ramp and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data/Globals.h"
#include "effects/Explosion.h"
#include "effects/SmokeTrail.h"
#include "math/Random.h"
#include "ships/Ship.h"
#include "support/Draws.h"
#include "support/GLTestWindow.h"
#include "support/Near.h"
#include "support/Stdout.h"
#include "support/TempDir.h"

using testing_support::near;
using testing_support::stdoutOf;

namespace {

class EffectsGL : public testing_support::GLTest {
  protected:
    void TearDown() override { explosions.clear(); }
};

// A whole number from lo to hi (to float precision).
bool whole(float v, int lo, int hi) {
    return v >= lo - 1e-2f && v <= hi + 1e-2f && std::fabs(v - std::round(v)) < 1e-2f;
}

} // namespace

// Each preset's particles: offsets within the spread and velocities within the speed, whole numbers from
// -range to range - 1; colour hundredths (reward bursts) or white; alpha in hundredths; size from its
// kind's range. Each particle's draws come in the order offset z, y, x; velocity x, y, z; colour; alpha;
// size. Sparks and reward bursts are drawn with the round texture, the other two with the plain.
TEST_F(EffectsGL, PresetsDrawTheirParticlesInOrderWithTheirKindsLooks) {
    // clang-format off
    const struct { void (*spawn)(Vector3); int kind, spread, count, speed, sizeMin, sizeMax; bool coloured, round; }
    presets[] = {{spawnSpark,       0, 10, 10,   10,  15, 24, false, true},
                 {spawnShipBlast,   1, 20, 1500, 300, 15, 34, false, false},
                 {spawnRewardBurst, 2, 50, 2500, 100, 5,  24, true,  true},
                 {spawnPlanetBlast, 3, 10, 5000, 500, 5,  54, false, false}};
    // clang-format on
    const Vector3 at(100, -200, 300);
    for (const auto& r : presets) {
        SCOPED_TRACE(r.kind);
        const std::vector<ExplosionParticle> all = testing_support::replayDraws(77, [&] {
            auto offset = [](int range) { return float(randomDraw() % (2 * range) - range); };
            auto hundredth = [] { return float(randomDraw() % 100) / 100; };
            std::vector<ExplosionParticle> foreseen(r.count, ExplosionParticle{at, {}, 1, 1, 1, 0, 0});
            for (ExplosionParticle& q : foreseen) {
                q.position.z += offset(r.spread), q.position.y += offset(r.spread),
                    q.position.x += offset(r.spread);
                q.velocity.x = offset(r.speed), q.velocity.y = offset(r.speed),
                q.velocity.z = offset(r.speed);
                if (r.coloured) q.red = hundredth(), q.green = hundredth(), q.blue = hundredth();
                q.alpha = hundredth();
                q.size = float(r.sizeMin + randomDraw() % (r.sizeMax - r.sizeMin + 1));
            }
            return foreseen;
        });
        r.spawn(at);
        ASSERT_EQ(explosions.size(), 1u);
        const Explosion& e = *explosions.back();
        ASSERT_TRUE(e.kind == r.kind && e.particleCount == r.count);
        for (int i = 0; i < e.particleCount; ++i) {
            const ExplosionParticle &p = e.particles[i], &q = all[i];
            ASSERT_TRUE(near(p.position, q.position) && near(p.velocity, q.velocity) &&
                        near(Vector3(p.red, p.green, p.blue), Vector3(q.red, q.green, q.blue)) &&
                        p.alpha == q.alpha && p.size == q.size)
                << "particle " << i;
        }
        explosions.back()->drawTranslucent();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(GLuint(bound), r.round ? particleCircleTexture : particleNormalTexture);
        explosions.clear();
    }
}

// A spread or speed below 1 counts as 1; a kind outside the four is white, of size 20.
TEST_F(EffectsGL, ExplosionTakesRangesBelowOneAsOneAndAnUnknownKindAsPlainWhite) {
    for (int low : {0, -4}) {
        Explosion e;
        e.setup(9, Vector3(1, 2, 3), low, 50, low);
        for (int i = 0; i < e.particleCount; ++i) {
            const ExplosionParticle& p = e.particles[i];
            for (float c : {p.position.x - 1, p.position.z - 3, p.velocity.x, p.velocity.z})
                ASSERT_TRUE(c == -1 || c == 0) << "at " << low << ": " << c;
            ASSERT_TRUE(p.size == 20 && p.red == 1 && p.green == 1 && p.blue == 1) << i;
        }
    }
}

// One game unit a pixel: a particle is an upright triangle in the camera's plane round its place, in its
// colour, its alpha faded by life / 10; it flies at its own speed for ten seconds, the 300th update
// burns the explosion out, and after that it neither moves nor shows.
TEST_F(EffectsGL, ParticlesFaceTheCameraFadeWithLifeAndBurnOutOnThe300thUpdate) {
    testing_support::flatProjection();
    Explosion e;
    e.setup(PlanetBlast, Vector3(), 1, 1, 1);
    e.particles[0] = {Vector3(10, 20, 0), Vector3(3, 0, 0), 1, 0.5f, 0.25f, 0.8f, 30};
    cameraFrame = Frame();
    cameraFrame.rotateAboutY(0.7f);
    cameraFrame.rotateAboutX(-0.3f);
    const float corners[3][4] = {
        {0, 0.666666f, 0.5f, 0}, {0.5f, -0.333333f, 1, 1}, {-0.5f, -0.333333f, 0, 1}};
    int updates = 0;
    for (auto [steps, alpha] :
         {std::pair{0, 0.8f}, std::pair{150, 0.4f}, std::pair{149, 0.8f / 300}, std::pair{1, 0.0f}}) {
        for (int i = 0; i < steps; ++i, ++updates)
            e.update();
        const auto drawn = testing_support::feedbackTriangles([&] { e.drawTranslucent(); });
        if (alpha == 0) {
            EXPECT_TRUE(drawn.empty() && !(e.life > 0)) << "after its 300th update";
            break;
        }
        ASSERT_EQ(drawn.size(), 1u);
        for (int k = 0; k < 3; ++k) {
            const testing_support::FeedbackVertex& v = drawn[0][k];
            Vector3 corner = cameraFrame.transform(Vector3(corners[k][0] * 30, corners[k][1] * 30, 0), false);
            EXPECT_TRUE(near(Vector3(v.x - 400, v.y - 300, 0),
                             Vector3(10 + updates / 10.0f + corner.x, 20 + corner.y, 0), 1e-3f))
                << k;
            EXPECT_TRUE(v.s == corners[k][2] && v.t == corners[k][3]) << k;
            EXPECT_TRUE(near(Vector3(v.colour[0], v.colour[1], v.colour[2]), Vector3(1, 0.5f, 0.25f), 0));
            EXPECT_NEAR(v.colour[3], alpha, 1e-4) << updates;
        }
    }
    cameraFrame = Frame();
    e.update();
    EXPECT_NEAR(e.particles[0].position.x, 40, 1e-3); // 3 a second for ten seconds, and no further
}

// Without images/, the first explosion reports its first image only; the other waits for the next.
TEST_F(EffectsGL, AMissingParticleImageLeavesTheOtherForTheNextExplosion) {
    const testing_support::TempDir empty(testing_support::TempDir::Inside);
    particleNormalTexture = particleCircleTexture = 0;
    const char* files[] = {"particlealphanormal", "particlealphacircle"};
    for (const char* file : files) {
        const std::string out = stdoutOf([] { Explosion().setup(Spark, Vector3(), 1, 1, 1); });
        const std::string line = std::string("Error: could not load images/") + file + ".tga. Reason: ";
        EXPECT_TRUE(out.rfind(line, 0) == 0 && std::count(out.begin(), out.end(), '\n') == 1) << out;
        EXPECT_TRUE(file == files[1] || particleCircleTexture == 0) << "tried along with the first";
    }
    particleNormalTexture = particleCircleTexture = 0; // the real images for whoever comes next
}

// A grown ship (tail 150 behind) drifting at (30, 0, -60), turned a quarter round so that its tail (+Z)
// points along world -X. Each puff gets, in the ship's axes, whole numbers -10 to 9 across and 0 to
// 1499 out of the tail, plus the ship's velocity; it is born at the tail less the ship's velocity times
// 1/30 and a further share of up to 1/30 on each axis, with a shade of 0 to 1 and a size of 41 to 78;
// the update that bears it moves it and grows it by 2 at once.
TEST_F(EffectsGL, SmokePuffsAreBornAtTheTailRoundTheRingAndLiveFor91Updates) {
    SmokeTrail trail;
    trail.emitting = true;
    trail.update(); // never attached: nowhere to emit from
    EXPECT_EQ(trail.liveCount(), 0);

    Ship ship;
    ship.rewardTimers[Grow] = 5;
    ship.frame = Frame(Vector3(0, 0, 100));
    ship.frame.rotateAboutY(-1.5707964f);
    const Vector3 v(30, 0, -60), tail(-150, 0, 100);
    ship.velocity = v;
    trail.attach(&ship);
    trail.nextParticle = 995;
    trail.update();
    EXPECT_EQ(trail.nextParticle, 5);
    EXPECT_EQ(trail.liveCount(), 10);
    for (int slot : {995, 996, 997, 998, 999, 0, 1, 2, 3, 4}) {
        const SmokeTrailParticle& p = trail.particles[slot];
        SCOPED_TRACE(slot);
        Vector3 own = p.velocity;
        own.subtract(v);
        EXPECT_TRUE(whole(own.dot(ship.frame.xAxis), -10, 9) && whole(own.dot(ship.frame.yAxis), -10, 9) &&
                    whole(own.dot(ship.frame.zAxis), 0, 1499));
        Vector3 back = p.position; // how far back along the ship's velocity it was born, in updates
        back.addScaled(p.velocity, -1 / 30.0f);
        back.subtract(tail);
        const float bx = -back.x / v.x * 30, bz = -back.z / v.z * 30;
        EXPECT_TRUE(bx >= 1 - 1e-3f && bx <= 2 + 1e-3f && bz >= 1 - 1e-3f && bz <= 2 + 1e-3f)
            << bx << " " << bz;
        EXPECT_NEAR(back.y, 0, 1e-3);
        EXPECT_TRUE(p.shade >= 0 && p.shade <= 1 && whole(p.size, 43, 80)) << p.size;
    }

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

    srand(1); // 300 puffs on a fixed seed: their outward speeds reach across the whole 0 to 1499
    for (int i = 0; i < 30; ++i)
        trail.update();
    float lo = 1500, hi = 0;
    for (const SmokeTrailParticle& p : trail.particles) {
        Vector3 own = p.velocity;
        own.subtract(v);
        if (p.life > 0)
            lo = std::min(lo, own.dot(ship.frame.zAxis)), hi = std::max(hi, own.dot(ship.frame.zAxis));
    }
    EXPECT_TRUE(lo < 30 && hi > 1470) << lo << " " << hi;
}

// A puff is drawn in its ramp colour at alpha life / 3 x shade.
TEST_F(EffectsGL, SmokeCoolsFromBlueThroughRedAndOrangeToGreyAndDarkAsItFades) {
    // Life, then the colour: where the first two bands end and halfway through each band.
    const float rows[][4] = {{3.0f, 0.3f, 0.5f, 1.0f},     {2.97f, 0.65f, 0.4f, 0.55f},
                             {2.94f, 1.0f, 0.3f, 0.1f},    {2.82f, 1.0f, 0.45f, 0.05f},
                             {2.25f, 0.65f, 0.45f, 0.15f}, {0.9f, 0.2f, 0.2f, 0.2f}};
    testing_support::flatProjection();
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

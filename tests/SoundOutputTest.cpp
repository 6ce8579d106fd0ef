// What is heard: the mix rendered on a loopback device and measured, and once through a real output.
// Every test first points OpenAL Soft at a configuration that turns its output limiter off.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "math/Frame.h"
#include "support/SoundProbe.h"

using namespace audio;
using testing_support::LoopbackMix;

namespace {

constexpr int Left = 0, Right = 1;
constexpr long FrameLength = LoopbackMix::Rate / 30; // a game frame of mixing

struct SoundOutput : ::testing::Test {
    testing_support::TempDir dir;
    std::string wave = testing_support::configureOpenAL();
    std::string tonePath = testing_support::writeTone(dir.path, "tone.wav", 1000.0, 1.0);
    LoopbackMix* out = nullptr;
    SoundSystem* system = nullptr; // never freed, as in the game

    void start(int voices, bool feeder = true) {
        out = &LoopbackMix::next(feeder);
        system = createSoundSystem();
        ASSERT_EQ(system->setSoftwareChannels(voices), OK);
        ASSERT_EQ(system->init(8), OK);
    }
    Channel play(Sound* sound, float volume) {
        Channel c = system->playSound(sound, true);
        c.setVolume(volume);
        c.setPaused(false);
        return c;
    }
    // Game frames of mixing, each followed by its update; returns the frame they began at.
    long pass(double seconds) {
        const long from = out->frames();
        while (out->frames() < from + static_cast<long>(seconds * LoopbackMix::Rate)) {
            out->render(FrameLength);
            system->update();
        }
        return from;
    }
};

TEST_F(SoundOutput, ToneIsPannedByTheShipsAxesFadesWithDistanceAndVolumeAndShiftsWithSpeedAndMusicIsHeard) {
    out = &LoopbackMix::next();
    testing::internal::CaptureStdout();
    initAudio(); // the game's own system, so its 3-D settings are the ones heard
    testing::internal::GetCapturedStdout();
    system = audioSystem;
    Sound* tone = audioSystem->createSound(tonePath.c_str(), Mode3D + LoopNormal);
    ASSERT_TRUE(tone);
    const Channel c = audioSystem->playSound(tone, true);

    // The listener is a ship turned and tilted somewhere in the arena, given as the game gives it.
    Frame ship;
    ship.rotateAboutY(1.1f);
    ship.rotateAboutX(0.4f);
    ship.origin = Vector3(500, -200, 3000);
    Vector3 nose = ship.zAxis;
    nose.negate();
    const double speedOfSound = 343.3 * 35; // metres a second at 35 world units a metre
    const struct {
        const char* name;
        Vector3 axis;
        float distance, volume;
        float speed, away; // the listener's speed towards the sound, the sound's away from it
    } steps[] = {{"right", ship.xAxis, 200, 1, 0, 0},
                 {"left", ship.xAxis, -200, 1, 0, 0},
                 {"ahead", nose, 200, 1, 0, 0},
                 {"far right", ship.xAxis, 2000, 1, 0, 0},
                 {"close", nose, 20, 1, 0, 0},
                 {"close at a quarter", nose, 20, 0.25f, 0, 0},
                 {"still", nose, 6000, 1, 0, 0},
                 {"approaching", nose, 6000, 1, 3000, 0},
                 {"sound moving away", nose, 6000, 1, 0, 3000}};
    constexpr int Steps = sizeof steps / sizeof steps[0];
    float left[Steps], right[Steps], level[Steps];
    for (int i = 0; i < Steps; i++) {
        Vector3 p = ship.origin, v, away;
        p.addScaled(steps[i].axis, steps[i].distance);
        v.addScaled(nose, steps[i].speed);
        away.addScaled(steps[i].axis, steps[i].away);
        ASSERT_EQ(audioSystem->set3DListenerAttributes(ship.origin, v, ship.zAxis, ship.yAxis), OK);
        c.set3DAttributes(p, away);
        c.setVolume(steps[i].volume);
        c.setPaused(false);
        const long from = pass(0.3) + FrameLength * 2, to = out->frames(); // after the change's fade
        left[i] = out->rms(Left, from, to);
        right[i] = out->rms(Right, from, to);
        level[i] = std::hypot(left[i], right[i]);
        EXPECT_GT(level[i], 0.0005f) << steps[i].name;
        if (i >= 6) {
            EXPECT_NEAR(out->frequency(Left, from, to),
                        1000.0 * (speedOfSound + steps[i].speed) / (speedOfSound + steps[i].away), 15.0)
                << steps[i].name;
        }
    }
    EXPECT_GT(right[0], 2 * left[0]) << "a sound off the right wing is louder on the right";
    EXPECT_GT(left[1], 2 * right[1]) << "and one off the left wing on the left";
    EXPECT_NEAR(left[2] / right[2], 1.0f, 0.2f) << "one ahead is centred";
    EXPECT_NEAR(level[3] / level[0], 35.0f / (35 + 2000 - 35) / (35.0f / (35 + 200 - 35)), 0.02f)
        << "attenuation goes by inverse distance beyond 35 units";
    EXPECT_NEAR(level[5] / level[4], 0.25f, 0.02f) << "volume scales the level";
    c.stop();
    playMusic();
    const long from = pass(1.0);
    for (int side : {Left, Right}) {
        const float music = out->rms(side, from, out->frames());
        EXPECT_TRUE(music > 0.01f && music < 0.3f) << "the game's music on side " << side << ": " << music;
    }
}

// A steady tone with a single voice to go round, paused, resumed, handed from a real voice to a virtual
// one and back, and stopped. The caller sees each change at once; the mix hears each within a frame,
// faded, so no step in the output is larger than the tone's own.
TEST_F(SoundOutput, PauseResumeStopAndHandOverAreHeardAtOnceAndFadeInsteadOfCutting) {
    start(1);
    Sound* tone = system->createSound(tonePath.c_str(), LoopNormal);
    ASSERT_TRUE(tone);
    Channel a, b;
    const struct {
        const char* name;
        std::function<void()> change;
        float level; // heard from a frame after the change on, as a share of the first stage's
    } stages[] = {
        {"a plays", [&] { a = play(tone, 0.5f); }, 1},
        {"a paused",
         [&] {
             a.setPaused(true);
             EXPECT_TRUE(a.isPlaying() && a.isPaused());
         },
         0},
        {"a resumed", [&] { a.setPaused(false); }, 1},
        {"b waits for the voice",
         [&] {
             b = play(tone, 0.4f);
             system->update();
             EXPECT_TRUE(b.isVirtual());
         },
         1},
        {"a hands the voice to b",
         [&] {
             a.setVolume(0.3f);
             system->update();
             EXPECT_TRUE(a.isVirtual() && !b.isVirtual());
         },
         0.8f},
        {"b hands it back", [&] { a.setVolume(0.5f); }, 1},
        {"a stopped, b takes over",
         [&] {
             a.stop();
             EXPECT_FALSE(a.isPlaying());
         },
         0.8f},
        {"b stopped", [&] { b.stop(); }, 0},
    };
    float steady = 0, own = 0;
    for (const auto& stage : stages) {
        stage.change();
        // From the update that hands a voice over, a frame on, and the period of its fade.
        const long from = pass(0.3) + 2 * FrameLength, to = out->frames();
        if (steady == 0) {
            steady = out->rms(Left, from, to);
            own = out->largestStep(from, to);
        }
        EXPECT_NEAR(out->rms(Left, from, to) / steady, stage.level, 0.01) << stage.name;
    }
    EXPECT_LE(out->largestStep(0, out->frames()), 1.01f * own);
}

// With no update for three seconds the feeder keeps the music's queue filled: no gap, no click. Without
// a feeder the queue runs dry; the update after refills it, and the music comes back faded in.
TEST_F(SoundOutput, TheMusicPlaysThroughAStallOfThreeSecondsAndComesBackFadedInIfItRanDry) {
    for (bool feeder : {true, false}) {
        start(4, feeder);
        Sound* music = system->createStream(tonePath.c_str(), LoopNormal);
        ASSERT_TRUE(music);
        play(music, 1.0f);
        for (long frames = 0; frames < 3 * LoopbackMix::Rate; frames += LoopbackMix::Rate / 4) {
            out->render(LoopbackMix::Rate / 4);
            system->waitForFeed(); // the feeder's pace, not the clock's, decides when it has caught up
        }
        const float own = out->largestStep(0, LoopbackMix::Rate / 2), steady = out->rms(Left, 0, 4410);
        float quietest = 1;
        for (long at = 0; at + 1024 <= out->frames(); at += 1024)
            quietest = std::min(quietest, out->rms(Left, at, at + 1024));
        if (feeder) {
            EXPECT_GT(quietest, 0.99f * steady) << "a gap in the music";
            EXPECT_LE(out->largestStep(0, out->frames()), 1.01f * own);
        } else {
            EXPECT_EQ(quietest, 0) << "a second of music queued outlasts three seconds";
            const long back = pass(0.5);
            EXPECT_GT(out->rms(Left, out->frames() - 4410, out->frames()), 0.99f * steady);
            EXPECT_LE(out->largestStep(back, out->frames()), 1.01f * own)
                << "the music came back with a click";
        }
        system->close();
    }
}

// Quitting in the middle of a loop, a stream, a positional sound and a fading tail: everything falls
// silent within the mixing the close itself asks for, with no step larger than the tone's own.
TEST_F(SoundOutput, CloseFadesOutEverythingThatPlays) {
    start(4);
    Sound* tone = system->createSound(tonePath.c_str(), LoopNormal);
    Sound* positional = system->createSound(tonePath.c_str(), Mode3D + LoopNormal);
    Sound* stream = system->createStream(tonePath.c_str(), LoopNormal);
    ASSERT_TRUE(tone && positional && stream);
    for (Sound* s : {tone, positional, stream})
        play(s, 0.3f);
    Channel tail = play(tone, 0.3f);
    pass(0.5);
    const float own = out->largestStep(0, out->frames());
    tail.stop();
    const long closing = out->frames();
    system->close();
    EXPECT_GE(out->frames(), closing + 2 * LoopbackMix::Period) << "the close mixed its fade";
    EXPECT_LE(out->largestStep(0, out->frames()), 1.01f * own);
    EXPECT_LT(out->peak(out->frames() - LoopbackMix::Period, out->frames()), 1e-4f)
        << "silent when it let go";
}

// A ship dying in heavy combat, with the limiter turned off by the configuration: seven explosions within
// a quarter of a second all round the listener, the death sound, lasers and the music. Such moments went
// 3.5 to 4.3 dB past full scale; the mix must stay within it.
TEST_F(SoundOutput, TheLoudestMomentStaysWithinFullScaleWithTheLimiterConfiguredOff) {
    out = &LoopbackMix::next();
    testing::internal::CaptureStdout();
    initAudio();
    testing::internal::GetCapturedStdout();
    system = audioSystem;
    playMusic();
    pass(0.5);
    const long from = out->frames();
    playDeath();
    for (int i = 0; i < 7; i++) {
        const Channel explosion = playExplosion(), laser = playLaser();
        explosion.set3DAttributes(Vector3(0, 0, -20.0f * i));
        laser.set3DAttributes(Vector3(40, 0, -100));
        explosion.setPaused(false);
        laser.setPaused(false);
        pass(1 / 30.0);
    }
    pass(1.5);
    EXPECT_LE(out->peak(from, out->frames()), 1.0f) << "unlimited, this moment peaks at 1.46";
}

// Once through a real output device, OpenAL Soft's wave writer, and no window of time in the
// measuring: a tone off the right wing of a ship, then the game quits.
TEST_F(SoundOutput, TheWaveWriterRecordsTheToneOnTheRightAndAQuietQuit) {
    testing::internal::CaptureStdout();
    initAudio();
    testing::internal::GetCapturedStdout();
    Sound* tone = audioSystem->createSound(tonePath.c_str(), Mode3D + LoopNormal);
    ASSERT_TRUE(tone);
    const Channel c = audioSystem->playSound(tone, true);
    c.set3DAttributes(Vector3(200, 0, 0)); // the listener at the origin faces -Z: +X is its right
    c.setPaused(false);
    for (int frame = 0; frame < 15; frame++) {
        updateAudio();
        std::this_thread::sleep_for(std::chrono::milliseconds(33));
    }
    audioSystem->close();
    testing_support::Recording r;
    ASSERT_TRUE(r.read(wave));
    ASSERT_EQ(r.channels, 2);
    EXPECT_GT(r.rms(Right, 0, r.frames()), 2 * r.rms(Left, 0, r.frames()));
    EXPECT_GT(r.rms(Right, 0, r.frames()), 0.01f);
    EXPECT_LE(r.largestStep(0, r.frames()), 2 * M_PI * 1000 / 44100 * 0.5 * 1.01) << "a click";
}

} // namespace

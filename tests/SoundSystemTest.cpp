// The sound layer on a loopback device, where time passes only as the test renders it: channels, voices,
// handles and streams, and what is heard, measured; and once through a real output. OpenAL Soft is
// configured to leave its output limiter off, as a player's may be.
#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

#include "audio/Feeder.h"
#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "math/Frame.h"
#include "support/SoundProbe.h"
#include "support/Stdout.h"
#include "support/TempDir.h"

using namespace audio;
using testing_support::LoopbackMix;
using testing_support::Wave;
using testing_support::writeTone;

namespace {

constexpr int Left = 0, Right = 1;
constexpr long FrameLength = LoopbackMix::Rate / 30; // a game frame of mixing
constexpr long Period = LoopbackMix::Period;

// Sources of the current context heard fading out: playing, turned down to nothing.
int fading() {
    int count = 0;
    for (ALuint source = 1; source < 1024; source++) {
        ALint state = AL_INITIAL;
        ALfloat gain = 1;
        if (alIsSource(source) != AL_TRUE) continue;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        alGetSourcef(source, AL_GAIN, &gain);
        count += state == AL_PLAYING && gain == 0;
    }
    return count;
}

// A sound system on a loopback device, closed after the test; a one-second 1 kHz tone at half scale.
struct SoundSystemTest : ::testing::Test {
    std::string wave = testing_support::configureOpenAL();
    const testing_support::TempDir dir;
    const std::string tonePath = writeTone(dir.path(), "tone.wav", 1000.0, 1.0);
    LoopbackMix* out = nullptr;
    SoundSystem* system = nullptr; // never freed, as in the game

    void start(int voices, int channels, bool feeder = true) {
        out = &LoopbackMix::next(feeder);
        system = createSoundSystem();
        ASSERT_EQ(system->setSoftwareChannels(voices), OK);
        ASSERT_EQ(system->init(channels), OK);
        ASSERT_EQ(system->set3DSettings(1.0f, 35.0f, 1.0f), OK);
    }
    void startGame() { // the game's own system (100 voices) and sounds, so its settings are the ones heard
        out = &LoopbackMix::next();
        testing_support::stdoutOf(initAudio);
        system = audioSystem;
    }
    void TearDown() override {
        if (system) system->close();
        EXPECT_EQ(testing_support::openALComplaints(), "") << "a call of ours refused, or a source left over";
    }
    Channel play(Sound* sound, bool paused = false, Vector3 at = Vector3(), float volume = 1) {
        Channel c = system->playSound(sound, true);
        EXPECT_TRUE(c);
        c.setVolume(volume);
        if (sound->is3D()) c.set3DAttributes(at);
        c.setPaused(paused);
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
using SoundOutput = SoundSystemTest;

// A one-shot's time stands still while it is paused; looped sounds and streams going on are heard below.
TEST_F(SoundSystemTest, PausedFromTheStartAndHalfwayAOneShotResumesWhereItStoppedAndEndsOnTime) {
    startGame();
    const double length = laserSound->length();
    Channel once = play(laserSound, true);
    pass(length + 0.3);
    ASSERT_EQ(once.setPaused(false), OK);
    pass(0.1);
    ASSERT_EQ(once.setPaused(true), OK);
    pass(length);
    ASSERT_EQ(once.setPaused(false), OK);
    pass(length - 0.2);
    EXPECT_TRUE(once.isPlaying());
    pass(0.2);
    EXPECT_FALSE(once.isPlaying());
    EXPECT_TRUE(play(laserSound, true).isPlaying()) << "on the voice the ended one gave back";
}

// Each channel of a stream reads the file on its own: a second play neither ends nor moves the first.
TEST_F(SoundSystemTest, AStreamPlayedAgainPlaysTwiceOverAndEachChannelEndsOnItsOwnTime) {
    startGame();
    Sound* stream = system->createStream("sounds/explosion.mp3", Mode3D);
    ASSERT_TRUE(stream);
    const double half = stream->length() / 2;
    Channel first = play(stream);
    pass(half);
    Channel second = play(stream);
    EXPECT_TRUE(first.isPlaying() && second.isPlaying() && !first.isVirtual() && !second.isVirtual());
    pass(half + 0.1);
    EXPECT_FALSE(first.isPlaying()) << "the first ends when its own reading of the file does";
    EXPECT_TRUE(second.isPlaying());
    pass(half);
    EXPECT_FALSE(second.isPlaying());
    stream->setMode(LoopNormal); // looped, either one stopped leaves the other playing on
    Channel a = play(stream), b = play(stream);
    ASSERT_EQ(a.stop(), OK);
    pass(3 * stream->length());
    EXPECT_TRUE(b.isPlaying() && !a.isPlaying());
}

// Equal rivals keep the voices they have. A positional sound is ranked by the gain it is heard at: full
// within 35 units, then 35 / (35 + rolloff x (distance - 35)). At 70 that is a half and outranks flat
// sounds at 0.4; at 140, a quarter, it does not.
TEST_F(SoundSystemTest, EqualRivalsKeepTheirVoicesAndAPositionalSoundRanksByTheGainItIsHeardAt) {
    startGame();
    std::vector<Channel> flat;
    for (int i = 0; i < 110; i++) {
        if (i == 100) system->update(); // the first hundred have their voices; ten more as loud come after
        flat.push_back(play(spawnSound, false, Vector3(), i < 100 ? 0.4f : 0.40001f));
    }
    auto virtuals = [&] {
        std::vector<bool> v;
        for (Channel& c : flat)
            v.push_back(c.isVirtual());
        return v;
    };
    system->update();
    const std::vector<bool> before = virtuals();
    pass(1 / 30.0);
    EXPECT_EQ(std::count(before.begin() + 100, before.end(), true), 10) << "the voices are kept";
    EXPECT_EQ(virtuals(), before);
    for (auto [distance, heard] : {std::pair{70.0f, true}, std::pair{140.0f, false}}) {
        Channel positional = play(laserSound, false, Vector3(distance, 0, 0));
        system->update();
        EXPECT_EQ(positional.isVirtual(), !heard) << distance;
        const std::vector<bool> now = virtuals();
        EXPECT_EQ(std::count(now.begin(), now.end(), true), heard ? 11 : 10) << distance;
        positional.stop();
    }
}

TEST_F(SoundSystemTest, ThreeHundredOneShotsAllPlayTheNearestAreHeardAndAllEndOnTime) {
    startGame();
    std::vector<Channel> channels;
    for (int i = 0; i < 300; i++)
        channels.push_back(play(laserSound, false, Vector3(100.0f + 50.0f * i, 0, 0)));
    system->update();
    EXPECT_EQ(system->channelsPlaying().playing, 300);
    for (int i = 0; i < 300; i++)
        EXPECT_EQ(channels[i].isVirtual(), i >= 100)
            << "channel " << i << ": the least audible are the virtual ones";

    pass(laserSound->length() - 0.1);
    // Voices freed late in the sounds go to the next hundred, which carry on from where their time has
    // got: started afresh, they would still be playing at the last check.
    for (int i = 0; i < 100; i++)
        channels[i].stop();
    system->update();
    for (int i = 100; i < 300; i++)
        EXPECT_EQ(channels[i].isVirtual(), i >= 200) << i;
    pass(0.2);
    EXPECT_EQ(system->channelsPlaying().playing, 0);
}

TEST_F(SoundSystemTest, VolumeAndPositionAreKeptInBoundsAndStaleOrNullHandlesTouchNothing) {
    start(100, 2); // two logical channels, so the next sound reuses the stale handle's slot at once
    Sound* flatTone = system->createSound(tonePath.c_str(), LoopNormal);
    Sound* tone = system->createSound(tonePath.c_str(), Mode3D + LoopNormal);
    ASSERT_TRUE(flatTone && tone);
    Channel flat = play(flatTone, true), old = play(tone);
    ASSERT_EQ(old.stop(), OK);
    Channel current = play(tone); // in the slot the stale handle names
    EXPECT_FALSE(system->playSound(tone, false)) << "every slot is in use";
    Vector3 p(1, 2, 3), broken(std::nanf(""), 0, 0);
    EXPECT_EQ(flat.set3DAttributes(p), ERR_NEEDS_3D);

    for (const Channel& h : {old, Channel()}) {
        EXPECT_FALSE(h.isPlaying());
        EXPECT_EQ(h.setVolume(0.1f), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.setPaused(true), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.set3DAttributes(p, p), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.stop(), ERR_INVALID_HANDLE);
        EXPECT_EQ(h.sound(), nullptr);
    }
    EXPECT_TRUE(current.isPlaying() && !current.isPaused() && current.volume() == 1.0f);
    EXPECT_FLOAT_EQ(current.position().length(), 0.0f);
    for (auto [set, expected] : {std::pair{0.3f, 0.3f}, std::pair{2.5f, 1.0f}, std::pair{-1.0f, 0.0f}}) {
        ASSERT_EQ(current.setVolume(set), OK);
        EXPECT_FLOAT_EQ(current.volume(), expected) << "set " << set;
    }
    ASSERT_EQ(current.set3DAttributes(p), OK);
    EXPECT_EQ(current.set3DAttributes(broken), ERR_INVALID_PARAM);
    EXPECT_FLOAT_EQ(current.position().x, 1.0f) << "a position that is not a number is refused";
    EXPECT_EQ(system->set3DListenerAttributes(broken, p, p, p), ERR_INVALID_PARAM);
}

TEST_F(SoundOutput, ToneIsPannedByTheShipsAxesFadesWithDistanceAndVolumeAndShiftsWithSpeed) {
    startGame();
    Sound* tone = system->createSound(tonePath.c_str(), Mode3D + LoopNormal);
    ASSERT_TRUE(tone);
    const Channel c = system->playSound(tone, true);

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
                 {"ahead at a quarter", nose, 200, 0.25f, 0, 0},
                 {"approaching", nose, 6000, 1, 3000, 0},
                 {"sound moving away", nose, 6000, 1, 0, 3000}};
    constexpr int Steps = sizeof steps / sizeof steps[0];
    float left[Steps], right[Steps], level[Steps];
    for (int i = 0; i < Steps; i++) {
        Vector3 p = ship.origin, v, away;
        p.addScaled(steps[i].axis, steps[i].distance);
        v.addScaled(nose, steps[i].speed);
        away.addScaled(steps[i].axis, steps[i].away);
        ASSERT_EQ(system->set3DListenerAttributes(ship.origin, v, ship.zAxis, ship.yAxis), OK);
        c.set3DAttributes(p, away);
        c.setVolume(steps[i].volume);
        c.setPaused(false);
        const long from = pass(0.3) + FrameLength * 2, to = out->frames(); // after the change's fade
        left[i] = out->rms(Left, from, to);
        right[i] = out->rms(Right, from, to);
        level[i] = std::hypot(left[i], right[i]);
        EXPECT_NEAR(out->frequency(left[i] > right[i] ? Left : Right, from, to),
                    1000.0 * (speedOfSound + steps[i].speed) / (speedOfSound + steps[i].away), 15.0)
            << steps[i].name;
    }
    EXPECT_GT(right[0], 2 * left[0]) << "a sound off the right wing is louder on the right";
    EXPECT_GT(left[1], 2 * right[1]) << "and one off the left wing on the left";
    EXPECT_NEAR(left[2] / right[2], 1.0f, 0.2f) << "one ahead is centred";
    EXPECT_NEAR(level[3] / level[0], 35.0f / 2000 / (35.0f / 200), 0.02f)
        << "inverse distance beyond 35 units";
    EXPECT_NEAR(level[4] / level[2], 0.25f, 0.02f) << "volume scales the level";
}

// A steady tone with a single voice to go round, paused, resumed, handed from a real voice to a virtual
// one and back, and stopped. The caller sees each change at once; the mix hears each within a frame,
// faded, so no step in the output is larger than the tone's own.
TEST_F(SoundOutput, PauseResumeStopAndHandOverAreHeardAtOnceAndFadeInsteadOfCutting) {
    start(1, 8);
    Sound* tone = system->createSound(tonePath.c_str(), LoopNormal);
    ASSERT_TRUE(tone);
    float steady = 0, own = 0;
    auto heard = [&](float level, const char* stage) { // from the hand-over's update a frame on, and its fade
        const long from = pass(0.3) + 2 * FrameLength, to = out->frames();
        if (steady == 0) steady = out->rms(Left, from, to), own = out->largestStep(from, to);
        EXPECT_NEAR(out->rms(Left, from, to) / steady, level, 0.01) << stage;
    };
    Channel a = play(tone, false, Vector3(), 0.5f);
    heard(1, "a plays");
    a.setPaused(true);
    EXPECT_TRUE(a.isPlaying() && a.isPaused());
    heard(0, "a paused");
    a.setPaused(false);
    heard(1, "a resumed");
    Channel b = play(tone, false, Vector3(), 0.4f);
    system->update();
    EXPECT_TRUE(b.isVirtual());
    heard(1, "b waits for the voice");
    a.setVolume(0.3f);
    system->update();
    EXPECT_TRUE(a.isVirtual() && !b.isVirtual());
    heard(0.8f, "a hands the voice to b");
    a.setVolume(0.5f);
    heard(1, "b hands it back");
    a.stop();
    EXPECT_FALSE(a.isPlaying());
    heard(0.8f, "a stopped, b takes over");
    b.stop();
    heard(0, "b stopped");
    EXPECT_LE(out->largestStep(0, out->frames()), 1.01f * own);
}

// A voice that lets go of a sound being heard leaves its source turned down to fade for three mixing
// periods (a change of gain waits up to a period to be mixed, and takes another) and goes on with a spare
// source. Then the source is stopped and spare again, all that are due in one update, before that update
// hands voices over. A voice let go of in silence needs no fade. Read back from OpenAL, with 200 voices
// all let go of at once: more sources than OpenAL Soft gives a context unasked.
TEST_F(SoundSystemTest, AVoiceLetGoFadesOutOnItsOldSourceForThreePeriodsWhichIsThenSpareAgain) {
    start(200, 256);
    Sound* tone = system->createSound(tonePath.c_str(), LoopNormal);
    ASSERT_TRUE(tone);
    play(tone, true).stop(); // never heard
    std::vector<Channel> heard;
    for (int i = 0; i < 200; i++)
        heard.push_back(play(tone, false, Vector3(), 0.5f));
    out->render(Period);
    for (const Channel& c : heard)
        c.setPaused(true);
    system->update(); // at the same moment
    EXPECT_EQ(fading(), 200) << "each voice has a spare to fade on";
    out->render(2 * Period);
    system->update();
    EXPECT_EQ(fading(), 200) << "two periods on, a fade may not be over";
    for (const Channel& c : heard)
        c.setPaused(false);
    out->render(2 * Period);
    const Channel louder = play(tone); // waits for a voice
    system->update();
    EXPECT_FALSE(louder.isVirtual());
    EXPECT_EQ(fading(), 1) << "those due are retired, and a spare is there for the voice handed over";
}

// Streams rank alike, and with one voice the first in line has it. A stereo stream that loses it plays on,
// virtual, from where it had got, takes a voice back there, faded in, and ends on time.
TEST_F(SoundOutput, AStereoStreamThatLosesItsVoiceCarriesOnFromWhereItHadGotAndComesBackFadedIn) {
    start(1, 8);
    const std::string stereo = writeTone(dir.path(), "stereo.wav", 1000.0, 2.0, 0.5, Wave::Sine, 2);
    Sound* music = system->createStream(stereo.c_str(), Default);
    Sound* quiet = system->createStream(tonePath.c_str(), LoopNormal);
    Sound* once = system->createSound(tonePath.c_str(), Default);
    ASSERT_TRUE(music && quiet && once);
    const Channel first = play(once), silent = play(quiet, false, Vector3(), 0); // in line behind the first
    first.stop();
    const Channel m = play(music); // on the voice the first gave up, behind the silent stream
    for (int quarter = 0; quarter < 4; quarter++) {
        out->render(LoopbackMix::Rate / 4);
        system->waitForFeed();
    }
    system->update();
    EXPECT_TRUE(m.isPlaying()) << "a second into two";
    ASSERT_TRUE(m.isVirtual()) << "the silent stream, first in line, has the voice";
    const float own = out->largestStep(LoopbackMix::Rate / 4, LoopbackMix::Rate / 2);
    out->render(1000); // part of a cycle
    silent.stop();
    const long back = out->frames();
    system->update();
    EXPECT_FALSE(m.isVirtual());
    pass(0.75);
    EXPECT_TRUE(m.isPlaying()) << "1.8 s into 2";
    pass(0.3);
    EXPECT_FALSE(m.isPlaying());
    EXPECT_LE(out->largestStep(back, out->frames()), 1.01f * own) << "taken up part-way with a click";
}

// With no update for three seconds the feeder keeps the music's queue filled, on its own system's context
// though another system has been opened since: no gap, no click, and the close fades it out. Without a
// feeder the queue runs dry, yet the music plays on: the next update refills it and it comes back faded
// in; refilled while paused, it waits silent to be resumed, faded in. That music is a cosine, at its peak
// where each of its buffers begins, so that a restart from a buffer's head would be heard.
TEST_F(SoundOutput, TheMusicPlaysThroughAStallOfThreeSecondsComesBackFadedInIfItRanDryAndFadesAtClose) {
    const std::string cosine = writeTone(dir.path(), "cosine.wav", 1000.0, 1.0, 0.5, Wave::Cosine);
    for (bool feeder : {true, false}) {
        start(4, 8, feeder);
        Sound* music = system->createStream((feeder ? tonePath : cosine).c_str(), LoopNormal);
        ASSERT_TRUE(music);
        const Channel playing = play(music);
        ALCcontext* const context = alcGetCurrentContext();
        SoundSystem* other = nullptr;
        if (feeder) {
            LoopbackMix::next();
            other = createSoundSystem();
            ASSERT_EQ(other->init(1), OK);
        }
        for (long frames = 0; frames < 3 * LoopbackMix::Rate; frames += LoopbackMix::Rate / 4) {
            out->render(LoopbackMix::Rate / 4);
            system->waitForFeed(); // the feeder's pace, not the clock's, decides when it has caught up
        }
        if (other) other->close();
        alcMakeContextCurrent(context);
        const float own = out->largestStep(LoopbackMix::Rate / 4, LoopbackMix::Rate / 2);
        const float steady = out->rms(Left, 0, 4410);
        auto cameBack = [&](long from, const char* how) {
            EXPECT_GT(out->rms(Left, out->frames() - 4410, out->frames()), 0.99f * steady) << how;
            EXPECT_LE(out->largestStep(from, out->frames()), 1.01f * own) << how << " with a click";
        };
        const float quietest = out->quietest(Left, 0, out->frames());
        if (feeder) {
            EXPECT_GT(quietest, 0.99f * steady) << "a gap in the music";
            system->close();
            EXPECT_LE(out->largestStep(0, out->frames()), 1.01f * own);
            EXPECT_LT(out->peak(out->frames() - LoopbackMix::Period, out->frames()), 1e-4f)
                << "not faded out";
        } else {
            EXPECT_EQ(quietest, 0) << "a second of music queued outlasts three seconds";
            EXPECT_TRUE(playing.isPlaying()) << "a stall is not the end of the music";
            cameBack(pass(0.5), "refilled");
            out->render(3 * LoopbackMix::Rate / 2); // dry again, and paused before an update refills it
            playing.setPaused(true);
            const long paused = pass(0.2);
            EXPECT_EQ(out->peak(paused, out->frames()), 0.0f) << "paused music refilled is not heard";
            playing.setPaused(false);
            cameBack(pass(0.5), "resumed");
        }
    }
}

// A ship dying in heavy combat, with the limiter turned off by the configuration: seven explosions within
// a quarter of a second all round the listener, the death sound, lasers and the music. Such moments went
// 3.5 to 4.3 dB past full scale; the mix must stay within it.
TEST_F(SoundOutput, TheLoudestMomentStaysWithinFullScaleWithTheLimiterConfiguredOff) {
    startGame();
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

// Once through a real output device, OpenAL Soft's wave writer, measured over the whole recording: a
// streamed tone off the right wing of a ship, played on by the feeding thread through a long frame without
// a gap, then the game quits.
TEST_F(SoundOutput, TheWaveWriterRecordsTheToneOnTheRightThroughALongFrameAndAQuietQuit) {
    testing_support::stdoutOf(initAudio);
    Sound* tone = audioSystem->createStream(tonePath.c_str(), Mode3D + LoopNormal);
    ASSERT_TRUE(tone);
    const Channel c = audioSystem->playSound(tone, true);
    c.set3DAttributes(Vector3(200, 0, 0)); // the listener at the origin faces -Z: +X is its right
    c.setPaused(false);
    for (int frame = 0; frame < 6; frame++) {
        updateAudio();
        // Only to let the writer write; the third frame lasts longer than the stream has queued.
        std::this_thread::sleep_for(std::chrono::milliseconds(frame == 2 ? 1500 : 33));
    }
    audioSystem->close();
    testing_support::Recording r;
    ASSERT_TRUE(r.read(wave));
    EXPECT_GT(r.rms(Right, 0, r.frames()), std::max(0.01f, 2 * r.rms(Left, 0, r.frames())));
    EXPECT_LE(r.largestStep(0, r.frames()), 2 * M_PI * 1000 / 44100 * 0.5 * 1.01) << "a click";
    long first = 0, last = r.frames() - 1; // the tone's first and last sound
    while (first < last && std::fabs(r.sample(first, Right)) < 0.01f)
        first++;
    while (last > first && std::fabs(r.sample(last, Right)) < 0.01f)
        last--;
    EXPECT_GT(r.quietest(Right, first, last - 4096), 0.5f * r.rms(Right, first, last)) << "a gap";
}

// A wait for the feeder returns once a round that began after the call has ended, and when the feeder
// stops, whichever of the two comes first.
TEST(Feeder, AWaitEndsWithARoundBegunAfterItOrWhenTheFeederStops) {
    std::atomic<int> fed{0};
    Feeder feeder;
    feeder.start([&] { fed++; }, std::chrono::hours(1)); // rounds come only when asked for
    for (int round = 1; round <= 3; round++) {
        feeder.waitForRound();
        EXPECT_EQ(fed, round);
    }
    feeder.stop();
    for (int i = 0; i < 200; i++) { // a waiter that asks just as the feeder stops is not left waiting
        Feeder other;
        std::atomic<bool> asking{false};
        other.start([] {}, std::chrono::hours(1));
        std::thread waiter([&] {
            asking = true;
            other.waitForRound();
        });
        while (!asking)
            std::this_thread::yield();
        other.stop();
        waiter.join();
    }
}

} // namespace

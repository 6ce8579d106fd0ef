// The game's sound use: start-up lines and failures, the eleven files, who plays what, the listener.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "support/SoundProbe.h"

using namespace audio;

namespace {

const char* const StartUpLines = "Initializing audio engine... Initialized audio engine successfully.\n"
                                 "Initializing background music...\n"
                                 "Initializing sounds...\n"
                                 "Initializing sound effects...\n";

struct ChildResult {
    int status = -1;    // exit status, or -1 if it did not exit normally
    std::string output; // what it printed on standard output
};

// Runs `body` in a child process whose standard output comes back as text; the child's exit code
// is the body's return value unless the body ends the process itself.
template <typename Body> ChildResult inChild(Body body) {
    fflush(stdout);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        int code = body();
        fflush(stdout);
        _exit(code);
    }
    close(pipeEnds[1]);
    ChildResult result;
    char buffer[512];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

Channel channelAt(int index) {
    Channel c;
    audioSystem->getChannel(index, &c);
    return c;
}

struct ChannelState {
    bool playing = false, paused = true;
    float volume = -1;
    Sound* sound = nullptr;
};

ChannelState stateOf(const Channel& c) {
    ChannelState s;
    c.isPlaying(s.playing);
    c.getPaused(s.paused);
    c.getVolume(s.volume);
    c.getCurrentSound(s.sound);
    return s;
}

TEST(GameAudio, StartUpPrintsItsLinesThenTheMusicAndTheGameStartSoundPlay) {
    testing::internal::CaptureStdout();
    initAudio();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), StartUpLines);
    EXPECT_EQ(theWorld, nullptr);

    Sound* const all[] = {backgroundMusic, planetSound, shipSound,  laserSound,  shimmerSound, explosionSound,
                          gameStartSound,  spawnSound,  deathSound, winnerSound, loserSound};
    for (Sound* s : all)
        ASSERT_NE(s, nullptr);
    EXPECT_TRUE(backgroundMusic->isStream() && backgroundMusic->loops());
    for (Sound* s : {planetSound, shipSound, shimmerSound})
        EXPECT_TRUE(s->is3D() && s->loops());
    for (Sound* s : {laserSound, explosionSound})
        EXPECT_TRUE(s->is3D() && !s->loops());
    for (Sound* s : {gameStartSound, spawnSound, deathSound, winnerSound, loserSound})
        EXPECT_FALSE(s->is3D());

    playMusic();
    playGameStart();
    // Channels are handed out in order on a fresh system, so the music has the first.
    ChannelState music = stateOf(channelAt(0)), start = stateOf(channelAt(1));
    EXPECT_EQ(music.sound, backgroundMusic);
    EXPECT_TRUE(music.playing && !music.paused);
    EXPECT_FLOAT_EQ(music.volume, 0.2f);
    EXPECT_EQ(start.sound, gameStartSound);
    EXPECT_TRUE(start.playing && !start.paused);
    EXPECT_FLOAT_EQ(start.volume, 0.05f);
}

TEST(GameAudio, EachEventPlaysItsSoundAtItsVolumeAndPositionalOnesComeBackPaused) {
    testing::internal::CaptureStdout();
    initAudio();
    testing::internal::GetCapturedStdout();
    const struct {
        Channel (*play)();
        Sound* sound;
        float volume;
    } positional[] = {{playLaser, laserSound, 1.0f},
                      {playShimmer, shimmerSound, 0.3f},
                      {playExplosion, explosionSound, 1.0f}};
    for (const auto& p : positional) {
        ChannelState s = stateOf(p.play());
        EXPECT_EQ(s.sound, p.sound);
        EXPECT_TRUE(s.playing && s.paused);
        EXPECT_FLOAT_EQ(s.volume, p.volume);
    }
    const struct {
        void (*play)();
        Sound* sound;
    } fireAndForget[] = {
        {playSpawn, spawnSound}, {playDeath, deathSound}, {playWinner, winnerSound}, {playLoser, loserSound}};
    int index = 3;
    for (const auto& p : fireAndForget) {
        p.play();
        ChannelState s = stateOf(channelAt(index++));
        EXPECT_EQ(s.sound, p.sound);
        EXPECT_TRUE(s.playing && !s.paused);
        EXPECT_FLOAT_EQ(s.volume, 0.4f);
    }
}

TEST(GameAudio, AnObjectsFirstStepPlacesAndStartsItsPausedChannel) {
    testing::internal::CaptureStdout();
    initAudio();
    testing::internal::GetCapturedStdout();
    Reward reward;
    reward.position = Vector3(300, -40, 1200);
    ChannelState before = stateOf(reward.channel);
    ASSERT_TRUE(before.playing && before.paused);
    reward.step();
    ChannelState after = stateOf(reward.channel);
    EXPECT_TRUE(after.playing && !after.paused);
    Vector3 at;
    ASSERT_EQ(reward.channel.get3DAttributes(&at, nullptr), OK);
    EXPECT_FLOAT_EQ(at.x, 300);
    EXPECT_FLOAT_EQ(at.y, -40);
    EXPECT_FLOAT_EQ(at.z, 1200);
}

TEST(GameAudio, NoSoundDeviceEndsTheProcessWithTheErrorLineAndStatus255) {
    ChildResult r = inChild([] {
        setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
        initAudio();
        printf("initAudio returned\n");
        return 0;
    });
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output,
              "Initializing audio engine... FMOD error! (5) No sound output device could be opened.\n");
}

using GameAudioInPlay = testing_support::GameTest;

TEST_F(GameAudioInPlay, TheListenerFollowsShipZeroEveryFrame) {
    Ship& ship = ShipTable[0];
    ship.frame.rotateAboutY(0.7f);
    ship.frame.rotateAboutX(-0.3f);
    ship.frame.origin = Vector3(120, -3400, 5100);
    ship.velocity = Vector3(-250, 10, 40);
    updateAudio();
    Vector3 position, velocity, forward, up;
    ASSERT_EQ(audioSystem->get3DListenerAttributes(0, &position, &velocity, &forward, &up), OK);
    const struct {
        Vector3 got, expected;
    } cases[] = {{position, ship.frame.origin},
                 {velocity, ship.velocity},
                 {forward, ship.frame.zAxis},
                 {up, ship.frame.yAxis}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(c.got.x, c.expected.x);
        EXPECT_FLOAT_EQ(c.got.y, c.expected.y);
        EXPECT_FLOAT_EQ(c.got.z, c.expected.z);
    }
}

} // namespace

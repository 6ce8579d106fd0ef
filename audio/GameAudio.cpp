// The game's sounds: the system's settings, the eleven files, who plays what and how loud.
#include "audio/GameAudio.h"

#include <cstdio>
#include <cstdlib>

#include "audio/SoundSystem.h"
#include "world/World.h"

audio::SoundSystem* audioSystem = nullptr;
audio::Result lastAudioResult = audio::OK;

audio::Sound* backgroundMusic = nullptr;
audio::Sound* planetSound = nullptr;
audio::Sound* shipSound = nullptr;
audio::Sound* laserSound = nullptr;
audio::Sound* shimmerSound = nullptr;
audio::Sound* explosionSound = nullptr;
audio::Sound* gameStartSound = nullptr;
audio::Sound* spawnSound = nullptr;
audio::Sound* deathSound = nullptr;
audio::Sound* winnerSound = nullptr;
audio::Sound* loserSound = nullptr;

namespace {

void exitOnError(audio::Result result) {
    if (result == audio::OK) return;
    printf("FMOD error! (%d) %s\n", static_cast<int>(result), audio::errorString(result));
    exit(-1);
}

// Every channel starts paused so that its volume is in place before the first sample is heard.
audio::Channel startPaused(audio::Sound* sound, float volume) {
    audio::Channel channel;
    if (sound == nullptr) return channel;
    lastAudioResult = audioSystem->playSound(audio::ChannelFree, sound, true, &channel);
    lastAudioResult = channel.setVolume(volume);
    return channel;
}

void playOnce(audio::Sound* sound, float volume) {
    audio::Channel channel = startPaused(sound, volume);
    if (channel) lastAudioResult = channel.setPaused(false);
}

void createSound(const char* path, audio::Mode mode, audio::Sound** sound) {
    lastAudioResult = audioSystem->createSound(path, mode, nullptr, sound);
}

void createLoop(const char* path, audio::Mode mode, audio::Sound** sound) {
    createSound(path, mode, sound);
    if (*sound != nullptr) lastAudioResult = (*sound)->setMode(audio::LoopNormal);
}

} // namespace

void initAudio() {
    theWorld = nullptr;
    printf("Initializing audio engine... ");
    lastAudioResult = audio::createSoundSystem(&audioSystem);
    exitOnError(lastAudioResult);
    lastAudioResult = audioSystem->setSoftwareChannels(100);
    lastAudioResult = audioSystem->init(4093, audio::InitNormal, nullptr);
    exitOnError(lastAudioResult);
    lastAudioResult = audioSystem->set3DSettings(1.0f, 35.0f, 1.0f);
    printf("Initialized audio engine successfully.\n");
    loadMusic();
    loadSounds();
}

void loadMusic() {
    printf("Initializing background music...\n");
    lastAudioResult =
        audioSystem->createStream("sounds/background.mp3", audio::Default, nullptr, &backgroundMusic);
    if (backgroundMusic != nullptr) lastAudioResult = backgroundMusic->setMode(audio::LoopNormal);
}

void loadSounds() {
    printf("Initializing sounds...\n");
    createLoop("sounds/planet.mp3", audio::Mode3D + audio::Software, &planetSound);
    createLoop("sounds/ship.mp3", audio::Mode3D, &shipSound);
    createSound("sounds/laser.mp3", audio::Mode3D, &laserSound);
    createLoop("sounds/shimmer.mp3", audio::Mode3D, &shimmerSound);
    createSound("sounds/explosion.mp3", audio::Mode3D, &explosionSound);
    printf("Initializing sound effects...\n");
    createSound("sounds/game_start.wav", audio::Default, &gameStartSound);
    createSound("sounds/spawn.wav", audio::Default, &spawnSound);
    createSound("sounds/death.mp3", audio::Default, &deathSound);
    createSound("sounds/winner.wav", audio::Default, &winnerSound);
    createSound("sounds/loser.mp3", audio::Default, &loserSound);
}

audio::Channel playLaser() { return startPaused(laserSound, 1.0f); }
audio::Channel playShimmer() { return startPaused(shimmerSound, 0.3f); }
audio::Channel playExplosion() { return startPaused(explosionSound, 1.0f); }

void playMusic() { playOnce(backgroundMusic, 0.2f); }
void playGameStart() { playOnce(gameStartSound, 0.05f); }
void playSpawn() { playOnce(spawnSound, 0.4f); }
void playDeath() { playOnce(deathSound, 0.4f); }
void playWinner() { playOnce(winnerSound, 0.4f); }
void playLoser() { playOnce(loserSound, 0.4f); }

void updateAudio() {
    if (audioSystem == nullptr) return;
    lastAudioResult = audioSystem->update();
    if (theWorld == nullptr) return;
    Vector3 position = theWorld->listenerPosition();
    Vector3 velocity = theWorld->listenerVelocity();
    Vector3 forward = theWorld->listenerForward();
    Vector3 up = theWorld->listenerUp();
    lastAudioResult = audioSystem->set3DListenerAttributes(0, &position, &velocity, &forward, &up);
}

// The game's sounds: the system's settings, the eleven files, who plays what and how loud.
#include "audio/GameAudio.h"

#include <cstdio>
#include <cstdlib>

#include "audio/SoundSystem.h"
#include "world/World.h"

audio::SoundSystem* audioSystem = nullptr;

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
    if (sound == nullptr) return audio::Channel(); // not loaded, or no sound system at all
    audio::Channel channel = audioSystem->playSound(sound, true);
    channel.setVolume(volume);
    return channel;
}

void playOnce(audio::Sound* sound, float volume) { startPaused(sound, volume).setPaused(false); }

audio::Sound* looped(audio::Sound* sound) {
    if (sound != nullptr) sound->setMode(audio::LoopNormal);
    return sound;
}

} // namespace

void initAudio() {
    theWorld = nullptr;
    printf("Initializing audio engine... ");
    audioSystem = audio::createSoundSystem();
    audioSystem->setSoftwareChannels(100);
    exitOnError(audioSystem->init(4093));
    audioSystem->set3DSettings(1.0f, 35.0f, 1.0f);
    printf("Initialized audio engine successfully.\n");
    loadMusic();
    loadSounds();
}

void loadMusic() {
    printf("Initializing background music...\n");
    backgroundMusic = looped(audioSystem->createStream("sounds/background.mp3", audio::Default));
}

void loadSounds() {
    printf("Initializing sounds...\n");
    planetSound = looped(audioSystem->createSound("sounds/planet.mp3", audio::Mode3D));
    shipSound = looped(audioSystem->createSound("sounds/ship.mp3", audio::Mode3D));
    laserSound = audioSystem->createSound("sounds/laser.mp3", audio::Mode3D);
    shimmerSound = looped(audioSystem->createSound("sounds/shimmer.mp3", audio::Mode3D));
    explosionSound = audioSystem->createSound("sounds/explosion.mp3", audio::Mode3D);
    printf("Initializing sound effects...\n");
    gameStartSound = audioSystem->createSound("sounds/game_start.wav", audio::Default);
    spawnSound = audioSystem->createSound("sounds/spawn.wav", audio::Default);
    deathSound = audioSystem->createSound("sounds/death.mp3", audio::Default);
    winnerSound = audioSystem->createSound("sounds/winner.wav", audio::Default);
    loserSound = audioSystem->createSound("sounds/loser.mp3", audio::Default);
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
    audioSystem->update();
    if (theWorld == nullptr) return;
    audioSystem->set3DListenerAttributes(theWorld->listenerPosition(), theWorld->listenerVelocity(),
                                         theWorld->listenerForward(), theWorld->listenerUp());
}

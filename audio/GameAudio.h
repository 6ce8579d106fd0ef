// The game's sounds: start-up, the nine play operations and the per-frame listener update.
#pragma once

#include "audio/Channel.h"

namespace audio {
class SoundSystem;
class Sound;
} // namespace audio

extern audio::SoundSystem* audioSystem;

// Null until their files have been opened; a file that cannot be read leaves its sound silent.
extern audio::Sound* backgroundMusic;
extern audio::Sound* planetSound;
extern audio::Sound* shipSound;
extern audio::Sound* laserSound;
extern audio::Sound* shimmerSound;
extern audio::Sound* explosionSound;
extern audio::Sound* gameStartSound;
extern audio::Sound* spawnSound;
extern audio::Sound* deathSound;
extern audio::Sound* winnerSound;
extern audio::Sound* loserSound;

void initAudio(); // ends the process with status -1 when the sound system cannot start
void loadMusic();
void loadSounds();

// Positional sounds: returned paused; the owning object places and starts them.
audio::Channel playLaser();
audio::Channel playShimmer();
audio::Channel playExplosion();

// Fire-and-forget sounds.
void playMusic();
void playGameStart();
void playSpawn();
void playDeath();
void playWinner();
void playLoser();

void updateAudio(); // system update, then the listener at ship 0

// The game's sounds: start-up, the nine play operations and the per-frame listener update.
#pragma once

#include "audio/Channel.h"
#include "audio/Result.h"

namespace audio {
class SoundSystem;
}

extern audio::SoundSystem* audioSystem;
extern audio::Result lastAudioResult;

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

// Start-up and the fixed-step frame loop.
#pragma once

#include <cstdint>

// The whole window with identity matrices; set before the title screen is shown.
void setUpViewport();
// Depth test, lighting and 2-D textures on: the state every frame is drawn in.
void enableSceneState();

class World;

// Window, GL state, title screen, then startWorld seeded by the clock.
void startGame();
// After the window: the sound system, the one World built on `seed` and published as theWorld, then the
// music and the game-start sound.
World& startWorld(unsigned seed);
// Swap, render, input, update, audio, then sleep out the rest of the frame; never returns.
[[noreturn]] void runFrameLoop();

// Milliseconds to sleep after a frame that began at t0 and ended at t1 (tick wrap-safe); 0 means none.
int frameDelay(uint32_t t0, uint32_t t1);

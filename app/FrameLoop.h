// Start-up and the fixed-step frame loop.
#pragma once

#include <cstdint>

// The whole window with identity matrices; set before the title screen is shown.
void setUpViewport();
// Depth test, lighting and 2-D textures on: the state every frame is drawn in.
void enableSceneState();

// Window, GL state, title screen, audio, the World and the music, in that order.
void startGame();
// Swap, render, input, update, audio, then sleep out the rest of the frame; never returns.
[[noreturn]] void runFrameLoop();

// Milliseconds to sleep after a frame that began at t0 and ended at t1 (tick wrap-safe); 0 means none.
int frameDelay(uint32_t t0, uint32_t t1);

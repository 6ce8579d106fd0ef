// Entry point: opens the full-screen window, builds the World and runs the 30 frames-per-second loop.
#include "app/FrameLoop.h"

int main(int, char**) {
    startGame();
    runFrameLoop();
}

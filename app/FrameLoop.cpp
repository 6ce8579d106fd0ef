// Start-up in its fixed order, then the frame loop that steps the game once per 1/30 s.
#include "app/FrameLoop.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "audio/GameAudio.h"
#include "data/Constants.h"
#include "render/TextureLoader.h"
#include "world/World.h"

void setUpViewport() {
    glViewport(0, 0, ScreenWidth, ScreenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void enableSceneState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

void startGame() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) printf("SDL Error: %s", SDL_GetError());
    atexit(SDL_Quit);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 4);
    if (!SDL_SetVideoMode(ScreenWidth, ScreenHeight, 32,
                          SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT | SDL_FULLSCREEN)) {
        // Without a window there is no GL context, and every GL call after this would fail.
        printf("SDL Error: %s\n", SDL_GetError());
        exit(1);
    }
    SDL_WM_SetCaption("Gravimel by Pellworth", NULL);

    setUpViewport();
    showTitleScreen(); // stays up while everything below loads

    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_GrabInput(SDL_GRAB_ON);
    enableSceneState();
    startWorld(static_cast<unsigned>(time(NULL)));
}

World& startWorld(unsigned seed) {
    initAudio();
    // Never destroyed: the process leaves through exit(), which does not unwind main.
    theWorld = new World(seed);
    playMusic();
    playGameStart();
    return *theWorld;
}

int frameDelay(uint32_t t0, uint32_t t1) {
    // Unsigned subtraction keeps the true small difference across a wrap of the tick counter.
    double elapsed = static_cast<double>(static_cast<uint32_t>(t1 - t0));
    int delay = static_cast<int>(double(FrameMilliseconds) - elapsed);
    return delay >= 1 ? delay : 0;
}

void runFrameLoop() {
    for (;;) {
        uint32_t t0 = SDL_GetTicks();
        SDL_GL_SwapBuffers(); // presents what the previous iteration drew
        theWorld->render();
        theWorld->handleEvents();
        theWorld->update();
        updateAudio();
        int delay = frameDelay(t0, SDL_GetTicks());
        if (delay >= 1) SDL_Delay(delay);
    }
}

// Keyboard and mouse: every action happens on the press or release event itself, without key repeat.
#include <SDL/SDL.h>
#include <algorithm>
#include <cstdlib>

#include "ships/Ship.h"
#include "world/World.h"

void World::handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleEvent(event);
}

void World::handleEvent(const SDL_Event& event) {
    Ship& ship = ShipTable[0];
    switch (event.type) {
    case SDL_KEYDOWN:
        switch (event.key.keysym.sym) {
        case SDLK_ESCAPE: SDL_Quit(); exit(0);
        case SDLK_SPACE: ship.braking = true; break;
        case SDLK_a:
        case SDLK_LEFT: ship.strafeLeft(); break;
        case SDLK_d:
        case SDLK_RIGHT: ship.strafeRight(); break;
        case SDLK_w:
        case SDLK_UP: ship.thrustForward(); break;
        case SDLK_s:
        case SDLK_DOWN: ship.thrustBackward(); break;
        case SDLK_f:
        case SDLK_F1: paused = !paused; break;
        case SDLK_F5:
        case SDLK_SCROLLOCK:
            SDL_WM_GrabInput(SDL_WM_GrabInput(SDL_GRAB_QUERY) == SDL_GRAB_ON ? SDL_GRAB_OFF : SDL_GRAB_ON);
            break;
        default: break;
        }
        break;
    case SDL_KEYUP:
        switch (event.key.keysym.sym) {
        case SDLK_SPACE: ship.braking = false; break;
        // Releasing either strafe key stops all strafing, even with the other still held.
        case SDLK_a:
        case SDLK_LEFT:
        case SDLK_d:
        case SDLK_RIGHT: ship.stopStrafe(); break;
        case SDLK_w:
        case SDLK_UP:
        case SDLK_s:
        case SDLK_DOWN: ship.stopThrust(); break;
        default: break;
        }
        break;
    case SDL_MOUSEMOTION:
        // Steering turns the frame directly, so the view turns even while the game is paused.
        ship.steer(static_cast<float>(event.motion.xrel), static_cast<float>(event.motion.yrel));
        break;
    case SDL_MOUSEBUTTONDOWN:
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
        case SDL_BUTTON_MIDDLE:
        case SDL_BUTTON_RIGHT: ship.setFiring(true); break;
        case SDL_BUTTON_WHEELUP: zoomIn(); break;
        case SDL_BUTTON_WHEELDOWN: zoomOut(); break;
        default: break;
        }
        break;
    case SDL_MOUSEBUTTONUP:
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
        case SDL_BUTTON_MIDDLE:
        case SDL_BUTTON_RIGHT: ship.setFiring(false); break;
        default: break;
        }
        break;
    case SDL_QUIT: SDL_Quit(); exit(0);
    default: break;
    }
}

void World::zoomIn() {
    cameraOffset.y = std::max(cameraOffset.y - ZoomStep, CameraOffset.y);
    cameraOffset.z = std::max(cameraOffset.z - ZoomStep, CameraOffset.z);
}

void World::zoomOut() {
    cameraOffset.y = std::min(cameraOffset.y + ZoomStep, CameraOffset.y + ZoomRange);
    cameraOffset.z = std::min(cameraOffset.z + ZoomStep, CameraOffset.z + ZoomRange);
}

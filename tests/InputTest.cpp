// Keyboard and mouse events as the player makes them, turned into ship controls, zoom and pause.
#include <SDL/SDL.h>
#include <cmath>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

#include "ships/Ship.h"
#include "support/GameFixture.h"
#include "support/Stdout.h"

namespace {

// Every SDL event struct starts with the type, so one field sets it for all of them.
SDL_Event event(Uint8 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}
SDL_Event key(Uint8 type, SDLKey sym) {
    SDL_Event e = event(type);
    e.key.keysym.sym = sym;
    return e;
}
SDL_Event button(Uint8 type, Uint8 which) {
    SDL_Event e = event(type);
    e.button.button = which;
    return e;
}

} // namespace

using Input = testing_support::GameTest;
using testing_support::stdoutOf;

// Each thrust key gives its thrust of 15 and its release stops its own axis only; releasing either key of
// a pair stops the pair's axis, even with the other still held.
TEST_F(Input, KeysAndButtonsDriveShipZeroAndADeadShipOnlyBrakes) {
    World& w = world();
    Ship& ship = ShipTable[0];
    const Uint8 down = SDL_KEYDOWN, up = SDL_KEYUP, press = SDL_MOUSEBUTTONDOWN, lift = SDL_MOUSEBUTTONUP;
    // The key, the other key of its pair, the thrust x and z it gives.
    const std::tuple<SDLKey, SDLKey, float, float> keys[] = {
        {SDLK_a, SDLK_RIGHT, -15, 0}, {SDLK_LEFT, SDLK_d, -15, 0}, {SDLK_d, SDLK_LEFT, 15, 0},
        {SDLK_RIGHT, SDLK_a, 15, 0},  {SDLK_w, SDLK_DOWN, 0, -15}, {SDLK_UP, SDLK_s, 0, -15},
        {SDLK_s, SDLK_UP, 0, 15},     {SDLK_DOWN, SDLK_w, 0, 15}};
    for (const auto& [sym, other, x, z] : keys) {
        SCOPED_TRACE(sym);
        ship.setThrust(z != 0 ? -15 : 0, x != 0 ? -15 : 0); // the other axis already thrusting
        for (SDLKey release : {sym, other}) {
            w.handleEvent(key(down, sym));
            EXPECT_TRUE(ship.thrust.x == (x != 0 ? x : -15) && ship.thrust.z == (z != 0 ? z : -15));
            w.handleEvent(key(up, release));
            EXPECT_TRUE(ship.thrust.x == (x != 0 ? 0 : -15) && ship.thrust.z == (z != 0 ? 0 : -15));
            EXPECT_TRUE(ship.smokeTrail.emitting);
        }
    }
    w.handleEvent(key(up, SDLK_LEFT));
    EXPECT_FALSE(ship.smokeTrail.emitting); // no thrust left, no smoke
    // Which of Braking, Firing and Paused hold after each event; a press and its release to a line.
    // clang-format off
    const std::pair<SDL_Event, std::string> steps[] = {
        {key(down, SDLK_SPACE), "B"},            {key(up, SDLK_SPACE), ""},
        {button(press, SDL_BUTTON_LEFT), "F"},   {button(lift, SDL_BUTTON_LEFT), ""},
        {button(press, SDL_BUTTON_MIDDLE), "F"}, {button(lift, SDL_BUTTON_MIDDLE), ""},
        {button(press, SDL_BUTTON_RIGHT), "F"},  {key(down, SDLK_f), "FP"},
        {button(lift, SDL_BUTTON_RIGHT), "P"},   {key(down, SDLK_F1), ""}};
    // clang-format on
    for (const auto& [e, on] : steps) {
        w.handleEvent(e);
        EXPECT_EQ(std::string(ship.braking ? "B" : "") + (ship.firing ? "F" : "") + (w.paused ? "P" : ""),
                  on);
    }
    ship.explode();
    for (SDL_Event e :
         {key(down, SDLK_SPACE), button(press, SDL_BUTTON_LEFT), key(down, SDLK_w), key(down, SDLK_a)})
        w.handleEvent(e);
    EXPECT_TRUE(ship.braking);
    EXPECT_FALSE(ship.firing || ship.smokeTrail.emitting);
    EXPECT_EQ(ship.thrust.length(), 0);
}

TEST_F(Input, TheWheelZoomsInStepsOfFiveWithinItsLimits) {
    World& w = world();
    // Clicks of the wheel from the start, then the camera's height; it stays 90 below the distance behind.
    const Uint8 in = SDL_BUTTON_WHEELUP, out = SDL_BUTTON_WHEELDOWN;
    const std::tuple<Uint8, int, float> turns[] = {
        {in, 1, 30}, {out, 5, 55}, {in, 1, 50}, {in, 9, 30}, {out, 20, 80}};
    for (const auto& [wheel, clicks, y] : turns) {
        for (int i = 0; i < clicks; ++i)
            w.handleEvent(button(SDL_MOUSEBUTTONDOWN, wheel));
        const Vector3 c = w.cameraOffset;
        EXPECT_EQ(std::tuple(c.x, c.y, c.z), std::tuple(3.0f, y, y + 90));
    }
    w.handleEvent(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP)); // wheel releases are ignored
    EXPECT_EQ(w.cameraOffset.z, 170);
}

// 0.005 radian a unit of pointer motion, pitch first: 10 right and 20 down pitch the nose (-Z) down 0.1,
// then turn it right 0.05 about the pitched frame.
TEST_F(Input, QueuedEventsAreAllHandledInOneDrainAndTheMouseTurnsAWreckEvenWhilePaused) {
    Ship& ship = ShipTable[0];
    const Vector3 right = ship.frame.xAxis, up = ship.frame.yAxis;
    world().cameraOffset = Vector3(3, 55, 145); // mid-way, free to zoom either way
    stdoutOf([&] { ship.explode(); });
    SDL_Event motion = event(SDL_MOUSEMOTION);
    motion.motion.xrel = 10, motion.motion.yrel = 20;
    SDL_Event events[] = {key(SDL_KEYDOWN, SDLK_f), motion, button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP)};
    for (SDL_Event& e : events)
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    world().handleEvents();
    EXPECT_EQ(std::pair(world().paused, world().cameraOffset.y), std::pair(true, 50.0f));
    EXPECT_NEAR(-ship.frame.zAxis.dot(right), std::sin(0.05f), 1e-5f);
    EXPECT_NEAR(ship.frame.zAxis.dot(up), std::sin(0.1f) * std::cos(0.05f), 1e-5f);
}

// The test window is not full screen, so the grab that F5 and Scroll Lock toggle can be seen there.
TEST_F(Input, F5AndScrollLockToggleTheMouseGrab) {
    SDL_WM_GrabInput(SDL_GRAB_ON);
    for (SDLKey k : {SDLK_F5, SDLK_F5, SDLK_SCROLLOCK, SDLK_SCROLLOCK}) {
        const SDL_GrabMode before = SDL_WM_GrabInput(SDL_GRAB_QUERY);
        world().handleEvent(key(SDL_KEYDOWN, k));
        EXPECT_NE(SDL_WM_GrabInput(SDL_GRAB_QUERY), before) << k;
    }
    SDL_WM_GrabInput(SDL_GRAB_OFF);
}

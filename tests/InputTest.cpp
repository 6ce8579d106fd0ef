// Keyboard and mouse events as the player makes them, turned into ship controls, zoom, pause and quit.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <cmath>
#include <string>
#include <unistd.h>

#include "ships/Ship.h"
#include "support/GameFixture.h"

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

#if defined(__SANITIZE_ADDRESS__)
// Quitting unloads SDL's video drivers, whose leftovers then show up as leaks from an unknown module in
// the processes that quit; nothing of ours is among them, so leak checks are off for these tests only.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
#endif

using Input = testing_support::GameTest;

TEST_F(Input, KeysAndButtonsDriveShipZeroAndADeadShipOnlyBrakes) {
    World& w = world();
    Ship& ship = ShipTable[0];
    const Uint8 down = SDL_KEYDOWN, up = SDL_KEYUP, press = SDL_MOUSEBUTTONDOWN, lift = SDL_MOUSEBUTTONUP;
    // Thrust x and z after each event, then which of Braking, Firing and Paused hold. Releasing either
    // strafe key stops all strafing, even with the other held, and either thrust key all thrust.
    struct Step {
        SDL_Event e;
        float x, z;
        std::string on;
    } steps[] = {{key(down, SDLK_LEFT), -15, 0, ""},
                 {key(down, SDLK_d), 15, 0, ""},
                 {key(down, SDLK_UP), 15, -15, ""},
                 {key(up, SDLK_a), 0, -15, ""},
                 {key(down, SDLK_DOWN), 0, 15, ""},
                 {key(down, SDLK_RIGHT), 15, 15, ""},
                 {key(up, SDLK_w), 15, 0, ""},
                 {key(up, SDLK_d), 0, 0, ""},
                 {key(down, SDLK_SPACE), 0, 0, "B"},
                 {key(up, SDLK_SPACE), 0, 0, ""},
                 {button(press, SDL_BUTTON_LEFT), 0, 0, "F"},
                 {button(lift, SDL_BUTTON_LEFT), 0, 0, ""},
                 {button(press, SDL_BUTTON_MIDDLE), 0, 0, "F"},
                 {button(lift, SDL_BUTTON_MIDDLE), 0, 0, ""},
                 {button(press, SDL_BUTTON_RIGHT), 0, 0, "F"},
                 {key(down, SDLK_f), 0, 0, "FP"},
                 {button(lift, SDL_BUTTON_RIGHT), 0, 0, "P"},
                 {key(down, SDLK_F1), 0, 0, ""}};
    for (const Step& s : steps) {
        SCOPED_TRACE(&s - steps);
        w.handleEvent(s.e);
        EXPECT_EQ(ship.thrust.x, s.x);
        EXPECT_EQ(ship.thrust.z, s.z);
        EXPECT_EQ(ship.smokeTrail.emitting, s.x != 0 || s.z != 0);
        EXPECT_EQ(ship.braking, s.on.find('B') != std::string::npos);
        EXPECT_EQ(ship.firing, s.on.find('F') != std::string::npos);
        EXPECT_EQ(w.paused, s.on.find('P') != std::string::npos);
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
    w.cameraOffset = Vector3(3, 30, 120);
    struct Turn {
        Uint8 wheel;
        int clicks;
        float y, z;
    } turns[] = {{SDL_BUTTON_WHEELUP, 1, 30, 120},
                 {SDL_BUTTON_WHEELDOWN, 5, 55, 145},
                 {SDL_BUTTON_WHEELUP, 10, 30, 120},
                 {SDL_BUTTON_WHEELDOWN, 20, 80, 170}};
    for (const Turn& t : turns) {
        for (int i = 0; i < t.clicks; ++i)
            w.handleEvent(button(SDL_MOUSEBUTTONDOWN, t.wheel));
        EXPECT_EQ(w.cameraOffset.y, t.y);
        EXPECT_EQ(w.cameraOffset.z, t.z);
    }
    EXPECT_EQ(w.cameraOffset.x, 3);
    w.handleEvent(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP)); // wheel releases are ignored
    EXPECT_EQ(w.cameraOffset.z, 170);
}

TEST_F(Input, QueuedEventsAreAllHandledInOneDrainAndTheMouseTurnsEvenWhilePaused) {
    Ship& ship = ShipTable[0];
    const Vector3 noseBefore = ship.frame.zAxis, rightBefore = ship.frame.xAxis;
    SDL_Event motion = event(SDL_MOUSEMOTION);
    motion.motion.xrel = 10;
    SDL_Event events[] = {key(SDL_KEYDOWN, SDLK_w), key(SDL_KEYDOWN, SDLK_d),
                          button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), key(SDL_KEYDOWN, SDLK_f), motion};
    for (SDL_Event& e : events)
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    world().handleEvents();
    EXPECT_EQ(ship.thrust.z, -15);
    EXPECT_EQ(ship.thrust.x, 15);
    EXPECT_TRUE(ship.firing);
    EXPECT_TRUE(world().paused);
    // The nose (-Z) turned 0.05 rad toward the ship's right.
    EXPECT_NEAR(-ship.frame.zAxis.dot(rightBefore), std::sin(0.05f), 1e-5f);
    EXPECT_NEAR(ship.frame.zAxis.dot(noseBefore), std::cos(0.05f), 1e-5f);
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0);
}

TEST_F(Input, EscapeAndTheQuitEventEndTheProcessAtOnceWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (SDL_Event stop : {key(SDL_KEYDOWN, SDLK_ESCAPE), event(SDL_QUIT)}) {
        // Had the drain returned, or gone on to the event behind the quit, the status would not be 0.
        EXPECT_EXIT(
            {
                SDL_Event behind = key(SDL_KEYDOWN, SDLK_w);
                SDL_PushEvent(&stop);
                SDL_PushEvent(&behind);
                world().handleEvents();
                _exit(3);
            },
            testing::ExitedWithCode(0), "");
    }
}

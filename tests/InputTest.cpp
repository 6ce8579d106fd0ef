// Keyboard and mouse events as the player makes them, turned into ship controls, zoom, pause and quit.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <cmath>
#include <unistd.h>

#include "ships/Ship.h"
#include "support/GameFixture.h"

using testing_support::GameTest;

namespace {

SDL_Event key(Uint8 type, SDLKey sym) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event button(Uint8 type, Uint8 which) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = which;
    return e;
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
// Quitting unloads SDL's video drivers, whose leftovers then show up as leaks from an unknown module in
// the processes that quit; nothing of ours is among them, so leak checks are off for these tests only.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
#endif

using Input = GameTest;

TEST_F(Input, KeysSetThrustAndReleasingEitherStrafeKeyStopsAllStrafing) {
    World& w = world();
    Ship& ship = ShipTable[0];
    w.handleEvent(key(SDL_KEYDOWN, SDLK_a));
    w.handleEvent(key(SDL_KEYDOWN, SDLK_d));
    EXPECT_EQ(ship.thrust.x, 15);
    w.handleEvent(key(SDL_KEYUP, SDLK_a)); // D is still held
    EXPECT_EQ(ship.thrust.x, 0);
    w.handleEvent(key(SDL_KEYDOWN, SDLK_UP));
    EXPECT_EQ(ship.thrust.z, -15);
    EXPECT_TRUE(ship.smokeTrail.emitting);
    w.handleEvent(key(SDL_KEYDOWN, SDLK_s));
    EXPECT_EQ(ship.thrust.z, 15);
    w.handleEvent(key(SDL_KEYUP, SDLK_w));
    EXPECT_EQ(ship.thrust.z, 0);
    EXPECT_FALSE(ship.smokeTrail.emitting);
    w.handleEvent(key(SDL_KEYDOWN, SDLK_SPACE));
    EXPECT_TRUE(ship.braking);
    w.handleEvent(key(SDL_KEYUP, SDLK_SPACE));
    EXPECT_FALSE(ship.braking);
}

TEST_F(Input, DeadShipBrakesButNeitherFiresNorThrusts) {
    World& w = world();
    Ship& ship = ShipTable[0];
    ship.explode();
    w.handleEvent(key(SDL_KEYDOWN, SDLK_SPACE));
    w.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    w.handleEvent(key(SDL_KEYDOWN, SDLK_w));
    EXPECT_TRUE(ship.braking);
    EXPECT_FALSE(ship.firing);
    EXPECT_EQ(ship.thrust.z, 0);
}

TEST_F(Input, ButtonsFireAndTheWheelZoomsWithinItsLimits) {
    World& w = world();
    Ship& ship = ShipTable[0];
    for (Uint8 b : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT}) {
        w.handleEvent(button(SDL_MOUSEBUTTONDOWN, b));
        EXPECT_TRUE(ship.firing);
        w.handleEvent(button(SDL_MOUSEBUTTONUP, b));
        EXPECT_FALSE(ship.firing);
    }
    w.cameraOffset = Vector3(3, 30, 120);
    w.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP));
    EXPECT_EQ(w.cameraOffset.z, 120);
    for (int i = 0; i < 5; ++i) w.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN));
    EXPECT_EQ(w.cameraOffset.y, 55);
    EXPECT_EQ(w.cameraOffset.z, 145);
    for (int i = 0; i < 10; ++i) w.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP));
    EXPECT_EQ(w.cameraOffset.y, 30);
    EXPECT_EQ(w.cameraOffset.z, 120);
    for (int i = 0; i < 20; ++i) w.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN));
    EXPECT_EQ(w.cameraOffset.x, 3);
    EXPECT_EQ(w.cameraOffset.y, 80);
    EXPECT_EQ(w.cameraOffset.z, 170);
    w.handleEvent(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP)); // wheel releases are ignored
    EXPECT_EQ(w.cameraOffset.z, 170);
    w.cameraOffset = Vector3(3, 30, 120);
}

TEST_F(Input, PauseKeysToggleAndTheMouseStillTurnsTheShip) {
    World& w = world();
    Ship& ship = ShipTable[0];
    w.handleEvent(key(SDL_KEYDOWN, SDLK_f));
    EXPECT_TRUE(w.paused);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 10;
    Vector3 noseBefore = ship.frame.zAxis;
    Vector3 rightBefore = ship.frame.xAxis;
    noseBefore.negate();
    w.handleEvent(motion);
    // The nose turned 0.05 rad toward the ship's right.
    Vector3 nose = ship.frame.zAxis;
    nose.negate();
    EXPECT_NEAR(nose.dot(rightBefore), std::sin(0.05f), 1e-5f);
    EXPECT_NEAR(nose.dot(noseBefore), std::cos(0.05f), 1e-5f);
    w.handleEvent(key(SDL_KEYDOWN, SDLK_F1));
    EXPECT_FALSE(w.paused);
}

TEST_F(Input, QueuedEventsAreAllHandledInOneDrain) {
    World& w = world();
    SDL_Event events[] = {key(SDL_KEYDOWN, SDLK_w), key(SDL_KEYDOWN, SDLK_d),
                          button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), key(SDL_KEYDOWN, SDLK_f)};
    for (SDL_Event& e : events) ASSERT_EQ(SDL_PushEvent(&e), 0);
    w.handleEvents();
    EXPECT_EQ(ShipTable[0].thrust.z, -15);
    EXPECT_EQ(ShipTable[0].thrust.x, 15);
    EXPECT_TRUE(ShipTable[0].firing);
    EXPECT_TRUE(w.paused);
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0);
}

TEST_F(Input, EscapeAndTheQuitEventEndTheProcessAtOnceWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    World& w = world();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    for (SDL_Event stop : {key(SDL_KEYDOWN, SDLK_ESCAPE), quit}) {
        // Had the drain returned, or gone on to the event behind the quit, the status would not be 0.
        EXPECT_EXIT(
            {
                SDL_Event behind = key(SDL_KEYDOWN, SDLK_w);
                SDL_PushEvent(&stop);
                SDL_PushEvent(&behind);
                w.handleEvents();
                _exit(3);
            },
            testing::ExitedWithCode(0), "");
    }
}

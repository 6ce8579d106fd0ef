// The shared World of a test process and the fresh round that every game test starts from.
#include "support/GameFixture.h"

#include <cstdio>

#include "app/FrameLoop.h"
#include "ships/Ship.h"

namespace testing_support {

World& GameTest::world() {
    static World& instance = startWorld(1); // as the game starts, music and all
    fflush(stdout);
    return instance;
}

void GameTest::SetUp() {
    GLTest::SetUp();
    if (HasFatalFailure()) return;
    // Built first, as its own layout draws from the generator; then every test's round from one seed.
    World& w = world();
    // Bolts outlive a restart, as in the game; one test's must not hit what the next one sets up.
    for (Ship& ship : ShipTable)
        ship.dropBolts();
    srand(1);
    w.restart();
    srand(1);
}

} // namespace testing_support

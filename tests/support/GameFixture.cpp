// The shared World of a test process and the fresh round that every game test starts from.
#include "support/GameFixture.h"

#include <cstdio>

#include "audio/GameAudio.h"
#include "ships/Ship.h"
#include "support/GLTestWindow.h"

namespace testing_support {

World& GameTest::world() {
    static World* instance = nullptr;
    if (!instance) {
        openGLWindow();
        initAudio();
        instance = new World();
        theWorld = instance;
        fflush(stdout);
    }
    return *instance;
}

void GameTest::SetUp() {
    ASSERT_TRUE(openGLWindow()) << "these tests need an X display (run them under xvfb-run)";
    // The World seeds the generator from the clock when it is built, so it is built before the seed that
    // lays out every test's round: otherwise the first test of a process played a layout of the clock's.
    World& w = world();
    // Bolts outlive a restart, as in the game; one test's must not hit what the next one sets up.
    for (Ship& ship : ShipTable)
        ship.dropBolts();
    srand(1);
    w.restart();
    srand(1);
}

std::vector<unsigned char> settledFrame(World& w) {
    w.render();
    w.render();
    return readFrame();
}

} // namespace testing_support

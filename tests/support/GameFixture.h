// A real game for tests: the GL window, the sound system on a silent output, and one World.
#pragma once

#include <gtest/gtest.h>

#include "support/GLTestWindow.h"
#include "world/World.h"

namespace testing_support {

// Builds the World once per test process (the game has exactly one) and lays out a fresh round for
// every test, so each starts from the same opening position.
class GameTest : public GLTest {
  protected:
    static World& world();
    void SetUp() override;
};

} // namespace testing_support

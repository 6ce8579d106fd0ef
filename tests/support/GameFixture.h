// A real game for tests: the GL window, the sound system on a silent output, and one World.
#pragma once

#include <gtest/gtest.h>

#include <vector>

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

// The second of two renders of the world as it stands: that one starts from the GL state the same
// frame left behind, so it can be compared byte for byte with another drawn the same way.
std::vector<unsigned char> settledFrame(World& w);

} // namespace testing_support

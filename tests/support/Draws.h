// The game's random draws foreseen: what a piece of game code will draw, worked out before it runs.
#pragma once

#include <cstdlib>

namespace testing_support {

// Seeds the shared generator, lets `predict` work out its expectation from the draws it expects the game to
// take, then seeds it again so that the game code run next draws exactly those numbers.
template <class Predict> auto replayDraws(unsigned seed, Predict predict) {
    srand(seed);
    auto expected = predict();
    srand(seed);
    return expected;
}

} // namespace testing_support

// The game's random draws foreseen: what a piece of game code will draw, worked out before it runs.
#pragma once

#include <cstdlib>

namespace testing_support {

// Seeds the shared generator with `seed`, lets `predict` take the draws it expects the game to take
// and work out its expectation from them, then seeds the generator again, so that the game code run
// next draws exactly those numbers. Nothing drawn before counts, whichever test or code ran first.
//   const int kind = replayDraws(11, [] { return randomDraw() % RewardKinds; });
//   world.refill(); // draws the same
template <class Predict> auto replayDraws(unsigned seed, Predict predict) {
    srand(seed);
    auto expected = predict();
    srand(seed);
    return expected;
}

} // namespace testing_support

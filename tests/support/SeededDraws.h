// The one way tests replay the shared generator: what it will give after a seed, then the same seed again.
#pragma once

#include <cstdlib>
#include <vector>

#include "math/Random.h"

namespace testing_support {

// The first `count` draws after srand(seed); the generator is left seeded with `seed` again, so the
// code under test makes exactly these draws next, whatever any other test drew before.
inline std::vector<int> seededDraws(unsigned seed, int count) {
    srand(seed);
    std::vector<int> draws(static_cast<size_t>(count));
    for (int& d : draws)
        d = randomDraw();
    srand(seed);
    return draws;
}

} // namespace testing_support

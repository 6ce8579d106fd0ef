// Vectors and frames compared component by component, with the components shown when they differ.
#pragma once

#include <gtest/gtest.h>

#include "math/Frame.h"
#include "math/Vector3.h"

namespace testing_support {

// Every component within `tolerance` of the expected one; 0 asks for exactly the same floats.
// EXPECT_TRUE(near(v, Vector3(1, 2, 3), 1e-5f)) << "what was checked";
testing::AssertionResult near(Vector3 actual, Vector3 expected, float tolerance = 0);
// All three axes and the origin.
testing::AssertionResult near(const Frame& actual, const Frame& expected, float tolerance = 0);

} // namespace testing_support

// The one way tests compare vectors and frames: component by component within a tolerance (0: exactly).
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "math/Frame.h"

namespace testing_support {

inline testing::AssertionResult near(Vector3 actual, Vector3 expected, float tolerance = 1e-5f) {
    const float d[] = {actual.x - expected.x, actual.y - expected.y, actual.z - expected.z};
    for (float c : d)
        if (!(std::fabs(c) <= tolerance))
            return testing::AssertionFailure()
                   << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not (" << expected.x
                   << ", " << expected.y << ", " << expected.z << ") within " << tolerance;
    return testing::AssertionSuccess();
}

inline testing::AssertionResult near(const Frame& actual, const Frame& expected, float tolerance = 1e-5f) {
    for (Vector3 Frame::*part : {&Frame::xAxis, &Frame::yAxis, &Frame::zAxis, &Frame::origin}) {
        testing::AssertionResult r = near(actual.*part, expected.*part, tolerance);
        if (!r) return r << (part == &Frame::origin ? " at the origin" : " on an axis");
    }
    return testing::AssertionSuccess();
}

} // namespace testing_support

// Component-wise comparison of vectors and frames for the tests.
#include "support/Near.h"

#include <cmath>

namespace testing_support {

namespace {

std::string shown(Vector3 v) {
    return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z) + ")";
}

} // namespace

testing::AssertionResult near(Vector3 actual, Vector3 expected, float tolerance) {
    for (float Vector3::*c : {&Vector3::x, &Vector3::y, &Vector3::z})
        if (!(std::fabs(actual.*c - expected.*c) <= tolerance)) // NaN fails too
            return testing::AssertionFailure()
                   << shown(actual) << " is not within " << tolerance << " of " << shown(expected);
    return testing::AssertionSuccess();
}

testing::AssertionResult near(const Frame& actual, const Frame& expected, float tolerance) {
    for (auto [part, name] : {std::pair{&Frame::xAxis, "x axis"}, std::pair{&Frame::yAxis, "y axis"},
                              std::pair{&Frame::zAxis, "z axis"}, std::pair{&Frame::origin, "origin"}})
        if (testing::AssertionResult same = near(actual.*part, expected.*part, tolerance); !same)
            return testing::AssertionFailure() << name << ": " << same.message();
    return testing::AssertionSuccess();
}

} // namespace testing_support

// Comparing places and frames.
#pragma once

#include "math/Frame.h"
#include "math/Vector3.h"

namespace testing_support {

inline float apart(Vector3 a, Vector3 b) {
    a.subtract(b);
    return a.length();
}

// Bit for bit: what a step must leave exactly as it was.
inline bool same(Vector3 a, Vector3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool same(const Frame& a, const Frame& b) {
    return same(a.xAxis, b.xAxis) && same(a.yAxis, b.yAxis) && same(a.zAxis, b.zAxis) &&
           same(a.origin, b.origin);
}

} // namespace testing_support

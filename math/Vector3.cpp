// Vector arithmetic in single precision; sums are formed in double first and rounded to float once.
#include "math/Vector3.h"

#include <cmath>

float Vector3::length() const {
    // The sum is a float before the root is taken, so the root is a single-precision one.
    float sum = static_cast<float>(double(x) * x + double(y) * y + double(z) * z);
    return std::sqrt(sum);
}

void Vector3::setLength(float l) {
    float current = length();
    // A zero (or non-finite) vector has no direction to keep; dividing would fill it with NaN.
    if (!(current > 0) || !std::isfinite(current)) return;
    float s = l / current;
    scale(s);
}

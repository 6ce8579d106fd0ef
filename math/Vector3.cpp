// Vector arithmetic in single precision; sums are formed first and rounded to float once.
#include "math/Vector3.h"

#include <cmath>

float Vector3::length() const {
    float sum = x * x + y * y + z * z;
    return std::sqrt(sum);
}

float Vector3::dot(Vector3 v) const { return x * v.x + y * v.y + z * v.z; }

Vector3 Vector3::cross(Vector3 v) const { return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x}; }

void Vector3::add(Vector3 v) {
    x += v.x;
    y += v.y;
    z += v.z;
}

void Vector3::subtract(Vector3 v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
}

void Vector3::addScaled(Vector3 v, float s) {
    x += v.x * s;
    y += v.y * s;
    z += v.z * s;
}

void Vector3::scale(float s) {
    x *= s;
    y *= s;
    z *= s;
}

void Vector3::negate() {
    x = -x;
    y = -y;
    z = -z;
}

void Vector3::setLength(float l) {
    float current = length();
    // A zero (or non-finite) vector has no direction to keep; dividing would fill it with NaN.
    if (!(current > 0) || !std::isfinite(current)) return;
    float s = l / current;
    scale(s);
}

// Three-component vectors for the asset generators: in double for the models, in float for the pictures.
#pragma once

#include <cmath>

template <class T> struct Vec3T {
    T x = 0, y = 0, z = 0;

    Vec3T() = default;
    Vec3T(T x, T y, T z) : x(x), y(y), z(z) {}

    Vec3T operator+(Vec3T v) const { return {x + v.x, y + v.y, z + v.z}; }
    Vec3T operator-(Vec3T v) const { return {x - v.x, y - v.y, z - v.z}; }
    Vec3T operator*(T s) const { return {x * s, y * s, z * s}; }
    T dot(Vec3T v) const { return x * v.x + y * v.y + z * v.z; }
    Vec3T cross(Vec3T v) const { return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x}; }
    T length() const { return std::sqrt(dot(*this)); }
    Vec3T unit() const { // a zero vector stays as it is
        T l = length();
        return l > 0 ? *this * (T(1) / l) : *this;
    }
};

using Vec3 = Vec3T<double>; // the models
using Vec3f = Vec3T<float>; // the pictures

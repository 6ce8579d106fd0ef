// Three single-precision components: every position, direction, velocity and thrust in the game.
#pragma once

struct Vector3 {
    float x = 0, y = 0, z = 0;

    Vector3() = default;
    constexpr Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

    float length() const;
    float dot(Vector3 v) const;
    Vector3 cross(Vector3 v) const;

    // In place, like every mutating operation.
    void add(Vector3 v);
    void subtract(Vector3 v);
    void addScaled(Vector3 v, float s);
    void scale(float s);
    void negate();
    void setLength(float l); // leaves a zero vector as it is
};

// The small operations are defined here so that the particle and collision loops inline them.
//
// A formula of several terms is summed in double and rounded to float once: the product of two floats
// is exact in double, so the only roundings are the sum's, and a compiler that fuses a multiply into
// an add cannot change the result.
inline float Vector3::dot(Vector3 v) const {
    return static_cast<float>(double(x) * v.x + double(y) * v.y + double(z) * v.z);
}

inline Vector3 Vector3::cross(Vector3 v) const {
    return {static_cast<float>(double(y) * v.z - double(z) * v.y),
            static_cast<float>(double(z) * v.x - double(x) * v.z),
            static_cast<float>(double(x) * v.y - double(y) * v.x)};
}

inline void Vector3::add(Vector3 v) {
    x += v.x;
    y += v.y;
    z += v.z;
}

inline void Vector3::subtract(Vector3 v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
}

inline void Vector3::addScaled(Vector3 v, float s) {
    x = static_cast<float>(x + double(v.x) * s);
    y = static_cast<float>(y + double(v.y) * s);
    z = static_cast<float>(z + double(v.z) * s);
}

inline void Vector3::scale(float s) {
    x *= s;
    y *= s;
    z *= s;
}

inline void Vector3::negate() {
    x = -x;
    y = -y;
    z = -z;
}

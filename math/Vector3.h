// Three single-precision components: every position, direction, velocity and thrust in the game.
#pragma once

struct Vector3 {
    float x = 0, y = 0, z = 0;

    Vector3() = default;
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

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
inline float Vector3::dot(Vector3 v) const { return x * v.x + y * v.y + z * v.z; }

inline Vector3 Vector3::cross(Vector3 v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
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
    x += v.x * s;
    y += v.y * s;
    z += v.z * s;
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

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

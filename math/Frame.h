// Rigid placement in space: three axes and an origin, mapping local points to world points.
#pragma once

#include "math/Vector3.h"

// Local -Z is forward, +Y up, +X right. Angles are radians.
struct Frame {
    Vector3 xAxis{1, 0, 0};
    Vector3 yAxis{0, 1, 0};
    Vector3 zAxis{0, 0, 1};
    Vector3 origin;

    Frame() = default;
    explicit Frame(Vector3 origin) : origin(origin) {}
    Frame(Vector3 xAxis, Vector3 yAxis, Vector3 zAxis, Vector3 origin)
        : xAxis(xAxis), yAxis(yAxis), zAxis(zAxis), origin(origin) {}

    Vector3 transform(Vector3 v, bool isPoint) const;
    void rotate(const Frame& r);   // r's axes expressed in this frame's own axes; origin kept
    void multiply(const Frame& r); // this = this * r as 4x4 matrices
    void rotateAboutX(float a);    // pitch
    void rotateAboutY(float a);    // yaw
    bool lookAlong(Vector3 d);     // local -Z along d; false (frame untouched) when d gives no frame
    void transposeRotation();
    void invert();
    void toMatrix(float m[16]) const; // column-major, the layout glMultMatrixf takes
    void applyGL() const;
};

// Here rather than in Frame.cpp so that the per-particle and per-bolt loops inline it. Each component,
// the origin included for a point, is summed in double and rounded to float once, as Vector3 does.
inline Vector3 Frame::transform(Vector3 v, bool isPoint) const {
    double x = double(xAxis.x) * v.x + double(yAxis.x) * v.y + double(zAxis.x) * v.z;
    double y = double(xAxis.y) * v.x + double(yAxis.y) * v.y + double(zAxis.y) * v.z;
    double z = double(xAxis.z) * v.x + double(yAxis.z) * v.y + double(zAxis.z) * v.z;
    if (isPoint) {
        x += origin.x;
        y += origin.y;
        z += origin.z;
    }
    return Vector3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

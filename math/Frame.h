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
    void rotate(const Frame& r);        // r's axes expressed in this frame's own axes; origin kept
    void multiply(const Frame& r);      // this = this * r as 4x4 matrices
    void rotateAboutX(float a);         // pitch
    void rotateAboutY(float a);         // yaw
    bool lookAlong(Vector3 d);          // local -Z along d; false (frame untouched) when d gives no frame
    void transposeRotation();
    void invert();
    void toMatrix(float m[16]) const;   // column-major, the layout glMultMatrixf takes
    void applyGL() const;
};

// Here rather than in Frame.cpp so that the per-particle and per-bolt loops inline it.
inline Vector3 Frame::transform(Vector3 v, bool isPoint) const {
    Vector3 r(xAxis.x * v.x + yAxis.x * v.y + zAxis.x * v.z, xAxis.y * v.x + yAxis.y * v.y + zAxis.y * v.z,
              xAxis.z * v.x + yAxis.z * v.y + zAxis.z * v.z);
    if (isPoint) r.add(origin);
    return r;
}

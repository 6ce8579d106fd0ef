// Frame operations; the matrix columns are the axes, so transform is M*v (+ origin).
#include "math/Frame.h"

#include <GL/gl.h>
#include <cmath>

void Frame::rotate(const Frame& r) {
    Vector3 x = transform(r.xAxis, false);
    Vector3 y = transform(r.yAxis, false);
    Vector3 z = transform(r.zAxis, false);
    xAxis = x;
    yAxis = y;
    zAxis = z;
}

void Frame::multiply(const Frame& r) {
    origin = transform(r.origin, true);
    rotate(r);
}

void Frame::rotateAboutX(float a) {
    float c = std::cos(a), s = std::sin(a);
    rotate(Frame({1, 0, 0}, {0, c, s}, {0, -s, c}, {}));
}

void Frame::rotateAboutY(float a) {
    float c = std::cos(a), s = std::sin(a);
    rotate(Frame({c, 0, -s}, {0, 1, 0}, {s, 0, c}, {}));
}

bool Frame::lookAlong(Vector3 d) {
    // A zero direction, or one parallel to the up axis, leaves no way to build the axes; a NaN frame
    // would never recover, so keep the current orientation instead.
    if (!(d.length() > 0) || !std::isfinite(d.length())) return false;
    Vector3 z = d;
    z.setLength(-1);
    Vector3 x = yAxis.cross(z);
    if (!(x.length() > 1e-6f * yAxis.length())) return false;
    Vector3 y = z.cross(x);
    x.setLength(1);
    y.setLength(1);
    xAxis = x;
    yAxis = y;
    zAxis = z;
    return true;
}

void Frame::transposeRotation() {
    Vector3 x(xAxis.x, yAxis.x, zAxis.x);
    Vector3 y(xAxis.y, yAxis.y, zAxis.y);
    Vector3 z(xAxis.z, yAxis.z, zAxis.z);
    xAxis = x;
    yAxis = y;
    zAxis = z;
}

void Frame::invert() {
    transposeRotation();
    origin = transform(origin, false);
    origin.negate();
}

void Frame::toMatrix(float m[16]) const {
    const float values[16] = {xAxis.x, xAxis.y, xAxis.z, 0, yAxis.x,  yAxis.y,  yAxis.z,  0,
                              zAxis.x, zAxis.y, zAxis.z, 0, origin.x, origin.y, origin.z, 1};
    for (int i = 0; i < 16; ++i)
        m[i] = values[i];
}

void Frame::applyGL() const {
    float m[16];
    toMatrix(m);
    glMultMatrixf(m);
}

// Sphere against view frustum, in eye coordinates, erring on the side of drawing.
#include "render/ViewVolume.h"

#include <cmath>

namespace {

// Far more than float rounding in the transforms, so a ball that touches the edge is always drawn.
float safeRadius(float radius) { return radius * 1.01f + 1.0f; }

} // namespace

ViewVolume::ViewVolume(double fieldOfView, double aspect, double nearPlane, double farPlane)
    : nearPlane(float(nearPlane)), farPlane(float(farPlane)) {
    const double halfHeight = fieldOfView * 0.5 * M_PI / 180.0;
    const double halfWidth = std::atan(std::tan(halfHeight) * aspect);
    sinHalfHeight = float(std::sin(halfHeight));
    cosHalfHeight = float(std::cos(halfHeight));
    sinHalfWidth = float(std::sin(halfWidth));
    cosHalfWidth = float(std::cos(halfWidth));
}

void ViewVolume::setEye(const Frame& eye) {
    view = eye;
    view.invert();
    eyeKnown = true;
}

bool ViewVolume::mayShow(Vector3 centre, float radius) const {
    if (!culling || !eyeKnown) return true;
    const Vector3 p = view.transform(centre, true);
    const float r = safeRadius(radius);
    const float depth = -p.z;
    // Each side plane passes through the eye; its outward normal tilts back by the half angle.
    if (p.y * cosHalfHeight - depth * sinHalfHeight > r) return false;
    if (-p.y * cosHalfHeight - depth * sinHalfHeight > r) return false;
    if (p.x * cosHalfWidth - depth * sinHalfWidth > r) return false;
    if (-p.x * cosHalfWidth - depth * sinHalfWidth > r) return false;
    return depth + r >= nearPlane && depth - r <= farPlane;
}

// What the camera can see this frame: a test that lets objects wholly out of view skip their triangles.
#pragma once

#include "math/Frame.h"

class ViewVolume {
  public:
    // The same lens the camera is set up with: vertical field of view in degrees, width over height,
    // and the near and far planes.
    ViewVolume(double fieldOfView, double aspect, double nearPlane, double farPlane);

    // From setEye until forgetEye the test answers for that eye; outside a frame everything may show,
    // so objects drawn under a camera of their own are never skipped.
    void setEye(const Frame& eye); // where the camera stands, looking along its -Z
    void forgetEye() { eyeKnown = false; }
    bool mayShow(Vector3 centre, float radius) const; // false only if no part of the ball can be on screen

    // Off, everything may show; for comparing frames and times.
    void setCulling(bool on) { culling = on; }

  private:
    // clang-format off
    Frame view;            // world to eye coordinates, as the projection matrix holds it
    float nearPlane;
    float farPlane;
    float sinHalfHeight;   // of half the vertical and horizontal angles of view
    float cosHalfHeight;
    float sinHalfWidth;
    float cosHalfWidth;
    bool  culling  = true;
    bool  eyeKnown = false;
    // clang-format on
};

// The shape an object reports for collision tests and distances: a sphere, or a projectile's twin beams.
#pragma once

#include "math/Vector3.h"

enum ShapeKind { Sphere = 0, TwinBeam = 1 };

struct CollisionShape {
    // clang-format off
    Vector3 centre;       // sphere centre; for twin beams the projectile's position
    Vector3 beam1Start;
    Vector3 beam1End;
    Vector3 beam2Start;
    Vector3 beam2End;
    float   radius = 0;   // 0 for twin beams
    int     kind   = Sphere;
    // clang-format on

    CollisionShape(int kind, Vector3 centre, float radius);
    CollisionShape(int kind, Vector3 centre, Vector3 beam1Start, Vector3 beam1End, Vector3 beam2Start,
                   Vector3 beam2End);

    bool intersects(CollisionShape other) const;
    float distanceTo(CollisionShape other) const;
};

bool beamHitsSphere(const CollisionShape& sphere, const CollisionShape& beams);
bool segmentHitsSphere(Vector3 centre, float radius, Vector3 start, Vector3 direction);

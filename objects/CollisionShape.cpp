// Shape-against-shape tests: spheres touch by radius, laser beams hit where a segment crosses a surface.
#include "objects/CollisionShape.h"

#include <cmath>
#include <cstdio>

CollisionShape::CollisionShape(int kind, Vector3 centre, float radius)
    : centre(centre), radius(radius), kind(kind) {}

CollisionShape::CollisionShape(int kind, Vector3 centre, Vector3 beam1Start, Vector3 beam1End,
                               Vector3 beam2Start, Vector3 beam2End)
    : centre(centre), beam1Start(beam1Start), beam1End(beam1End), beam2Start(beam2Start), beam2End(beam2End),
      radius(0), kind(kind) {}

bool CollisionShape::intersects(CollisionShape other) const {
    if (kind == Sphere && other.kind == Sphere) return radius + other.radius > distanceTo(other);
    if (kind == TwinBeam && other.kind == Sphere) return beamHitsSphere(other, *this);
    if (kind == Sphere && other.kind == TwinBeam) return beamHitsSphere(*this, other);
    if (kind == TwinBeam && other.kind == TwinBeam) return false; // lasers pass through each other
    printf("ERROR: intersects has been used with unknown objects!\n");
    return false;
}

float CollisionShape::distanceTo(CollisionShape other) const {
    // The differences are floats; their squares are summed and rooted in double and rounded once, so a
    // ship exactly touching a planet is not pushed apart by a rounding on the way.
    double dx = centre.x - other.centre.x;
    double dy = centre.y - other.centre.y;
    double dz = centre.z - other.centre.z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

bool beamHitsSphere(const CollisionShape& sphere, const CollisionShape& beams) {
    Vector3 beam1 = beams.beam1End;
    beam1.subtract(beams.beam1Start);
    if (segmentHitsSphere(sphere.centre, sphere.radius, beams.beam1Start, beam1)) return true;
    Vector3 beam2 = beams.beam2End;
    beam2.subtract(beams.beam2Start);
    return segmentHitsSphere(sphere.centre, sphere.radius, beams.beam2Start, beam2);
}

// Solves |start + t direction - centre| = radius for t and asks whether the surface is crossed
// within t in [0, 1]; a segment wholly inside the sphere does not count.
bool segmentHitsSphere(Vector3 centre, float radius, Vector3 start, Vector3 direction) {
    Vector3 m = start;
    m.subtract(centre);
    // Every value named here is a float; each one that is a sum is formed in double and rounded once.
    float a = direction.dot(direction);
    float b = 2 * direction.dot(m);
    float c = static_cast<float>(double(m.x) * m.x + double(m.y) * m.y + double(m.z) * m.z -
                                 double(radius) * radius);
    // A segment without length is a point: it meets the surface only by lying on it.
    if (a == 0) return c == 0;
    float disc = static_cast<float>(double(b) * b - 4 * double(a) * c);
    if (disc < 0) return false;
    float s = std::sqrt(disc);
    float q = b >= 0 ? (s - b) * 0.5f : (-b - s) * 0.5f;
    float t0 = q / a;
    // q is 0 when the start lies on the surface (c = 0); the roots then sum to -b/a.
    float t1 = q != 0 ? c / q : -b / a - t0;
    float tLow = std::fmin(t0, t1);
    float tHigh = std::fmax(t0, t1);
    if (tHigh < 0) return false;
    float t = tLow >= 0 ? tLow : tHigh;
    return t <= 1;
}

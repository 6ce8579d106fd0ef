// Spheres drawn from display lists compiled once, instead of being rebuilt by GLU every frame.
#pragma once

#include <GL/glu.h>

// Many times the 21 spheres of a frame. Planet and globe radii follow health, so new radii keep
// coming; the list drawn least recently is deleted to make room.
constexpr int SphereCacheCapacity = 64;

// Draws what gluSphere(quadric, radius, slices, stacks) draws: the same vertices, normals and texture
// coordinates, from a display list compiled the first time this quadric draws a sphere of this
// radius and tessellation. A quadric's settings are taken to be what they were then: each drawing
// function owns its quadric and sets it up the same way before every sphere.
void drawSphere(GLUquadric* quadric, double radius, int slices, int stacks);

// Off, every sphere is built by GLU again as it is drawn; for comparing pixels and times. Either
// way every list compiled so far is deleted.
void setSphereCaching(bool on);
int cachedSphereCount();

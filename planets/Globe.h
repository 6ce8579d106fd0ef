// Textured globes: a planet's radius by its health, and the drawing that planets and gauges share.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "math/Vector3.h"

// In proportion to health, fullRadius at fullHealth; never below 0, nor NaN.
float radiusForHealth(int health, int fullHealth, float fullRadius);

// Texture on and bound for the quadric, then a pushed identity matrix moved to the centre and turned
// angle degrees about axis. The caller draws, then disables the texture and pops the matrix.
void placeGlobe(GLUquadric* quadric, GLuint texture, Vector3 centre, float angle, Vector3 axis);

// A gauge's solid globe on the overlay, turned about (1, 1, 1); white sets an opaque white colour first.
void drawGaugeGlobe(GLUquadric* quadric, GLuint texture, Vector3 centre, float angle, float radius,
                    bool white);
// A gauge's half-transparent globe of full size, GaugeRadius.
void drawGaugeShell(GLUquadric* quadric, GLuint texture, Vector3 centre, float angle, Vector3 axis);

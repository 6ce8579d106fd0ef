// Shared GL state: the drawing functions' quadrics, the shared textures and the camera of the frame.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "math/Frame.h"
#include "render/ViewVolume.h"

// Each drawing function that uses a sphere or cylinder has a quadric of its own.
extern GLUquadric* const planetQuadric;
extern GLUquadric* const atmosphereQuadric;
extern GLUquadric* const planetMeterQuadric;
extern GLUquadric* const planetMeterShellQuadric;
extern GLUquadric* const beamQuadric;
extern GLUquadric* const shipMeterQuadric;
extern GLUquadric* const shipMeterShellQuadric;

// Shared textures, 0 until first loaded; a failed load leaves the name set so it is not retried.
extern GLuint moonTexture;
extern GLuint particleNormalTexture;
extern GLuint particleCircleTexture;
extern GLuint smokeTrailTexture;

// Where the camera stood for the frame being drawn; particles turn their faces toward it.
extern Frame cameraFrame;

// What that camera can see; objects wholly outside it leave their triangles out.
extern ViewVolume cameraView;

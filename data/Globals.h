// Program-wide constant tables and shared GL resources, built before main runs.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>

#include "data/Constants.h"
#include "math/Frame.h"
#include "math/Vector3.h"
#include "render/ViewVolume.h"

constexpr int PlayerCount = 8;

// Smoke trail colour ramp, red, green, blue.
extern const Vector3 flameBlue;
extern const Vector3 flameRed;
extern const Vector3 flameOrange;
extern const Vector3 smokeGrey;
extern const Vector3 smokeDark;

extern const char* const planetTextureNames[PlayerCount];

extern const SDL_Color textColour;
extern SDL_Rect scorePosition;  // width and height take the size of the last score drawn

// red, green, blue, alpha; index = player number
extern const float playerColours[PlayerCount][4];

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

// The camera's lens: vertical angle of view in degrees, width over height, near and far planes.
constexpr double CameraFieldOfView = 60.0;
constexpr double CameraAspect = 4.0 / 3.0;
constexpr double CameraNear = 0.1;
constexpr double CameraFar = 30000.0;

// What that camera can see; objects wholly outside it leave their triangles out.
extern ViewVolume cameraView;

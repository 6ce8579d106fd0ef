// Definitions of every program-wide object, in one file so that their construction order is fixed:
// colours, quadrics and planet names first, then the explosion list, the camera frame, the ships
// and the pilots. Static objects are destroyed in the reverse order at exit.
#include "data/Globals.h"

#include <list>

#include "ai/ShipAI.h"
#include "effects/Explosion.h"
#include "ships/Ship.h"

const Vector3 flameBlue(0.3f, 0.5f, 1.0f);
const Vector3 flameRed(1.0f, 0.3f, 0.1f);
const Vector3 flameOrange(1.0f, 0.6f, 0.0f);
const Vector3 smokeGrey(0.3f, 0.3f, 0.3f);
const Vector3 smokeDark(0.1f, 0.1f, 0.1f);

// GLU builds quadric objects without a GL context, so they can exist before the window does.
GLUquadric* const planetQuadric = gluNewQuadric();
GLUquadric* const atmosphereQuadric = gluNewQuadric();
GLUquadric* const planetMeterQuadric = gluNewQuadric();
GLUquadric* const planetMeterShellQuadric = gluNewQuadric();
GLUquadric* const beamQuadric = gluNewQuadric();
GLUquadric* const shipMeterQuadric = gluNewQuadric();
GLUquadric* const shipMeterShellQuadric = gluNewQuadric();

// index = player number, and so the home planet of that player
const char* const planetTextureNames[PlayerCount] = {
    "images/map-earth.jpg",   "images/map-mercury.jpg", "images/map-venus.jpg",  "images/map-mars.jpg",
    "images/map-jupiter.jpg", "images/map-saturn.jpg",  "images/map-uranus.jpg", "images/map-neptune.jpg",
};

const SDL_Color textColour = {255, 255, 255, 0};
SDL_Rect scorePosition = {30, 539, 0, 0};

// red, green, blue, alpha; index = player number
const float playerColours[PlayerCount][4] = {
    {0.7f, 0.7f, 0.7f, 1.0f},
    {0.8f, 0.2f, 0.2f, 1.0f},
    {0.2f, 0.2f, 0.8f, 1.0f},
    {0.8f, 0.4f, 0.0f, 1.0f},
    {0.0f, 0.8f, 0.2f, 1.0f},
    {0.8f, 0.8f, 0.2f, 1.0f},
    {0.7f, 0.3f, 0.7f, 1.0f},
    {0.4f, 0.2f, 0.08f, 1.0f},
};

GLuint moonTexture = 0;
GLuint particleNormalTexture = 0;
GLuint particleCircleTexture = 0;
GLuint smokeTrailTexture = 0;

std::list<std::unique_ptr<Explosion>> explosions;
Frame cameraFrame;
ViewVolume cameraView(CameraFieldOfView, CameraAspect, CameraNear, CameraFar);
Ship ShipTable[PlayerCount];
ShipAI ShipAITable[PlayerCount];

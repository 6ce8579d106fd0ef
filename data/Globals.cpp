// The program-wide objects that are constructed before main runs, in one file so that their order is
// fixed: the quadrics, then the explosion list, the camera, the ships and the pilots. They are destroyed
// in the reverse order at exit. The constants of data/Constants.h and the plain names and pointers
// elsewhere need no construction.
#include "data/Globals.h"

#include <list>
#include <memory>

#include "ai/ShipAI.h"
#include "data/Constants.h"
#include "effects/Explosion.h"
#include "ships/Ship.h"

// GLU builds quadric objects without a GL context, so they can exist before the window does.
GLUquadric* const planetQuadric = gluNewQuadric();
GLUquadric* const atmosphereQuadric = gluNewQuadric();
GLUquadric* const planetMeterQuadric = gluNewQuadric();
GLUquadric* const planetMeterShellQuadric = gluNewQuadric();
GLUquadric* const beamQuadric = gluNewQuadric();
GLUquadric* const shipMeterQuadric = gluNewQuadric();
GLUquadric* const shipMeterShellQuadric = gluNewQuadric();

GLuint moonTexture = 0;
GLuint particleNormalTexture = 0;
GLuint particleCircleTexture = 0;
GLuint smokeTrailTexture = 0;

std::list<std::unique_ptr<Explosion>> explosions;
Frame cameraFrame;
ViewVolume cameraView(CameraFieldOfView, CameraAspect, CameraNear, CameraFar);
Ship ShipTable[PlayerCount];
ShipAI ShipAITable[PlayerCount];

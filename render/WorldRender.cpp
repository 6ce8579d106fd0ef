// One frame of the scene: chase camera, star sphere, opaque and translucent passes, then the overlay.
#include <GL/gl.h>
#include <GL/glu.h>

#include "data/Constants.h"
#include "data/Globals.h"
#include "effects/Explosion.h"
#include "ships/Ship.h"
#include "world/World.h"

void World::render() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    placeCamera();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawStars();
    drawOpaquePass();
    drawTranslucentPass();
    drawHud();
    cameraView.forgetEye();
}

void World::placeCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(CameraFieldOfView, CameraAspect, CameraNear, CameraFar);
    Frame eye = ShipTable[0].frame;
    eye.multiply(Frame(cameraOffset));
    cameraFrame = eye;
    cameraView.setEye(eye);
    // The view goes onto the projection matrix, so the model-view holds world coordinates and the
    // ships' lights are placed in world space.
    eye.invert();
    eye.applyGL();
}

void World::drawStars() {
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, starTexture);
    gluQuadricTexture(quadric, GL_TRUE);

    glPushMatrix();
    glLoadIdentity();
    Vector3 centre = ShipTable[0].frame.origin;
    glTranslatef(centre.x, centre.y, centre.z);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glScalef(SkyRepeats, SkyRepeats, 1);
    glMatrixMode(GL_MODELVIEW);
    gluSphere(quadric, 5000.0, SphereDetail, SphereDetail);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    glDisable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glClear(GL_DEPTH_BUFFER_BIT); // the sky never hides anything drawn after it
}

void World::drawOpaquePass() {
    for (Ship& ship : ShipTable)
        ship.draw();
    for (Planet& planet : planets)
        planet.draw();
    for (Reward& reward : rewards)
        reward.draw();
    for (const auto& explosion : explosions)
        explosion->draw();
}

void World::drawTranslucentPass() {
    for (Ship& ship : ShipTable)
        ship.drawTranslucent();
    for (const auto& explosion : explosions)
        explosion->drawTranslucent();
    for (Planet& planet : planets)
        planet.drawTranslucent();
    for (Reward& reward : rewards)
        reward.drawTranslucent();
}

void World::drawHud() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, ScreenWidth, 0, ScreenHeight, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);

    Ship& ship = ShipTable[0];
    ship.drawHealthMeter();
    planets[0].drawHealthMeter();
    ship.drawHealthMeterTranslucent();
    planets[0].drawHealthMeterTranslucent();
    font.drawHudText(ship.respawnTimer, ship.score);

    glPopMatrix();
    glEnable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

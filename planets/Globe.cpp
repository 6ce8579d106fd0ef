// Globes sized by health and drawn textured, for the planets and the heads-up gauges.
#include "planets/Globe.h"

#include "data/Constants.h"

float radiusForHealth(int health, int fullHealth, float fullRadius) {
    float r = static_cast<float>(health) / fullHealth * fullRadius;
    return r > 0 ? r : 0; // also catches NaN
}

void placeGlobe(GLUquadric* quadric, GLuint texture, Vector3 centre, float angle, Vector3 axis) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluQuadricTexture(quadric, GL_TRUE);
    glPushMatrix();
    glLoadIdentity(); // the camera lives in the projection matrix
    glTranslatef(centre.x, centre.y, centre.z);
    glRotatef(angle, axis.x, axis.y, axis.z);
}

void drawGaugeGlobe(GLUquadric* quadric, GLuint texture, Vector3 centre, float angle, float radius,
                    bool white) {
    placeGlobe(quadric, texture, centre, angle, Vector3(1, 1, 1));
    if (white) glColor4f(1, 1, 1, 1);
    gluSphere(quadric, radius, SphereDetail, SphereDetail);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void drawGaugeShell(GLUquadric* quadric, GLuint texture, Vector3 centre, float angle, Vector3 axis) {
    placeGlobe(quadric, texture, centre, angle, axis);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 0.5f);
    gluSphere(quadric, GaugeRadius, SphereDetail, SphereDetail);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

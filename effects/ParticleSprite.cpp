// Camera-facing particle triangles shared by explosions and smoke trails.
#include "effects/ParticleSprite.h"

void beginParticleSprites(GLuint texture) {
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE); // additive, so overlapping particles glow
    glBegin(GL_TRIANGLES);
}

void emitParticleSprite(const Frame& camera, Vector3 position, float s) {
    Vector3 a = camera.transform(Vector3(0, 0.666666f * s, 0), false);
    Vector3 b = camera.transform(Vector3(0.5f * s, -0.333333f * s, 0), false);
    Vector3 c = camera.transform(Vector3(-0.5f * s, -0.333333f * s, 0), false);
    a.add(position);
    b.add(position);
    c.add(position);
    glTexCoord2f(SpriteTexCorners[0].u, SpriteTexCorners[0].v);
    glVertex3f(a.x, a.y, a.z);
    glTexCoord2f(SpriteTexCorners[1].u, SpriteTexCorners[1].v);
    glVertex3f(b.x, b.y, b.z);
    glTexCoord2f(SpriteTexCorners[2].u, SpriteTexCorners[2].v);
    glVertex3f(c.x, c.y, c.z);
}

void endParticleSprites() {
    glEnd();
    static const GLfloat white[4] = {1, 1, 1, 1};
    glColor4fv(white);
    glEnable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    glPopMatrix();
}

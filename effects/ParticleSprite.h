// The camera-facing additive triangles that explosions and smoke trails are drawn with.
#pragma once

#include <GL/gl.h>

#include "math/Frame.h"
#include "math/Vector3.h"

// A corner of a sprite's triangle in its texture.
struct SpriteCorner {
    float u, v;
};
// The triangle's texture corners: apex, right, left. The image generator paints every sprite to fade out
// inside the circle that fits them, so that the triangle's edges never show.
inline constexpr SpriteCorner SpriteTexCorners[3] = {{0.5f, 0}, {1, 1}, {0, 1}};

// Pushes an identity model-view (particles are in world coordinates; the camera is in the projection),
// binds the texture and switches to additive, unlit, depth-read-only drawing, then opens a triangle batch.
void beginParticleSprites(GLuint texture);
// One triangle upright in the camera's view, apex up, its centroid on the position.
void emitParticleSprite(const Frame& camera, Vector3 position, float size);
// Closes the batch and restores the state every pass expects.
void endParticleSprites();

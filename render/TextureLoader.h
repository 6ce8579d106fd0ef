// Images from files under images/ become mipmapped GL textures; and the title screen shown at start-up.
#pragma once

#include <GL/gl.h>

enum TextureKind { Jpeg, TgaWithAlpha };

// Fills an already generated texture name; prints one line and leaves it empty when the file fails.
void loadTexture(const char* path, TextureKind kind, GLuint name);
// Generates a name when *name is 0 and loads into it; later calls with the same name do nothing.
void loadSharedTexture(GLuint& name, const char* path, TextureKind kind);
void showTitleScreen();

// Images from files under images/ become mipmapped GL textures; and the title screen shown at start-up.
#pragma once

#include <GL/gl.h>
#include <SDL/SDL.h>

enum TextureKind { Jpeg, TgaWithAlpha };

// Larger images are refused before they are decoded: a header of a few bytes can claim gigabytes.
constexpr int MaxTextureSide = 8192;

// Decodes with the kind's own decoder into the layout GL is told (R, G, B for JPEG; B, G, R, A for
// TGA; rows padded to 4 bytes). Null, with the reason in SDL_GetError, for a file that cannot be
// decoded, is empty or is larger than MaxTextureSide on a side. Needs no GL context.
SDL_Surface* decodeTexture(SDL_RWops* file, TextureKind kind);

// Fills an already generated texture name; prints one line and leaves it empty when the file fails.
void loadTexture(const char* path, TextureKind kind, GLuint name);
// Generates a name when *name is 0 and loads into it; later calls with the same name do nothing.
void loadSharedTexture(GLuint& name, const char* path, TextureKind kind);
void showTitleScreen();

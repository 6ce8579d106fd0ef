// Image files to mipmapped GL textures through SDL_image's kind-specific decoders; the title screen.
#include "render/TextureLoader.h"

#include <GL/glu.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdio>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

namespace {

// Byte order in memory on a little-endian machine: R, G, B for JPEG and B, G, R, A for TGA.
SDL_Surface* matchingLayout(SDL_Surface* surface, TextureKind kind) {
    const bool alpha = kind == TgaWithAlpha;
    const Uint32 r = alpha ? 0x00FF0000 : 0x000000FF, g = 0x0000FF00, b = alpha ? 0x000000FF : 0x00FF0000;
    const Uint32 a = alpha ? 0xFF000000 : 0;
    const int bytes = alpha ? 4 : 3;
    SDL_PixelFormat* f = surface->format;
    if (f->BytesPerPixel == bytes && !f->palette && f->Rmask == r && f->Gmask == g && f->Bmask == b &&
        (!alpha || f->Amask == a) && surface->pitch == ((surface->w * bytes + 3) & ~3)) {
        surface->refcount++; // the caller frees one reference either way
        return surface;
    }
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, bytes * 8, r, g, b, a);
    if (!target) return nullptr;
    SDL_Surface* result = SDL_ConvertSurface(surface, target->format, SDL_SWSURFACE);
    SDL_FreeSurface(target);
    return result;
}

} // namespace

void loadTexture(const char* path, TextureKind kind, GLuint name) {
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    SDL_Surface* surface = nullptr;
    if (file) surface = kind == Jpeg ? IMG_LoadJPG_RW(file) : IMG_LoadTGA_RW(file);
    if (file) SDL_RWclose(file);
    if (!surface) {
        printf("Error: could not load %s. Reason: %s. Ignoring...\n", path, SDL_GetError());
        return;
    }
    // GL is told 3 bytes a pixel (R, G, B) for JPEG and 4 (B, G, R, A) for TGA; a greyscale JPEG or a
    // 24-bit or paletted TGA decodes to another layout, so convert it rather than read past its end.
    SDL_Surface* converted = matchingLayout(surface, kind);
    SDL_FreeSurface(surface);
    surface = converted;
    if (!surface) {
        printf("Error: could not load %s. Reason: %s. Ignoring...\n", path, SDL_GetError());
        return;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    if (kind == Jpeg)
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, surface->w, surface->h, GL_RGB, GL_UNSIGNED_BYTE, surface->pixels);
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, surface->w, surface->h, GL_BGRA, GL_UNSIGNED_BYTE,
                          surface->pixels);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    SDL_FreeSurface(surface);
}

void loadSharedTexture(GLuint& name, const char* path, TextureKind kind) {
    if (name != 0) return;
    glGenTextures(1, &name);
    loadTexture(path, kind, name);
}

void showTitleScreen() {
    GLuint title = 0;
    glGenTextures(1, &title);
    loadTexture("images/titlescreen.jpg", Jpeg, title);
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, title);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    if (width == 0) return; // nothing loaded: no quad, no swap

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor3f(1, 1, 1);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 1);
    glVertex3f(-1, -1, 1);
    glTexCoord2f(1, 1);
    glVertex3f(1, -1, 1);
    glTexCoord2f(1, 0);
    glVertex3f(1, 1, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-1, 1, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    SDL_GL_SwapBuffers();
}

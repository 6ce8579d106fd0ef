// Image files to mipmapped GL textures through SDL_image's kind-specific decoders; the title screen.
#include "render/TextureLoader.h"

#include <GL/glu.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdio>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

void loadTexture(const char* path, TextureKind kind, GLuint name) {
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    SDL_Surface* surface = nullptr;
    if (file) surface = kind == Jpeg ? IMG_LoadJPG_RW(file) : IMG_LoadTGA_RW(file);
    if (file) SDL_RWclose(file);
    if (!surface) {
        printf("Error: could not load %s. Reason: %s. Ignoring...\n", path, SDL_GetError());
        return;
    }
    // The decoder's pixel layout must match what GL is told, or a damaged or unusual file would be
    // read past its end; such a file is reported like a missing one.
    int bytes = surface->format->BytesPerPixel;
    if ((kind == Jpeg && bytes != 3) || (kind == TgaWithAlpha && bytes != 4) || surface->w <= 0 ||
        surface->h <= 0 || surface->pitch != ((surface->w * bytes + 3) & ~3)) {
        printf("Error: could not load %s. Reason: %s. Ignoring...\n", path, "unsupported pixel layout");
        SDL_FreeSurface(surface);
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

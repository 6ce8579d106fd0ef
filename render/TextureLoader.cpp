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

// Width and height from a TGA header: little-endian at bytes 12 and 14.
bool tgaSize(SDL_RWops* file, int& w, int& h) {
    Uint8 header[18];
    if (SDL_RWread(file, header, sizeof header, 1) != 1) return false;
    w = header[12] | header[13] << 8;
    h = header[14] | header[15] << 8;
    return true;
}

// Walks the markers as libjpeg does, skipping stray and fill bytes, up to the first frame header.
bool jpegSize(SDL_RWops* file, int& w, int& h) {
    auto next = [file](int& byte) {
        Uint8 c = 0;
        if (SDL_RWread(file, &c, 1, 1) != 1) return false;
        byte = c;
        return true;
    };
    int first = 0, second = 0;
    if (!next(first) || !next(second) || first != 0xFF || second != 0xD8) return false;
    for (;;) {
        int marker = 0;
        do
            if (!next(marker)) return false;
        while (marker != 0xFF);
        do
            if (!next(marker)) return false;
        while (marker == 0xFF);
        // Markers without a length: a stuffed zero, TEM, another SOI, the restarts.
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (marker == 0xD9 || marker == 0xDA) return false; // image data before any frame header
        Uint8 segment[7];                                   // length; a frame adds precision, height, width
        if (SDL_RWread(file, segment, 2, 1) != 1) return false;
        // SOF0 to SOF15, apart from DHT, JPG and DAC, which share their range.
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (SDL_RWread(file, segment + 2, 5, 1) != 1) return false;
            h = segment[3] << 8 | segment[4];
            w = segment[5] << 8 | segment[6];
            return true;
        }
        const int length = segment[0] << 8 | segment[1];
        if (length > 2 && SDL_RWseek(file, length - 2, RW_SEEK_CUR) < 0) return false;
    }
}

// The size the header claims, or false when there is no readable header (the decoder then says why).
bool headerSize(SDL_RWops* file, TextureKind kind, int& w, int& h) {
    const int start = SDL_RWtell(file);
    const bool found = kind == Jpeg ? jpegSize(file, w, h) : tgaSize(file, w, h);
    SDL_RWseek(file, start, RW_SEEK_SET);
    return found;
}

} // namespace

SDL_Surface* decodeTexture(SDL_RWops* file, TextureKind kind) {
    int w = 0, h = 0;
    if (headerSize(file, kind, w, h) && (w > MaxTextureSide || h > MaxTextureSide)) {
        SDL_SetError("%d x %d pixels is more than %d on a side", w, h, MaxTextureSide);
        return nullptr;
    }
    SDL_Surface* surface = kind == Jpeg ? IMG_LoadJPG_RW(file) : IMG_LoadTGA_RW(file);
    if (!surface) return nullptr;
    // A TGA header may give a side of 0; GL would then quietly build no texture at all.
    if (surface->w == 0 || surface->h == 0) {
        SDL_FreeSurface(surface);
        SDL_SetError("the image has no pixels");
        return nullptr;
    }
    // GL is told 3 bytes a pixel (R, G, B) for JPEG and 4 (B, G, R, A) for TGA; a greyscale JPEG or a
    // 24-bit or paletted TGA decodes to another layout, so convert it rather than read past its end.
    SDL_Surface* converted = matchingLayout(surface, kind);
    SDL_FreeSurface(surface);
    return converted;
}

void loadTexture(const char* path, TextureKind kind, GLuint name) {
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    SDL_Surface* surface = file ? decodeTexture(file, kind) : nullptr;
    if (file) SDL_RWclose(file);
    if (!surface) {
        printf("Error: could not load %s. Reason: %s. Ignoring...\n", path, SDL_GetError());
        return;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    if (kind == Jpeg)
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, surface->w, surface->h, GL_RGB, GL_UNSIGNED_BYTE,
                          surface->pixels);
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

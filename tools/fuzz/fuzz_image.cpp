// libFuzzer harness: any bytes through the texture decoder and layout conversion, as JPEG and as TGA.
#include <SDL/SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "render/TextureLoader.h"

namespace {

// Everything GL is handed for the upload: h rows of w pixels, each row starting on a 4-byte boundary.
// Reading it here lets AddressSanitizer see a surface that is shorter than the texture it claims.
unsigned readAsGlWould(const SDL_Surface* s, int bytesPerPixel) {
    const Uint8* pixels = static_cast<const Uint8*>(s->pixels);
    unsigned sum = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w * bytesPerPixel; ++x)
            sum += pixels[y * ((s->w * bytesPerPixel + 3) & ~3) + x];
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (TextureKind kind : {Jpeg, TgaWithAlpha}) {
        SDL_RWops* file = SDL_RWFromConstMem(data, static_cast<int>(size));
        if (!file) return 0; // no stream over zero bytes
        SDL_Surface* s = decodeTexture(file, kind);
        SDL_RWclose(file);
        if (!s) continue;
        const int bytes = kind == Jpeg ? 3 : 4;
        if (s->w < 1 || s->h < 1 || s->w > MaxTextureSide || s->h > MaxTextureSide || !s->pixels ||
            s->format->BytesPerPixel != bytes || s->pitch != ((s->w * bytes + 3) & ~3)) {
            fprintf(stderr, "decoded %d x %d with %d bytes a pixel and pitch %d: not what GL is told\n", s->w,
                    s->h, s->format->BytesPerPixel, s->pitch);
            abort();
        }
        volatile unsigned sink = readAsGlWould(s, bytes);
        (void)sink;
        SDL_FreeSurface(s);
    }
    return 0;
}

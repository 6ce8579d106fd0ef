// Text masks from SDL_ttf, their blur and their painting.
#include "tools/images/TextMask.h"

Mask renderText(TTF_Font* font, const char* text, int margin) {
    Mask m;
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* s = font ? TTF_RenderText_Blended(font, text, white) : nullptr;
    if (!s) return m;
    m.w = s->w + 2 * margin;
    m.h = s->h + 2 * margin;
    m.a.assign(size_t(m.w) * m.h, 0.0f);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            Uint32 pixel = *(Uint32*)((Uint8*)s->pixels + y * s->pitch + x * 4);
            Uint8 r, g, b, alpha;
            SDL_GetRGBA(pixel, s->format, &r, &g, &b, &alpha);
            m.a[size_t(y + margin) * m.w + x + margin] = alpha / 255.0f;
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return m;
}

Mask blurred(const Mask& m, int radius) {
    Mask out = m, tmp = m;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += out.at(x + k, y);
                tmp.a[size_t(y) * m.w + x] = s / (2 * radius + 1);
            }
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += tmp.at(x, y + k);
                out.a[size_t(y) * m.w + x] = s / (2 * radius + 1);
            }
    }
    return out;
}

void paintMask(Image& canvas, const Mask& m, int left, int top, float opacity, Blend blend,
               const std::function<Colour(float fx, float fy)>& colour) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            int cx = left + x, cy = top + y;
            float a = clamp01(m.at(x, y) * opacity);
            if (a <= 0 || cx < 0 || cy < 0 || cx >= canvas.width() || cy >= canvas.height()) continue;
            Colour c = colour(float(x) / m.w, float(y) / m.h);
            Colour& p = canvas.at(cx, cy);
            p = blend == Blend::Add ? p + c * a : mix(p, c, a);
        }
}

// The title illustration: the scene, then the name, the byline and the loading line over it.
#include "tools/images/TitleScreen.h"

#include <cmath>
#include <cstdio>

#include "data/Constants.h"
#include "tools/images/PlanetMaps.h"
#include "tools/images/Scenery.h"
#include "tools/images/StarField.h"

bool renderTitleText(const std::string& fontDir, const std::string& fallbackFont, TitleText& text) {
    auto open = [&](const char* file, int size) {
        TTF_Font* f = TTF_OpenFont((fontDir + "/" + file).c_str(), size);
        return f ? f : TTF_OpenFont(fallbackFont.c_str(), size);
    };
    TTF_Font* big = open("LiberationSans-Bold.ttf", 118);
    TTF_Font* sub = open("LiberationSans-BoldItalic.ttf", 36);
    TTF_Font* small = open("LiberationSans-Regular.ttf", 22);
    bool ok = big && sub && small;
    if (ok) {
        text.title = renderText(big, "GRAVIMEL", text.titleMargin);
        text.byline = renderText(sub, "by Pellworth", 12);
        text.loading = renderText(small, "Loading...", 8);
        ok = text.title.w > 0 && text.byline.w > 0 && text.loading.w > 0;
    }
    if (!ok) std::printf("Error: could not render the title text: %s\n", TTF_GetError());
    for (TTF_Font* f : {big, sub, small})
        if (f) TTF_CloseFont(f);
    return ok;
}

bool paintTitle(const std::string& path, const TitleText& text) {
    const int w = ScreenWidth, h = ScreenHeight; // shown over the whole window
    StarField field;
    field.nebula = 1.6f;
    Image canvas = paintStars(w, h, 1301, field);

    Vec3f light{-0.75f, 0.45f, 0.5f};
    auto saturn = mapSurface("saturn", 512);
    drawRings(canvas, 688, 300, 60, -0.35f, 0.28f, false, light);
    drawPlanet(canvas, saturn, 688, 300, 60, 0.3f, -0.35f, 0.25f, light, {0.55f, 0.50f, 0.35f});
    drawRings(canvas, 688, 300, 60, -0.35f, 0.28f, true, light);
    drawPlanet(canvas, mapSurface("moon", 256), 560, 236, 13, 0.8f, 0.0f, 0.0f, light, {0.2f, 0.2f, 0.2f});
    drawPlanet(canvas, mapSurface("mars", 512), 108, 250, 36, 2.2f, 0.2f, 0.2f, light, {0.7f, 0.35f, 0.2f});
    drawPlanet(canvas, earthSurface, 250, 905, 520, 2.7f, 0.25f, 0.65f, {-0.4f, 0.7f, 0.55f},
               {0.30f, 0.55f, 1.0f});

    // A red fighter has just shot down a green one; another green fighter comes in firing.
    const Colour red{0.8f, 0.2f, 0.2f}, green{0.0f, 0.8f, 0.2f};
    Vec3f redHeading{210, -42, 0}, greenHeading{-490, -120, 0};
    fireLasers(canvas, 232, 348, 23, redHeading, 150, red);
    drawExplosion(canvas, 470, 300, 17, 1302);
    fireLasers(canvas, 742, 478, 19, greenHeading, 140, green);
    drawShip(canvas, 232, 348, 23, redHeading, red);
    drawShip(canvas, 742, 478, 19, greenHeading, green);

    const Mask& title = text.title;
    const int margin = text.titleMargin;
    int tx = (w - title.w) / 2, ty = 46;
    Mask shadow = blurred(title, 4), glow = blurred(title, 12), outline = blurred(title, 2);
    paintMask(canvas, glow, tx, ty, 1.3f, Blend::Add, [](float, float) {
        return Colour{1.0f, 0.42f, 0.08f};
    });
    paintMask(canvas, shadow, tx + 6, ty + 8, 1.2f, Blend::Over, [](float, float) {
        return Colour{0, 0, 0};
    });
    paintMask(canvas, outline, tx, ty, 3.0f, Blend::Over, [](float, float) {
        return Colour{0.18f, 0.04f, 0.0f};
    });
    // The glyphs fill only the middle of the rendered box; the fill's gradient spans the letters themselves.
    paintMask(canvas, title, tx, ty, 1.0f, Blend::Over, [&](float, float fy) {
        float t = clamp01((fy * title.h - margin - 0.2f * (title.h - 2 * margin)) /
                          (0.62f * (title.h - 2 * margin)));
        Colour c = mix(Colour{1.0f, 0.97f, 0.74f}, Colour{1.0f, 0.64f, 0.12f}, smoothstep(0.0f, 0.5f, t));
        c = mix(c, Colour{0.80f, 0.16f, 0.04f}, smoothstep(0.5f, 1.0f, t));
        return c + Colour{0.25f, 0.25f, 0.2f} * std::exp(-std::pow((t - 0.47f) / 0.04f, 2.0f));
    });

    const Mask& by = text.byline;
    int bx = (w - by.w) / 2, byTop = 178;
    paintMask(canvas, blurred(by, 6), bx, byTop, 1.2f, Blend::Add, [](float, float) {
        return Colour{0.2f, 0.45f, 1.0f};
    });
    paintMask(canvas, blurred(by, 2), bx + 3, byTop + 4, 1.5f, Blend::Over, [](float, float) {
        return Colour{0, 0, 0};
    });
    paintMask(canvas, by, bx, byTop, 1.0f, Blend::Over, [](float, float fy) {
        return mix(Colour{1, 1, 1}, Colour{0.62f, 0.74f, 0.95f}, smoothstep(0.35f, 0.75f, fy));
    });

    const Mask& loading = text.loading;
    int lx = (w - loading.w) / 2, ly = 548;
    paintMask(canvas, blurred(loading, 3), lx + 2, ly + 2, 1.6f, Blend::Over, [](float, float) {
        return Colour{0, 0, 0};
    });
    paintMask(canvas, loading, lx, ly, 1.0f, Blend::Over, [](float, float) {
        return Colour{0.9f, 0.93f, 1.0f};
    });

    return canvas.writeJpeg(path, 92);
}

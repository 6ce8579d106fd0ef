// The desktop icon.
#include "tools/images/Icon.h"

#include <algorithm>
#include <cmath>

#include "tools/images/PlanetMaps.h"
#include "tools/images/Scenery.h"
#include "tools/images/StarField.h"

Image paintIcon(int size, int supersample) {
    const int s = size * supersample;
    const float f = float(s);
    StarField field;
    field.stars = s * s / 900;
    field.nebula = 1.4f;
    field.gasWidth = field.gasHeight = std::max(1, s / 2);
    Image canvas = paintStars(s, s, 1401, field);
    drawPlanet(canvas, earthSurface, 0.64f * f, 0.66f * f, 0.40f * f, 2.7f, 0.25f, 0.5f, {-0.5f, 0.6f, 0.6f},
               {0.30f, 0.55f, 1.0f});
    const Colour red{0.8f, 0.2f, 0.2f};
    const Vec3f heading{1.0f, 0.55f, 0};
    fireLasers(canvas, 0.26f * f, 0.30f * f, 0.13f * f, heading, 0.22f * f, red);
    drawShip(canvas, 0.26f * f, 0.30f * f, 0.13f * f, heading, red);

    // The rounded square, anti-aliased by the shrinking.
    const float corner = 0.2f * f, inset = 0.02f * f;
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            float dx = std::fmax(0.0f, std::fabs(x + 0.5f - f / 2) - (f / 2 - inset - corner));
            float dy = std::fmax(0.0f, std::fabs(y + 0.5f - f / 2) - (f / 2 - inset - corner));
            canvas.at(x, y).a = std::hypot(dx, dy) <= corner ? 1.0f : 0.0f;
        }
    return canvas.shrunk(supersample);
}

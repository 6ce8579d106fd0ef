// The painted pictures checked before they are written, so that a bad one fails the build.
#include "tools/images/ImageChecks.h"

#include <algorithm>
#include <cmath>

#include "effects/ParticleSprite.h"

namespace {

// Mean absolute difference over red, green and blue of two columns, or of two rows.
double lineStep(const Image& s, int a, int b, bool rows) {
    const int n = rows ? s.width() : s.height();
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const Colour &p = rows ? s.at(i, a) : s.at(a, i), &q = rows ? s.at(i, b) : s.at(b, i);
        sum += std::fabs(p.r - q.r) + std::fabs(p.g - q.g) + std::fabs(p.b - q.b);
    }
    return sum / (3 * n);
}

} // namespace

std::string seamProblem(const Image& image, bool rows) {
    const int last = (rows ? image.height() : image.width()) - 1;
    double typical = 0;
    for (int i = 0; i < last; ++i)
        typical += lineStep(image, i, i + 1, rows) / last;
    if (lineStep(image, last, 0, rows) <= 1.5 * typical + 1 / 255.0) return "";
    return rows ? "a seam from top to bottom" : "a seam from left to right";
}

std::string poleProblem(const Image& sky) {
    for (int y : {0, 1, sky.height() - 2, sky.height() - 1})
        for (int x = 0; x < sky.width(); ++x)
            if (const Colour& c = sky.at(x, y); std::max({c.r, c.g, c.b}) > 12 / 255.0f)
                return "light on the rows that meet at the poles";
    return "";
}

std::string spriteProblem(const Image& sprite) {
    const SpriteCorner apex = SpriteTexCorners[0], right = SpriteTexCorners[1];
    const int w = sprite.width(), h = sprite.height();
    float peak = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // The first row is at the apex's side (t = 0); the triangle widens to the base below it.
            const float u = (x + 0.5f) / w, t = (y + 0.5f) / h, alpha = sprite.at(x, y).a;
            const bool inside =
                std::fabs(u - apex.u) <= (t - apex.v) / (right.v - apex.v) * (right.u - apex.u);
            const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if ((!inside || border) && alpha * 255 >= 0.5f)
                return "light outside the triangle or on the border";
            peak = std::max(peak, alpha);
        }
    return peak * 255 >= 200 ? "" : "too faint";
}

// Rendered text as coverage masks, blurred for glows and shadows and painted onto a picture.
#pragma once

#include <SDL/SDL_ttf.h>

#include <functional>
#include <vector>

#include "tools/images/Image.h"

// Coverage of rendered text, 0 to 1 per pixel.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> a;

    float at(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : a[size_t(y) * w + x]; }
};

// Text is rendered with a margin round it so that blurred glows and shadows have room. An empty mask
// when the font cannot render it.
Mask renderText(TTF_Font* font, const char* text, int margin);

// Three box passes each way: close enough to a Gaussian for glows.
Mask blurred(const Mask& m, int radius);

enum class Blend { Over, Add };

// Paints the colour, a function of the place within the mask (0 to 1 across and down), through the mask.
void paintMask(Image& canvas, const Mask& m, int left, int top, float opacity, Blend blend,
               const std::function<Colour(float fx, float fy)>& colour);

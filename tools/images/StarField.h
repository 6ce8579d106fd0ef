// Star fields: dark space with faint nebulae and stars of every brightness, for the sky, the title and
// the icon.
#pragma once

#include <cstdint>

#include "tools/images/Image.h"

// How a star field is laid out. The defaults paint a flat picture.
struct StarField {
    int stars = 1400;
    float nebula = 1.0f; // strength of the coloured gas
    int gasWidth = 340;  // pixels per repeat of the gas's coarsest features, across and down
    int gasHeight = 340;
    // Shares of the height at the top and at the bottom over which the gas and the stars fade out.
    float gasMargin = 0, starMargin = 0;
};

// Everything wraps at the edges, because the game repeats the sky's picture round the sky and from pole
// to pole.
Image paintStars(int w, int h, uint32_t seed, const StarField& field);

// The sky sphere's picture.
Image paintSky();

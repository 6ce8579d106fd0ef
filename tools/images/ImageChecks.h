// What a painted picture must be before it ships; each check gives what is wrong, or nothing.
#pragma once

#include <string>

#include "tools/images/Image.h"

// Tiling art: the step across the wrap-round edge, left to right (or, with `rows`, top to bottom), no
// sharper than between neighbouring lines elsewhere, or the game shows a seam where the picture repeats.
std::string seamProblem(const Image& image, bool rows);
// The sky: the top and bottom rows each meet in one point at a pole, where a star or a cloud would be
// drawn out into rays, so they stay plain dark sky.
std::string poleProblem(const Image& sky);
// A particle sprite: no light outside the triangle it is drawn on, whose edges would cut it off, nor on
// the picture's border, which bleeds when mipmapped; and bright enough at its heart to be seen.
std::string spriteProblem(const Image& sprite);

// The game's one source of chance: draws of 0 to 32767 from the C library's shared generator.
#pragma once

#include <cstdlib>

constexpr int RandomMax = 32767;

// The C library's rand gives 31 bits here; every draw, whether divided by RandomMax or taken modulo a
// small range, uses the same low 15 bits, so remainders have the odds of a 15-bit draw. The World seeds
// the generator once with srand; nothing else draws from it.
inline int randomDraw() { return rand() & RandomMax; }
static_assert((RandomMax & (RandomMax + 1)) == 0, "RandomMax masks whole low bits");

// The particle sprites: the explosions' fireball and ring, and the smoke trail's puff.
#pragma once

#include "tools/images/Image.h"

Image paintFireSprite(int size);
Image paintRingSprite(int size);
Image paintSmokeSprite(int size);

// The desktop icon: planet 0's blue and green world in a rounded square of space, and a red fighter
// firing at it.
#pragma once

#include "tools/images/Image.h"

// Painted at supersample times its size and shrunk, so that its small versions stay smooth.
Image paintIcon(int size, int supersample);

// Longitude/latitude surface maps of the eight home planets and of the moon the ship's health globe wears.
#pragma once

#include <string>
#include <vector>

#include "tools/images/Image.h"

// "earth", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", then "moon".
const std::vector<std::string>& planetMapNames();

// Row 0 is one pole and the last row the other; column 0 meets the last column without a seam, because
// every texel is sampled from noise on the sphere. An unknown name gives a black map.
Image paintPlanetMap(const std::string& name, int width, int height);

// The earth's colour at one point, latitude and longitude in radians, for close views sharper than a map.
Colour earthSurface(float lat, float lon);

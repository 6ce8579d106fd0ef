// What the title illustration and the icon are painted with: lit planets and their rings, fighters in
// the players' colours, their laser bolts and a ship's explosion.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/images/Image.h"
#include "tools/support/Vec3.h"

// A surface colour at a latitude and longitude, in radians.
using Surface = std::function<Colour(float lat, float lon)>;

// A lit globe, with a thin atmosphere glowing on its day side. Its axis is rolled by tilt in the
// picture's plane and pitched toward the viewer by nod.
void drawPlanet(Image& canvas, const Surface& surface, float cx, float cy, float r, float spin, float tilt,
                float nod, Vec3f light, Colour atmosphere);

// The surface of one of the planet maps (see PlanetMaps.h), painted at the given width.
Surface mapSurface(const std::string& name, int width);

// Rings seen at a slant; the far half is drawn before the globe and the near half after it.
void drawRings(Image& canvas, float cx, float cy, float r, float angle, float squash, bool nearHalf,
               Vec3f light);

// A ship breaking up: a hot flash and a spray of embers.
void drawExplosion(Image& canvas, float cx, float cy, float size, uint32_t seed);

// A fighter seen from above: swept wings in the player's colour, a canopy, and a glowing engine.
void drawShip(Image& canvas, float cx, float cy, float size, Vec3f heading, Colour colour);

// Twin bolts leave from beside the nose and fly along the heading.
void fireLasers(Image& canvas, float cx, float cy, float size, Vec3f heading, float length, Colour colour);

// Surfaces swept through rings of points: lofts and lathes, built into the current part of a MeshBuilder.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "tools/meshes/MeshBuilder.h"

using Ring = std::vector<Vec3>;

// Joins each ring to the next; every ring has the same number of points. A closed ring also joins its
// last point to its first. A tip fans the first or last ring into one point. Seen with the rings
// advancing away from the eye, a ring whose points turn clockwise faces outward.
void loft(MeshBuilder& mesh, const std::vector<Ring>& rings, bool closedRings,
          std::optional<Vec3> startTip = {}, std::optional<Vec3> endTip = {});

// A profile of (radius, height) points turned about an axis through origin: height runs along axis,
// radius starts out along across. The surface faces to the right of the profile as it is walked in the
// (radius, height) plane, so walking up the outside faces outward. A radius of 0 at either end is a tip.
void lathe(MeshBuilder& mesh, const std::vector<std::pair<double, double>>& profile, Vec3 origin, Vec3 axis,
           Vec3 across, int segments);

Vec3 centroid(const Ring& ring);

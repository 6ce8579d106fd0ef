// Surfaces swept through rings of points: lofts and lathes, built into the current part of a MeshBuilder.
#include "tools/meshes/Surfaces.h"

void loft(MeshBuilder& mesh, const std::vector<Ring>& rings, bool closedRings, std::optional<Vec3> startTip,
          std::optional<Vec3> endTip) {
    const int n = int(rings.front().size());
    const int edges = closedRings ? n : n - 1;
    std::vector<std::vector<int>> index;
    for (const Ring& ring : rings) {
        index.emplace_back();
        for (const Vec3& p : ring)
            index.back().push_back(mesh.vertex(p));
    }
    for (size_t i = 0; i + 1 < index.size(); ++i)
        for (int j = 0; j < edges; ++j) {
            const int k = (j + 1) % n;
            mesh.quad(index[i][j], index[i][k], index[i + 1][k], index[i + 1][j]);
        }
    if (startTip) {
        const int tip = mesh.vertex(*startTip);
        for (int j = 0; j < edges; ++j)
            mesh.triangle(tip, index.front()[(j + 1) % n], index.front()[j]);
    }
    if (endTip) {
        const int tip = mesh.vertex(*endTip);
        for (int j = 0; j < edges; ++j)
            mesh.triangle(index.back()[j], index.back()[(j + 1) % n], tip);
    }
}

void lathe(MeshBuilder& mesh, const std::vector<std::pair<double, double>>& profile, Vec3 origin, Vec3 axis,
           Vec3 across, int segments) {
    const Vec3 u = across.unit(), a = axis.unit(), v = a.cross(u);
    std::vector<Ring> rings;
    std::optional<Vec3> startTip, endTip;
    for (size_t i = 0; i < profile.size(); ++i) {
        const auto [r, h] = profile[i];
        const Vec3 centre = origin + a * h;
        if (r == 0 && i == 0)
            startTip = centre;
        else if (r == 0 && i + 1 == profile.size())
            endTip = centre;
        else {
            rings.emplace_back();
            for (int j = 0; j < segments; ++j) {
                const double t = 2 * Pi * j / segments;
                rings.back().push_back(centre + (u * std::cos(t) + v * std::sin(t)) * r);
            }
        }
    }
    loft(mesh, rings, true, startTip, endTip);
}

Vec3 centroid(const Ring& ring) {
    Vec3 sum;
    for (const Vec3& p : ring)
        sum = sum + p;
    return sum * (1.0 / ring.size());
}

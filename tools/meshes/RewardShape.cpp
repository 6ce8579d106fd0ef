// The power-up: a sixteen-fold brilliant-cut jewel, its facets in white and black, set in a gold band.
#include "tools/meshes/RewardShape.h"

#include <cmath>

#include "tools/meshes/Surfaces.h"

namespace {

// The crown's three runs, then the pavilion's.
enum Slot { CrownWhite, CrownGold, CrownBlack, PavilionWhite, PavilionGold, PavilionBlack };

constexpr int Folds = 16;
constexpr double Girdle = 0.47; // the jewel's radius; the band reaches 0.5
constexpr double TableY = 0.2966, CuletY = -0.2966;
constexpr double GirdleTop = 0.1366, GirdleBottom = 0.1166;
const Vec3 Inside = {0, 0.05, 0}; // any point within the (convex) jewel

Vec3 around(double radius, double angle, double y) {
    return {radius * std::cos(angle), y, radius * std::sin(angle)};
}

// One flat facet, split into steps x steps triangles and turned to face away from the jewel's inside.
void facet(MeshBuilder& mesh, Vec3 a, Vec3 b, Vec3 c, int steps) {
    if ((b - a).cross(c - a).dot(a - Inside) < 0) std::swap(b, c);
    auto at = [&](int i, int j) {
        return mesh.vertex(a + (b - a) * (double(i) / steps) + (c - a) * (double(j) / steps));
    };
    for (int i = 0; i < steps; ++i)
        for (int j = 0; i + j < steps; ++j) {
            mesh.triangle(at(i, j), at(i + 1, j), at(i, j + 1));
            if (i + j + 1 < steps) mesh.triangle(at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
        }
}

// Facets meet at a few degrees at least, so a tiny crease keeps every facet flat.
constexpr double FacetCrease = 1.0;

void addCrown(MeshBuilder& mesh) {
    const double step = 2 * Pi / Folds, half = step / 2;
    const double table = 0.55 * Girdle, star = 0.78 * Girdle;
    // Each kite is flat only if the midpoint of its two star points lies on the line from its table
    // corner down to its girdle corner.
    const double starY = TableY + (star * std::cos(half) - table) / (Girdle - table) * (GirdleTop - TableY);
    auto tableCorner = [&](int k) { return around(table, k * step, TableY); };
    auto starPoint = [&](int k) { return around(star, k * step + half, starY); };
    auto girdle = [&](double angle) { return around(Girdle, angle, GirdleTop); };

    mesh.beginPart(CrownWhite, FacetCrease);
    for (int k = 0; k < Folds; ++k) {
        facet(mesh, {0, TableY, 0}, tableCorner(k), tableCorner(k + 1), 5);
        facet(mesh, tableCorner(k), starPoint(k - 1), girdle(k * step), 4);
        facet(mesh, tableCorner(k), girdle(k * step), starPoint(k), 4);
    }
    mesh.endPart(Facing::AsBuilt);

    mesh.beginPart(CrownBlack, FacetCrease);
    for (int k = 0; k < Folds; ++k) {
        facet(mesh, tableCorner(k), tableCorner(k + 1), starPoint(k), 4);
        facet(mesh, starPoint(k), girdle(k * step), girdle(k * step + half), 4);
        facet(mesh, starPoint(k), girdle(k * step + half), girdle((k + 1) * step), 4);
    }
    mesh.endPart(Facing::AsBuilt);
}

void addPavilion(MeshBuilder& mesh) {
    const double step = 2 * Pi / Folds, half = step / 2;
    const double lower = 0.5 * Girdle;
    // The same flatness rule for the main facets, whose lines run from the girdle to the culet.
    const double lowerY = CuletY + lower * std::cos(half) / Girdle * (GirdleBottom - CuletY);
    const Vec3 culet = {0, CuletY, 0};
    auto lowerPoint = [&](int k) { return around(lower, k * step + half, lowerY); };
    auto girdle = [&](double angle) { return around(Girdle, angle, GirdleBottom); };

    mesh.beginPart(PavilionWhite, FacetCrease);
    for (int k = 0; k < Folds; ++k) {
        facet(mesh, girdle(k * step), lowerPoint(k - 1), culet, 5);
        facet(mesh, girdle(k * step), culet, lowerPoint(k), 5);
    }
    mesh.endPart(Facing::AsBuilt);

    mesh.beginPart(PavilionBlack, FacetCrease);
    for (int k = 0; k < Folds; ++k) {
        facet(mesh, girdle(k * step), girdle(k * step + half), lowerPoint(k), 5);
        facet(mesh, girdle(k * step + half), girdle((k + 1) * step), lowerPoint(k), 5);
    }
    mesh.endPart(Facing::AsBuilt);
}

// The band's section is a rounded rectangle, cut at mid-height on its walls so that each half of the
// jewel takes its own half of the band.
void addBand(MeshBuilder& mesh) {
    const double inner = 0.455, outer = 0.5, middle = (GirdleTop + GirdleBottom) / 2, halfHeight = 0.05;
    const double radius = 0.016;
    const int cornerSteps = 3, segments = 32;
    auto corner = [&](std::vector<std::pair<double, double>>& section, double r, double y, double from) {
        for (int i = 0; i <= cornerSteps; ++i) {
            const double a = from + Pi / 2 * i / cornerSteps;
            section.push_back({r + radius * std::cos(a), y + radius * std::sin(a)});
        }
    };
    const double top = middle + halfHeight - radius, bottom = middle - halfHeight + radius;
    // Walked counter-clockwise in the (radius, height) plane, so the band faces outward.
    std::vector<std::pair<double, double>> upper = {{outer, middle}};
    corner(upper, outer - radius, top, 0);
    corner(upper, inner + radius, top, Pi / 2);
    upper.push_back({inner, middle});
    std::vector<std::pair<double, double>> lowerHalf = {{inner, middle}};
    corner(lowerHalf, inner + radius, bottom, Pi);
    corner(lowerHalf, outer - radius, bottom, 3 * Pi / 2);
    lowerHalf.push_back({outer, middle});

    const Vec3 origin = {0, 0, 0}, up = {0, 1, 0}, across = {1, 0, 0};
    mesh.beginPart(CrownGold, 50);
    lathe(mesh, upper, origin, up, across, segments);
    mesh.endPart(Facing::AsBuilt);
    mesh.beginPart(PavilionGold, 50);
    lathe(mesh, lowerHalf, origin, up, across, segments);
    mesh.endPart(Facing::AsBuilt);
}

std::vector<MeshMaterial> rewardMaterials() {
    auto material = [](float r, float g, float b) {
        return MeshMaterial{{r, g, b}, {r, g, b}, {0.89f, 0.89f, 0.89f}, {0, 0, 0}, 1.0f, 128.0f, -1};
    };
    return {material(0.8f, 0.8f, 0.8f), material(0.780392f, 0.74902f, 0.580392f), material(0, 0, 0)};
}

} // namespace

ModelTables buildReward() {
    MeshBuilder mesh(rewardMaterials(), {0, 1, 2, 0, 1, 2});
    addCrown(mesh);
    addPavilion(mesh);
    addBand(mesh);
    return mesh.finish({0.5, 0.2966, 0.5}, false);
}

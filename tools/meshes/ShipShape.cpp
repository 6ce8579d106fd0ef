// The fighter: a lofted fuselage with a bubble canopy, swept wings with tip pods, twin fins and two engines.
#include "tools/meshes/ShipShape.h"

#include <algorithm>
#include <cmath>

#include "tools/meshes/Surfaces.h"

namespace {

// Shaped in units where the ship is 100 long, nose at y = +50 and top along +z; the builder then fits
// it to its model extent. Runs: hull, the glossy dark parts, trim.
enum Slot { Hull, Dark, Trim };

constexpr double NoseY = 50, TailT = 96; // t runs from the nose (0) back to the tail cone

double signedPower(double v, double p) { return v < 0 ? -std::pow(-v, p) : std::pow(v, p); }

struct Fuselage {
    Profile halfWidth{{{0, 0},
                       {2, 1.5},
                       {8, 3.1},
                       {16, 4.4},
                       {26, 5.4},
                       {40, 6.4},
                       {55, 7.4},
                       {70, 7.8},
                       {84, 6.6},
                       {96, 3.4}}};
    Profile top{{{0, 0},
                 {2, 0.9},
                 {8, 1.8},
                 {16, 2.4},
                 {26, 2.8},
                 {40, 3.1},
                 {55, 3.2},
                 {70, 3.0},
                 {84, 2.4},
                 {96, 1.3}}};
    Profile bottom{{{0, 0},
                    {2, 0.8},
                    {8, 1.5},
                    {16, 2.0},
                    {26, 2.4},
                    {40, 2.7},
                    {55, 2.9},
                    {70, 2.9},
                    {84, 2.5},
                    {96, 1.3}}};
    Profile centre{{{0, -0.7}, {12, -0.35}, {30, 0}, {96, 0}}}; // the nose droops a little
    double topPower = 2.4, bottomPower = 3.2;                   // the belly is flatter than the back

    Vec3 point(double t, double angle) const {
        const double c = std::cos(angle), s = std::sin(angle);
        const double h = s >= 0 ? top(t) : bottom(t);
        const double p = s >= 0 ? 2 / topPower : 2 / bottomPower;
        return {halfWidth(t) * signedPower(c, p), NoseY - t, centre(t) + h * signedPower(s, p)};
    }
    // Height of the upper surface at x, for things that sit on the back.
    double topAt(double x, double t) const {
        const double w = halfWidth(t), q = std::min(1.0, std::fabs(x) / w);
        return centre(t) + top(t) * std::pow(1 - std::pow(q, topPower), 1 / topPower);
    }
};

struct Wing {
    double rootX = 5.0, tipX = 32.0;
    // Leading and trailing edges by span s; the strake runs the leading edge far forward at the root.
    Profile leading{{{0, 16}, {0.07, 6}, {0.16, 1}, {1, -25}}};
    Profile trailing{{{0, -40}, {0.5, -38.5}, {1, -35.5}}};
    Profile thickness{{{0, 2.4}, {0.3, 1.6}, {1, 0.7}}};
    Profile middle{{{0, -0.3}, {1, 2.6}}}; // dihedral: the wings tilt toward the ship's own light

    // A closed-trailing-edge aerofoil: half thickness at chord fraction c, peaking near 0.3.
    static double halfThickness(double c) {
        return 5 * (0.2969 * std::sqrt(c) - 0.1260 * c - 0.3516 * c * c + 0.2843 * c * c * c -
                    0.1036 * c * c * c * c);
    }
    Vec3 point(double s, double c, double side) const {
        return {lerp(rootX, tipX, s), lerp(leading(s), trailing(s), c),
                middle(s) + side * thickness(s) * halfThickness(c)};
    }
};

const Fuselage fuselage;
const Wing wing;

// Chord stations bunched at both edges, where the aerofoil bends most.
std::vector<double> chordStations(int n) {
    std::vector<double> c;
    for (int i = 0; i <= n; ++i)
        c.push_back(0.5 - 0.5 * std::cos(Pi * i / n));
    return c;
}

// Leading edge, over the top to the trailing edge, back under the bottom.
template <class Surface> Ring aerofoilRing(Surface surface, int chordPoints) {
    const std::vector<double> c = chordStations(chordPoints);
    Ring ring;
    for (int i = 0; i <= chordPoints; ++i)
        ring.push_back(surface(c[i], 1.0));
    for (int i = chordPoints - 1; i > 0; --i)
        ring.push_back(surface(c[i], -1.0));
    return ring;
}

void addFuselage(MeshBuilder& mesh) {
    const int stations = 58, around = 36;
    std::vector<Ring> rings;
    for (int i = 1; i <= stations; ++i) {
        const double t = TailT * std::pow(double(i) / stations, 1.35);
        rings.emplace_back();
        for (int j = 0; j < around; ++j)
            rings.back().push_back(fuselage.point(t, -2 * Pi * j / around));
    }
    mesh.beginPart(Hull, 35);
    loft(mesh, rings, true, Vec3{0, NoseY, fuselage.centre(0)}, Vec3{0, NoseY - TailT - 2.5, 0});
    mesh.endPart(Facing::Outward);
}

void addCanopy(MeshBuilder& mesh) {
    const double front = 13, back = 41;
    const Profile halfWidth{{{0, 0}, {0.12, 1.9}, {0.35, 2.7}, {0.6, 2.5}, {0.85, 1.5}, {1, 0}}};
    const Profile height{{{0, 0}, {0.12, 1.0}, {0.35, 1.75}, {0.6, 1.5}, {0.85, 0.7}, {1, 0}}};
    const int stations = 23, arch = 20;
    std::vector<Ring> rings;
    for (int i = 1; i < stations; ++i) {
        const double u = double(i) / stations, t = lerp(front, back, u);
        const double w = halfWidth(u), h = height(u);
        rings.emplace_back();
        // The arch stands on the back, its feet sunk a little into the hull; the straight base between
        // them closes the ring inside the fuselage.
        for (int j = 0; j < arch; ++j) {
            const double a = Pi * j / (arch - 1), x = w * std::cos(a);
            rings.back().push_back({x, NoseY - t, fuselage.topAt(x, t) - 0.25 + (h + 0.25) * std::sin(a)});
        }
    }
    mesh.beginPart(Dark, 40);
    loft(mesh, rings, true, Vec3{0, NoseY - front, fuselage.topAt(0, front)},
         Vec3{0, NoseY - back, fuselage.topAt(0, back)});
    mesh.endPart(Facing::Outward);
}

void addWings(MeshBuilder& mesh) {
    const int spans = 15, chordPoints = 18;
    std::vector<Ring> rings;
    for (int i = 0; i <= spans; ++i) {
        const double s = double(i) / spans;
        rings.push_back(
            aerofoilRing([s](double c, double side) { return wing.point(s, c, side); }, chordPoints));
    }
    mesh.beginPart(Hull, 40);
    loft(mesh, rings, true, centroid(rings.front()), centroid(rings.back()));
    mesh.endPart(Facing::Outward);
    mesh.mirrorLastPartInX();
}

// Canted fins standing on the wings, raked back with the trailing edge.
void addFins(MeshBuilder& mesh) {
    const double rootX = 18.5, topZ = 4.95, cant = 16 * Pi / 180;
    const double rootZ = wing.middle((rootX - wing.rootX) / (wing.tipX - wing.rootX)) - 0.4;
    const Vec3 up = {std::sin(cant), 0, std::cos(cant)}, side = {std::cos(cant), 0, -std::sin(cant)};
    const double span = (topZ - rootZ) / std::cos(cant);
    const Profile leading{{{0, -22}, {1, -32.5}}}, trailing{{{0, -37.5}, {1, -40}}};
    const Profile thickness{{{0, 0.9}, {1, 0.35}}};
    const int spans = 5, chordPoints = 9;
    std::vector<Ring> rings;
    for (int i = 0; i <= spans; ++i) {
        const double u = double(i) / spans;
        const Vec3 base = Vec3{rootX, 0, rootZ} + up * (u * span);
        rings.push_back(aerofoilRing(
            [&](double c, double s) {
                return base + Vec3{0, lerp(leading(u), trailing(u), c), 0} +
                       side * (s * thickness(u) * Wing::halfThickness(c));
            },
            chordPoints));
    }
    mesh.beginPart(Hull, 40);
    loft(mesh, rings, true, centroid(rings.front()), centroid(rings.back()));
    mesh.endPart(Facing::Outward);
    mesh.mirrorLastPartInX();
}

// Each engine: a nacelle with an intake lip and a duct, a fan face deep in the duct and a nozzle cup.
// The engines run along -y, so heights on their axis are distances back from y = 0.
void addEngines(MeshBuilder& mesh) {
    const Vec3 axisOrigin = {10.5, 0, -1.25}, back = {0, -1, 0}, across = {1, 0, 0};
    const int segments = 32;

    mesh.beginPart(Hull, 45);
    lathe(mesh,
          {{2.3, 8},
           {2.3, 3.4},
           {2.45, 2.5},
           {2.75, 2.1},
           {3.05, 2.4},
           {3.3, 3.5},
           {3.45, 6},
           {3.5, 12},
           {3.45, 30},
           {3.3, 38},
           {3.1, 42.5}},
          axisOrigin, back, across, segments);
    mesh.endPart(Facing::AsBuilt);
    mesh.mirrorLastPartInX();

    mesh.beginPart(Dark, 45);
    lathe(mesh, {{0, 5.0}, {0.7, 6.2}, {1.0, 7.0}, {2.35, 7.0}}, axisOrigin, back, across, segments);
    mesh.endPart(Facing::AsBuilt);
    mesh.mirrorLastPartInX();

    mesh.beginPart(Dark, 45);
    lathe(
        mesh,
        {{3.2, 42}, {3.05, 46}, {2.8, 49.6}, {2.55, 49.9}, {2.4, 48.6}, {2.2, 45.6}, {1.2, 45.1}, {0, 44.7}},
        axisOrigin, back, across, segments);
    mesh.endPart(Facing::AsBuilt);
    mesh.mirrorLastPartInX();
}

// Wing-tip pods: a gun barrel out of the front and a navigation light at the back.
void addTipPods(MeshBuilder& mesh) {
    const Vec3 axisOrigin = {wing.tipX + 0.9, 0, wing.middle(1)}, back = {0, -1, 0}, across = {1, 0, 0};

    mesh.beginPart(Hull, 45);
    lathe(mesh, {{0, 13}, {0.6, 14.2}, {1.0, 16}, {1.2, 19}, {1.2, 34}, {1.0, 37}, {0.6, 38.3}, {0, 38.7}},
          axisOrigin, back, across, 16);
    mesh.endPart(Facing::AsBuilt);
    mesh.mirrorLastPartInX();

    mesh.beginPart(Dark, 45);
    lathe(mesh, {{0, 9.6}, {0.18, 9.6}, {0.18, 9.0}, {0.32, 9.0}, {0.32, 15}}, axisOrigin, back, across, 8);
    mesh.endPart(Facing::AsBuilt);
    mesh.mirrorLastPartInX();

    mesh.beginPart(Trim, 60);
    lathe(mesh, {{0, 38.1}, {0.45, 38.4}, {0.55, 39.0}, {0, 39.7}}, axisOrigin, back, across, 6);
    mesh.endPart(Facing::AsBuilt);
    mesh.mirrorLastPartInX();
}

// A raised band across each wing, parallel to the leading edge.
void addWingStripes(MeshBuilder& mesh) {
    const double firstSpan = 0.3, lastSpan = 0.86, chordFront = 0.16, chordBack = 0.24;
    const int stations = 12;
    std::vector<Ring> rings;
    for (int i = 0; i < stations; ++i) {
        const double s = lerp(firstSpan, lastSpan, double(i) / (stations - 1));
        const Vec3 lift = {0, 0, 0.12}, sink = {0, 0, -0.08};
        const Vec3 front = wing.point(s, chordFront, 1), rear = wing.point(s, chordBack, 1);
        rings.push_back({front + sink, front + lift, rear + lift, rear + sink});
    }
    mesh.beginPart(Trim, 30);
    loft(mesh, rings, true, centroid(rings.front()), centroid(rings.back()));
    mesh.endPart(Facing::Outward);
    mesh.mirrorLastPartInX();
}

std::vector<MeshMaterial> shipMaterials() {
    auto grey = [](float ambient, float diffuse, float specular, float shininess) {
        return MeshMaterial{{ambient, ambient, ambient},
                            {diffuse, diffuse, diffuse},
                            {specular, specular, specular},
                            {0, 0, 0},
                            1.0f,
                            shininess,
                            -1};
    };
    const MeshMaterial hull = grey(0.0980392f, 0.498039f, 0.044902f, 11.3137f);
    return {hull, grey(0.0588235f, 0.0588235f, 0.44902f, 32.0f), hull};
}

} // namespace

ModelTables buildShip() {
    MeshBuilder mesh(shipMaterials(), {0, 1, 2});
    addFuselage(mesh);
    addWings(mesh);
    addFins(mesh);
    addEngines(mesh);
    addTipPods(mesh);
    addCanopy(mesh);
    addWingStripes(mesh);
    // The game converts this to 100 x (x, z, -y): about 69 wide, 10 high and 100 long.
    return mesh.finish({0.3434, 0.5, 0.0495}, true);
}

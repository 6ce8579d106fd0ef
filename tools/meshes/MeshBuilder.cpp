// Collects a model as parts of triangles and turns it into the six tables the game compiles in.
#include "tools/meshes/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

namespace {

// Table indices are 16-bit signed in the game's layout.
constexpr size_t IndexLimit = 32767;

void checkIndexRange(size_t count, const char* what) {
    if (count > IndexLimit) {
        std::fprintf(stderr, "make_meshes: %zu %s do not fit 16-bit indices\n", count, what);
        std::exit(1);
    }
}

MeshPoint toPoint(Vec3 v) { return {float(v.x), float(v.y), float(v.z)}; }

double cornerAngle(Vec3 at, Vec3 b, Vec3 c) {
    const Vec3 u = (b - at).unit(), v = (c - at).unit();
    return std::acos(std::clamp(u.dot(v), -1.0, 1.0));
}

} // namespace

MeshBuilder::MeshBuilder(std::vector<MeshMaterial> materials, std::vector<int> slotMaterials)
    : materials(std::move(materials)), slotMaterials(std::move(slotMaterials)) {}

void MeshBuilder::beginPart(int slot, double creaseDegrees) {
    parts.push_back({slot, std::cos(creaseDegrees * Pi / 180), int(points.size()), int(faces.size())});
}

int MeshBuilder::vertex(Vec3 p) {
    points.push_back(p);
    return int(points.size()) - 1;
}

void MeshBuilder::triangle(int a, int b, int c) { faces.push_back({{a, b, c}, int(parts.size()) - 1}); }

void MeshBuilder::quad(int a, int b, int c, int d) {
    triangle(a, b, c);
    triangle(a, c, d);
}

void MeshBuilder::endPart(Facing facing) {
    if (facing != Facing::Outward) return;
    double volume = 0;
    for (size_t f = parts.back().firstFace; f < faces.size(); ++f) {
        const int* c = faces[f].corner;
        volume += points[c[0]].dot(points[c[1]].cross(points[c[2]]));
    }
    if (volume < 0)
        for (size_t f = parts.back().firstFace; f < faces.size(); ++f)
            std::swap(faces[f].corner[1], faces[f].corner[2]);
}

void MeshBuilder::mirrorLastPartInX() {
    const Part original = parts.back();
    const size_t vertexEnd = points.size(), faceEnd = faces.size();
    parts.push_back({original.slot, original.crease, int(vertexEnd), int(faceEnd)});
    for (size_t v = original.firstVertex; v < vertexEnd; ++v)
        points.push_back({-points[v].x, points[v].y, points[v].z});
    const int shift = int(vertexEnd) - original.firstVertex;
    for (size_t f = original.firstFace; f < faceEnd; ++f) {
        const int* c = faces[f].corner;
        // A reflection turns the winding over; swapping two corners turns it back.
        faces.push_back({{c[0] + shift, c[2] + shift, c[1] + shift}, int(parts.size()) - 1});
    }
}

ModelTables MeshBuilder::finish(Vec3 half, bool planarTexture) const {
    // Fit the bounding box exactly.
    Vec3 lo = points.front(), hi = points.front();
    for (const Vec3& p : points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const Vec3 centre = (lo + hi) * 0.5;
    const Vec3 scale = {2 * half.x / (hi.x - lo.x), 2 * half.y / (hi.y - lo.y), 2 * half.z / (hi.z - lo.z)};

    // Weld positions that coincide, so each corner of the table is stored once.
    std::vector<Vec3> welded;
    std::vector<int> weldedIndex(points.size());
    std::map<std::tuple<long long, long long, long long>, int> byKey;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec3 d = points[i] - centre;
        const Vec3 p = {d.x * scale.x, d.y * scale.y, d.z * scale.z};
        const auto key =
            std::make_tuple(std::llround(p.x * 1e7), std::llround(p.y * 1e7), std::llround(p.z * 1e7));
        auto [it, added] = byKey.emplace(key, int(welded.size()));
        if (added) welded.push_back(p);
        weldedIndex[i] = it->second;
    }
    checkIndexRange(welded.size(), "positions");

    // Drop triangles that welding or the shapes collapsed, then order the rest by slot.
    struct Kept {
        int corner[3];
        int part;
        Vec3 normal; // unit
    };
    std::vector<Kept> kept;
    for (const Face& f : faces) {
        Kept k{{weldedIndex[f.corner[0]], weldedIndex[f.corner[1]], weldedIndex[f.corner[2]]}, f.part, {}};
        const Vec3 n =
            (welded[k.corner[1]] - welded[k.corner[0]]).cross(welded[k.corner[2]] - welded[k.corner[0]]);
        if (n.length() < 1e-12) continue;
        k.normal = n.unit();
        kept.push_back(k);
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [&](const Kept& a, const Kept& b) { return parts[a.part].slot < parts[b.part].slot; });

    std::vector<std::vector<int>> facesAt(welded.size());
    for (size_t f = 0; f < kept.size(); ++f)
        for (int c : kept[f].corner)
            facesAt[c].push_back(int(f));

    ModelTables out;
    out.materials = materials;
    for (const Vec3& p : welded)
        out.positions.push_back(toPoint(p));

    std::map<std::tuple<float, float, float>, int> normalIndex;
    std::map<std::pair<float, float>, int> texIndex;
    auto addTexCoord = [&](MeshTexCoord t) {
        auto [it, added] = texIndex.emplace(std::make_pair(t.u, t.v), int(out.texCoords.size()));
        if (added) out.texCoords.push_back(t);
        return it->second;
    };
    if (!planarTexture) addTexCoord({0, 0});

    for (const Kept& f : kept) {
        MeshFace face{};
        const double crease = parts[f.part].crease;
        for (int k = 0; k < 3; ++k) {
            const int p = f.corner[k];
            // Each neighbour counts by the angle its corner spans here, so a fan of thin triangles
            // does not outweigh one wide one.
            Vec3 sum;
            for (int g : facesAt[p]) {
                const Kept& other = kept[g];
                if (other.part != f.part || other.normal.dot(f.normal) < crease) continue;
                const int j = other.corner[0] == p ? 0 : other.corner[1] == p ? 1 : 2;
                const double angle = cornerAngle(welded[p], welded[other.corner[(j + 1) % 3]],
                                                 welded[other.corner[(j + 2) % 3]]);
                sum = sum + other.normal * angle;
            }
            const MeshPoint n = toPoint(sum.length() > 0 ? sum.unit() : f.normal);
            auto [it, added] = normalIndex.emplace(std::make_tuple(n.x, n.y, n.z), int(out.normals.size()));
            if (added) out.normals.push_back(n);
            face.position[k] = int16_t(p);
            face.normal[k] = int16_t(it->second);
            face.texCoord[k] = int16_t(planarTexture ? addTexCoord({float(0.5 + welded[p].x / (2 * half.x)),
                                                                    float(0.5 - welded[p].y / (2 * half.y))})
                                                     : 0);
        }
        out.faces.push_back(face);
    }

    for (size_t f = 0; f < kept.size(); ++f) {
        const int slot = parts[kept[f].part].slot;
        if (f > 0 && parts[kept[f - 1].part].slot == slot)
            ++out.runs.back().faceCount;
        else
            out.runs.push_back({slotMaterials[slot], 1});
    }

    checkIndexRange(out.normals.size(), "normals");
    checkIndexRange(out.texCoords.size(), "texture coordinates");
    return out;
}

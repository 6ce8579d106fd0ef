// make_meshes: builds the ship and reward models and writes them as a C++ source of compiled-in tables.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/meshes/RewardShape.h"
#include "tools/meshes/ShipShape.h"

namespace {

// Nine significant digits bring every float back exactly.
std::string number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(v));
    std::string s = text;
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s + "f";
}

std::string point(const MeshPoint& p) {
    return "{" + number(p.x) + ", " + number(p.y) + ", " + number(p.z) + "}";
}

std::string triple(const float v[3]) {
    return "{" + number(v[0]) + ", " + number(v[1]) + ", " + number(v[2]) + "}";
}

std::string indices(const int16_t v[3]) {
    return "{" + std::to_string(v[0]) + ", " + std::to_string(v[1]) + ", " + std::to_string(v[2]) + "}";
}

template <class Row, class Format>
void writeTable(std::ostream& out, const char* type, const std::string& name, const std::vector<Row>& rows,
                Format format) {
    out << "const " << type << " " << name << "[" << rows.size() << "] = {\n";
    for (const Row& row : rows)
        out << "    " << format(row) << ",\n";
    out << "};\n\n";
}

void writeModel(std::ostream& out, const std::string& name, const ModelTables& m) {
    out << "namespace {\n\n";
    out << "// ambient, diffuse, specular, emission, alpha, shininess, texture\n";
    writeTable(out, "MeshMaterial", name + "Materials", m.materials, [](const MeshMaterial& r) {
        return "{" + triple(r.ambient) + ", " + triple(r.diffuse) + ", " + triple(r.specular) + ", " +
               triple(r.emission) + ", " + number(r.alpha) + ", " + number(r.shininess) + ", " +
               std::to_string(r.texture) + "}";
    });
    out << "// positions, normals, texture coordinates\n";
    writeTable(out, "MeshFace", name + "Faces", m.faces, [](const MeshFace& f) {
        return "{" + indices(f.position) + ", " + indices(f.normal) + ", " + indices(f.texCoord) + "}";
    });
    writeTable(out, "MeshPoint", name + "Positions", m.positions, point);
    writeTable(out, "MeshPoint", name + "Normals", m.normals, point);
    writeTable(out, "MeshTexCoord", name + "TexCoords", m.texCoords,
               [](const MeshTexCoord& t) { return "{" + number(t.u) + ", " + number(t.v) + "}"; });
    out << "// material, face count\n";
    writeTable(out, "MeshRun", name + "Runs", m.runs, [](const MeshRun& r) {
        return "{" + std::to_string(r.material) + ", " + std::to_string(r.faceCount) + "}";
    });
    out << "} // namespace\n\n";
    out << "const MeshModel " << name << "Model = {\n";
    for (const char* table : {"Materials", "Faces", "Positions", "Normals", "TexCoords", "Runs"})
        out << "    " << name << table << ", int32_t(sizeof " << name << table << " / sizeof " << name
            << table << "[0]),\n";
    out << "};\n\n";
}

void report(const char* name, const ModelTables& m) {
    std::printf("%s: %zu faces, %zu positions, %zu normals, %zu texture coordinates, runs", name,
                m.faces.size(), m.positions.size(), m.normals.size(), m.texCoords.size());
    for (const MeshRun& r : m.runs)
        std::printf(" (%d, %d)", r.material, r.faceCount);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_meshes <out.cpp>\n");
        return 2;
    }
    const ModelTables ship = buildShip();
    const ModelTables reward = buildReward();
    report("ship", ship);
    report("reward", reward);

    std::ostringstream text;
    text << "// The ship and reward models, written by make_meshes at build time; change the tool, not this "
            "file.\n";
    text << "#include \"ships/ModelData.h\"\n\n";
    writeModel(text, "ship", ship);
    writeModel(text, "reward", reward);

    // Written whole or not at all, so a failed run never leaves half a table for the compiler.
    const std::string path = argv[1], partial = path + ".partial";
    std::ofstream file(partial, std::ios::binary);
    file << text.str();
    file.close();
    if (!file || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "make_meshes: could not write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

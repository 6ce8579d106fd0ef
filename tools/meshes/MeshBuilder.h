// Collects a model as parts of triangles and turns it into the six tables the game compiles in.
#pragma once

#include <vector>

#include "ships/ModelData.h"
#include "tools/meshes/Geometry.h"

// The finished tables, ready to be written out.
struct ModelTables {
    std::vector<MeshMaterial> materials;
    std::vector<MeshFace> faces;
    std::vector<MeshPoint> positions;
    std::vector<MeshPoint> normals;
    std::vector<MeshTexCoord> texCoords;
    std::vector<MeshRun> runs;
};

// How a finished part decides which side of its triangles is the outside.
enum class Facing {
    AsBuilt, // the winding the part was built with
    Outward, // a closed part: so that it encloses a positive volume
};

class MeshBuilder {
  public:
    // Faces are grouped by slot, slot 0 first; each slot becomes one run of the material given for it.
    MeshBuilder(std::vector<MeshMaterial> materials, std::vector<int> slotMaterials);

    // Normals are smoothed only inside one part, and only across edges bent less than creaseDegrees.
    void beginPart(int slot, double creaseDegrees);
    int vertex(Vec3 p);
    void triangle(int a, int b, int c); // counter-clockwise seen from the outside
    void quad(int a, int b, int c, int d);
    void endPart(Facing facing);
    // Adds a copy of the part just ended, reflected in the plane x = 0.
    void mirrorLastPartInX();

    // Scales each axis so the model spans exactly [-half, half], welds coincident positions and
    // computes the normals. The texture coordinates are a top-down projection when planarTexture is set,
    // else the single coordinate (0, 0).
    ModelTables finish(Vec3 half, bool planarTexture) const;

  private:
    struct Face {
        int corner[3];
        int part;
    };
    struct Part {
        int slot;
        double crease;
        int firstVertex, firstFace;
    };

    std::vector<MeshMaterial> materials;
    std::vector<int> slotMaterials;
    std::vector<Vec3> points;
    std::vector<Face> faces;
    std::vector<Part> parts;
};

// The layout of the compiled-in polygon models: six tables and the model that points at them.
#pragma once

#include <cstdint>

// Colours are RGB; alpha is shared by all four colours when they are handed to OpenGL.
struct MeshMaterial {
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float emission[3];
    float alpha;
    float shininess;
    int32_t texture; // -1: none; the mesh lists never bind one
};

// One triangle; corner k uses the k-th entry of each triple.
struct MeshFace {
    int16_t position[3];
    int16_t normal[3];
    int16_t texCoord[3];
};

struct MeshPoint {
    float x, y, z;
};

struct MeshTexCoord {
    float u, v;
};

// The next faceCount faces, in table order, use this material.
struct MeshRun {
    int32_t material;
    int32_t faceCount;
};

// Six tables and their lengths. Positions are in model units; the mesh lists convert them to game units.
struct MeshModel {
    const MeshMaterial* materials;
    int32_t materialCount;
    const MeshFace* faces;
    int32_t faceCount;
    const MeshPoint* positions;
    int32_t positionCount;
    const MeshPoint* normals; // unit length, in the same axes as the positions
    int32_t normalCount;
    const MeshTexCoord* texCoords;
    int32_t texCoordCount;
    const MeshRun* runs;
    int32_t runCount; // the runs' face counts add up to faceCount
};

// Length along model +y (the nose), width along x, top along +z; about 0.69 x 0.1 x 1.
extern const MeshModel shipModel;
// About 1 x 0.59 x 1, flat along y.
extern const MeshModel rewardModel;

// The ship and reward models as OpenGL display lists, each compiled on its first call and reused after.
#pragma once

#include <GL/gl.h>

#include "ships/ModelData.h"

// The ship in game units: nose along -Z, top along +Y. Sets every material colour but diffuse, so the
// diffuse colour set before the call (the player colour) shows; leaves ambient and emission 0,
// specular 1 and shininess 1 behind.
GLuint shipMeshList();

// The reward in game units, about 100 x 59 x 100. Leaves the same material state as the ship list,
// with diffuse 1.
GLuint rewardMeshList();

// Which way a model's tables turn into game units: the ship's length lies along its y axis and is turned
// to fly along -Z; the reward is only scaled. Both are scaled by 100.
enum class ModelKind { Ship, Reward };

// Compiles a fresh list on every call; the two functions above keep the one they compiled.
GLuint compileModelList(const MeshModel& model, ModelKind kind);

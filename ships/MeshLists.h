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

// The furthest vertex from the model's origin, in game units before any scaling.
float shipMeshRadius();
float rewardMeshRadius();

// Which way a model's tables turn into game units: the ship's length lies along its y axis and is turned
// to fly along -Z; the reward is only scaled. Both are scaled by 100.
enum class ModelKind { Ship, Reward };

// Compiles a fresh list on every call; the two functions above keep the one they compiled.
GLuint compileModelList(const MeshModel& model, ModelKind kind);
float modelRadius(const MeshModel& model, ModelKind kind);

// What drawing the model's list leaves behind, without the triangles: the material state, and the last
// vertex's normal and texture coordinate. Every model list ends with these same calls, so a model out of
// view that makes them instead of drawing leaves the GL as drawing it would for whatever comes next.
void leaveModelState(const MeshModel& model, ModelKind kind);

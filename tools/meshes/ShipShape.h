// The fighter's tables: hull, glossy dark parts and trim, in that order, one run each.
#pragma once

#include "tools/meshes/MeshBuilder.h"

ModelTables buildShip();

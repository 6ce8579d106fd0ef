// The fighter's tables: hull, glossy dark parts and trim, in that order, one run each.
#pragma once

#include "tools/mesh/MeshBuilder.h"

ModelTables buildShip();

// The power-up's tables: a cut jewel in a gold band, crown then pavilion, each as white, gold and black runs.
#pragma once

#include "tools/meshes/MeshBuilder.h"

ModelTables buildReward();

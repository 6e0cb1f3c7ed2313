#pragma once
// The game's layer table, as the top CMakeLists.txt writes it (NAVO_LAYERS and
// NAVO_OUTSIDE_LAYERS).
#include "tests/layering/LayerCheck.h"

namespace layering {

const LayerTable& GameLayers();

}  // namespace layering

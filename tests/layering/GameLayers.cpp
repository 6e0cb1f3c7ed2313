#include "tests/layering/GameLayers.h"

namespace layering {

const LayerTable& GameLayers() {
  // Generated at configure time from the top CMakeLists.txt.
  static const LayerTable table(
#include "LayerTable.inc"
  );
  return table;
}

}  // namespace layering

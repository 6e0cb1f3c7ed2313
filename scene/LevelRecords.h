#pragma once
// The level's named records as the level file lays them out and the level keeps them:
// trigger boxes, particle emitter placements and lights. Names are NUL-terminated
// within their 128-byte fields; the loader reads each record field by field, the
// level's lookups compare names within the field (scene/Level.h).
#include "core/Vector3.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace levelfile {

constexpr std::size_t kNameSize = 128;

/// The name of a field: up to its first NUL, never past the field.
inline std::string_view FieldName(const char (&field)[kNameSize]) {
  std::size_t length = 0;
  while (length < kNameSize && field[length] != '\0') ++length;
  return {field, length};
}

}  // namespace levelfile

/// A named box of the level (316 bytes): the race code tests racers against it.
struct N_LevelTrigger {
  char unused[levelfile::kNameSize] = {};
  char name[levelfile::kNameSize] = {};  ///< +128
  /// +256: the oriented box: centre, three unit axes, three half extents; the position
  /// is its first three floats.
  float box[15] = {};
};
static_assert(sizeof(N_LevelTrigger) == 316);

/// A particle emitter placement (424 bytes): one emitter of the named template at
/// a position, spawning in a box.
struct N_LevelEmitter {
  char name[levelfile::kNameSize] = {};            ///< "snow" (any case) is the level's snow
  char unused[levelfile::kNameSize] = {};          ///< +128
  char particleSystem[levelfile::kNameSize] = {};  ///< +256: the particle template's name
  N_Vector3 position;                              ///< +384
  float box[6] = {};                               ///< +396: min x, y, z, max x, y, z
  std::uint32_t data = 0;                          ///< +420, not read
};
static_assert(sizeof(N_LevelEmitter) == 424);

/// A light of the level (180 bytes); a light named "lf_..." has a lens flare.
struct N_LevelLight {
  char name[levelfile::kNameSize] = {};
  N_Vector3 position;  ///< +128
  N_Vector3 target;    ///< +140: the point a directional light shines at
  float colour[3] = {};  ///< +152: red, green, blue, 0..1 (may exceed 1)
  float data[4] = {};    ///< +164, not read
};
static_assert(sizeof(N_LevelLight) == 180);

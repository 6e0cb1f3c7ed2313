#pragma once
// The level's records as the level file lays them out and the level keeps them:
// trigger boxes, particle emitter placements, lights, sound sources, scene objects,
// surface ranges, keyframe paths and name pairs. Names are NUL-terminated within their
// 128-byte fields; the loader reads each record field by field (scene/LevelFile.h), the
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

/// A named point set (136 bytes): a run of the level's points.
struct N_LevelPointSet {
  char name[levelfile::kNameSize] = {};
  std::uint32_t firstPoint = 0;  ///< +128: index into the points
  std::uint32_t pointCount = 0;  ///< +132
};
static_assert(sizeof(N_LevelPointSet) == 136);

/// A sound source of the level (272 bytes): a sound shader played at a position.
struct N_LevelSoundSource {
  N_Vector3 position;
  char name[levelfile::kNameSize] = {};   ///< +12, not read
  char sound[levelfile::kNameSize] = {};  ///< +140: the sound shader's name
  std::uint32_t data = 0;                 ///< +268, not read
};
static_assert(sizeof(N_LevelSoundSource) == 272);

/// A scene object (500 bytes): a run of the level's surfaces (a mesh object), or a
/// LOD object named by its base name; either may move along a camera path.
struct N_LevelSceneObject {
  char name[levelfile::kNameSize] = {};   ///< not read
  char lod[levelfile::kNameSize] = {};    ///< +128: LOD base name; empty for a mesh object
  char sound[levelfile::kNameSize] = {};  ///< +256: sound shader; empty for none
  float box[6] = {};                      ///< +384: min x, y, z, max x, y, z
  float matrix[16] = {};                  ///< +408: placement of a LOD object's meshes, translation in 3, 7, 11
  std::int32_t surfaceRange = -1;         ///< +472: index into the surface ranges (mesh objects)
  std::int32_t cameraPath = -1;           ///< +476: index into the camera paths; -1 = static
  std::uint32_t unused = 0;               ///< +480
  float distances[3] = {};                ///< +484: LOD switch distances of meshes 1, 2 and 3
  std::uint32_t flags = 0;                ///< +496: byte 0 track mode, byte 1 detail threshold
};
static_assert(sizeof(N_LevelSceneObject) == 500);

/// A run of the level's surfaces (8 bytes).
struct N_LevelSurfaceRange {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
};
static_assert(sizeof(N_LevelSurfaceRange) == 8);

/// A keyframe path of the level (20 bytes): a run of path keys played at a rate.
struct N_LevelCameraPath {
  std::uint32_t unused = 0;
  std::uint32_t playMode = 0;  ///< +4: 2 plays once and holds the last key; anything else loops
  std::uint32_t firstKey = 0;  ///< +8
  std::uint32_t keyCount = 0;  ///< +12
  float rate = 0.0f;           ///< +16: keys per second
};
static_assert(sizeof(N_LevelCameraPath) == 20);

/// A pair of names (256 bytes) the level keeps and nothing reads.
struct N_LevelNamePair {
  char first[levelfile::kNameSize] = {};
  char second[levelfile::kNameSize] = {};
};
static_assert(sizeof(N_LevelNamePair) == 256);

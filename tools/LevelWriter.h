#pragma once
// Writes level files ("ALF ", version 150; scene/LevelFile.h): a 2048-byte header
// (magic, version, the offset and size of sections 1 to 20 at bytes 8-167, the rest
// zero), then the sections in order, every record field by field with its size
// asserted; bytes no reader reads are 0. Sections 1 to 5 are the static mesh file's
// (tools/MeshWriter.h).
//
// Names are cut to 127 characters. Point sets are given with their points (the writer
// lays the points out set by set); paths, keys and surface ranges by index, as the
// scene objects and cameras refer to them.
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/CameraPath.h"
#include "tools/MeshWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

struct LevelPointSet {
  std::string name;
  std::vector<N_Vector3> points;
};

struct LevelSoundSource {
  N_Vector3 position;
  std::string name;   ///< not read by the game
  std::string sound;  ///< the sound shader
};

struct LevelCamera {
  std::string name;
  std::int32_t path = -1;  ///< index into the camera paths, -1 for none
};

struct LevelLight {
  std::string name;
  N_Vector3 position;
  N_Vector3 target;
  std::array<float, 3> colour{1.0f, 1.0f, 1.0f};
};

struct LevelTrigger {
  std::string name;
  /// Centre, three unit axes, three half extents (an oriented box).
  std::array<float, 15> box{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1};
};

struct LevelLightGrid {
  std::array<std::uint32_t, 3> size{};  ///< nodes along x, y, z
  std::array<float, 6> bounds{};        ///< min x, y, z, max x, y, z
  std::vector<std::uint32_t> cells;     ///< 0x00RRGGBB, node (x, y, z) at (z sy + y) sx + x
};

struct LevelEmitter {
  std::string name;    ///< "snow" is the level's snow
  std::string system;  ///< the particle template
  N_Vector3 position;
  std::array<float, 6> box{};
};

struct LevelSpectator {
  N_Vector3 position;
  N_Quaternion rotation;
  std::string name;
  std::string mesh;  ///< as the spectator script names it
};

struct LevelSceneObject {
  std::string name;
  std::string lod;    ///< LOD base name; empty for a mesh object
  std::string sound;  ///< sound shader; empty for none
  std::array<float, 6> box{};
  std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  ///< translation in 3, 7, 11
  std::int32_t surfaceRange = -1;
  std::int32_t cameraPath = -1;
  std::array<float, 3> distances{};
  std::uint32_t flags = 0;  ///< byte 0 track mode, byte 1 detail threshold
};

struct LevelCameraPath {
  std::uint32_t playMode = 0;  ///< 2 plays once; anything else loops
  std::uint32_t firstKey = 0;
  std::uint32_t keyCount = 0;
  float rate = 0.0f;  ///< keys per second
};

struct LevelAnimObject {
  N_Vector3 position;
  N_Quaternion rotation;
  std::string name;
  std::string file;  ///< base name of ".mesh" and ".anim"
};

/// The content of a level file.
struct LevelData {
  SurfaceData geometry;  ///< sections 1 to 5
  std::vector<LevelPointSet> pointSets;
  std::vector<LevelSoundSource> soundSources;
  std::vector<LevelCamera> cameras;
  std::vector<LevelLight> lights;
  std::vector<LevelTrigger> triggers;
  bool hasLightGrid = false;
  LevelLightGrid lightGrid;
  std::vector<LevelEmitter> emitters;
  std::vector<LevelSpectator> spectators;
  std::vector<LevelSceneObject> sceneObjects;
  std::vector<std::array<std::uint32_t, 2>> surfaceRanges;  ///< first surface, count
  std::vector<LevelCameraPath> cameraPaths;
  std::vector<N_PathKey> pathKeys;
  std::vector<std::array<std::string, 2>> namePairs;
  std::vector<LevelAnimObject> animObjects;

  /// Appends the keys and a path over them; returns the path's index.
  std::int32_t AddPath(const std::vector<N_PathKey>& keys, std::uint32_t playMode, float rate);
  /// A range over surfaces first .. first + count - 1; returns its index.
  std::int32_t AddSurfaceRange(std::uint32_t first, std::uint32_t count);
};

/// The whole level file.
std::vector<std::uint8_t> EncodeLevel(const LevelData& level);

}  // namespace datagen

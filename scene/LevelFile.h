#pragma once
// The level file ("ALF ", version 150): a 2048-byte header (magic, version, and at
// bytes 8k to 8k + 7 the offset and byte size of section k, k = 1 to 20), then the
// sections, each an array of fixed-size records (section 12, the light grid, is a
// 40-byte header and its cells). Sections 1 to 5 are the geometry records shared with
// the static mesh file (scene/SurfaceRecords.h).
//
// ReadLevelFile decodes every section field by field and checks it before the loader
// builds anything from it: each section inside the file and a whole number of records,
// every name it reads terminated within its field, every index and run between
// sections in range, the light grid's header and cell count and a grid the light grid
// takes, every number the game divides by or makes an index of (paths' rates and keys,
// points, boxes and places) finite. A file that breaks any of these is refused whole.
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/CameraPath.h"
#include "scene/LevelRecords.h"
#include "scene/SurfaceSections.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace levelfile {

constexpr std::uint32_t kMagic = 0x20464C41;  // "ALF " in file order
constexpr std::uint32_t kVersion = 150;
constexpr int kSectionCount = 20;

/// The sections, numbered as in the header (1 to 5 are surfacefile's).
enum Section : int {
  kPointSets = 6,
  kPoints = 7,
  kSoundSources = 8,
  kCameras = 9,
  kLights = 10,
  kTriggers = 11,
  kLightGrid = 12,
  kEmitters = 13,
  kSpectators = 14,
  kSceneObjects = 15,
  kSurfaceRanges = 16,
  kCameraPaths = 17,
  kPathKeys = 18,
  kNamePairs = 19,
  kAnimObjects = 20,
};

/// Record sizes of sections 6 to 20 (12 has none: a header and its cells).
constexpr std::size_t kPointSetSize = 136;
constexpr std::size_t kPointSize = 12;
constexpr std::size_t kSoundSourceSize = 272;
constexpr std::size_t kCameraSize = 428;
constexpr std::size_t kLightSize = 180;
constexpr std::size_t kTriggerSize = 316;
constexpr std::size_t kLightGridHeaderSize = 40;
constexpr std::size_t kEmitterSize = 424;
constexpr std::size_t kSpectatorSize = 416;
constexpr std::size_t kSceneObjectSize = 500;
constexpr std::size_t kSurfaceRangeSize = 8;
constexpr std::size_t kCameraPathSize = 20;
constexpr std::size_t kPathKeySize = 28;
constexpr std::size_t kNamePairSize = 256;
constexpr std::size_t kAnimObjectSize = 288;

/// Field offsets the readers and the writer share.
constexpr std::size_t kCameraNameOffset = 160;
constexpr std::size_t kCameraPathOffset = 424;
constexpr std::size_t kSpectatorMeshOffset = 156;
constexpr std::size_t kAnimObjectFileOffset = 156;

}  // namespace levelfile

/// A level camera record (428 bytes; only the name and the path are read).
struct N_LevelCameraRecord {
  std::string name;              ///< +160
  std::int32_t cameraPath = -1;  ///< +424: index into the camera paths; negative = none
};

/// A spectator record (416 bytes; the name at +28 is not read).
struct N_LevelSpectatorRecord {
  N_Vector3 position;
  N_Quaternion rotation;  ///< +12: w, x, y, z
  std::string mesh;       ///< +156: the mesh name as the spectator script names it
};

/// An animated level object record (288 bytes; the name at +28 is not read).
struct N_LevelAnimObjectRecord {
  N_Vector3 position;
  N_Quaternion rotation;  ///< +12: w, x, y, z
  std::string file;       ///< +156: the base name of its ".mesh" and ".anim"
};

/// Section 12: the light grid's header and its cells; empty when the section is.
struct N_LevelLightGridData {
  bool present = false;
  std::uint32_t size[3] = {};  ///< nodes along x, y, z
  float bounds[6] = {};        ///< min x, y, z, max x, y, z
  std::vector<std::uint32_t> cells;
};

/// The whole file, decoded and checked.
struct N_LevelFile {
  N_SurfaceSections geometry;  ///< sections 1 to 5
  std::vector<N_LevelPointSet> pointSets;
  std::vector<N_Vector3> points;
  std::vector<N_LevelSoundSource> soundSources;
  std::vector<N_LevelCameraRecord> cameras;
  std::vector<N_LevelLight> lights;
  std::vector<N_LevelTrigger> triggers;
  N_LevelLightGridData lightGrid;
  std::vector<N_LevelEmitter> emitters;
  std::vector<N_LevelSpectatorRecord> spectators;
  std::vector<N_LevelSceneObject> sceneObjects;
  std::vector<N_LevelSurfaceRange> surfaceRanges;
  std::vector<N_LevelCameraPath> cameraPaths;
  std::vector<N_PathKey> pathKeys;
  std::vector<N_LevelNamePair> namePairs;
  std::vector<N_LevelAnimObjectRecord> animObjects;
};

/// Decodes and checks the file (magic and version are the caller's). False, with the
/// first fault in `error`, when the file breaks a rule of the header comment; `out` is
/// then left incomplete.
bool ReadLevelFile(std::span<const std::uint8_t> file, N_LevelFile& out, std::string& error);

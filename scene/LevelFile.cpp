#include "scene/LevelFile.h"

#include "scene/LightGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using namespace levelfile;

/// Reads one record field by field from its first byte.
class RecordReader {
 public:
  explicit RecordReader(const std::uint8_t* record) : m_record(record) {}

  std::uint32_t U32(std::size_t at) const {
    const std::uint8_t* p = m_record + at;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  float F32(std::size_t at) const {
    const std::uint32_t bits = U32(at);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
  }
  N_Vector3 Vec3(std::size_t at) const { return {F32(at), F32(at + 4), F32(at + 8)}; }
  N_Quaternion Quat(std::size_t at) const { return {F32(at), F32(at + 4), F32(at + 8), F32(at + 12)}; }
  void Floats(std::size_t at, float* out, int count) const {
    for (int i = 0; i < count; ++i) out[i] = F32(at + 4 * std::size_t(i));
  }
  /// A 128-byte name field: false when no NUL ends it within the field.
  bool Name(std::size_t at, std::string& out) const {
    const auto* field = reinterpret_cast<const char*>(m_record + at);
    const void* end = std::memchr(field, 0, kNameSize);
    if (!end) return false;
    out.assign(field, static_cast<const char*>(end));
    return true;
  }
  /// The same into a fixed field of the level's records (kept whole, NUL included).
  bool Name(std::size_t at, char (&out)[kNameSize]) const {
    std::memcpy(out, m_record + at, kNameSize);
    return std::memchr(out, 0, kNameSize) != nullptr;
  }
  /// The field copied as it is, terminated or not (fields nobody reads).
  void Raw(std::size_t at, char (&out)[kNameSize]) const { std::memcpy(out, m_record + at, kNameSize); }

 private:
  const std::uint8_t* m_record;
};

/// The decoding of one section: its records one by one, each name checked on the way.
class SectionReader {
 public:
  SectionReader(std::span<const std::uint8_t> file, std::string& error) : m_file(file), m_header(file), m_error(error) {}

  /// The section's records: false (with the reason) when the section runs past the end
  /// of the file or holds a part of a record.
  bool Locate(int section, std::size_t recordSize) {
    m_section = section;
    m_recordSize = recordSize;
    const N_SectionEntry entry = m_header.Entry(section);
    if (std::uint64_t(entry.offset) + entry.size > m_file.size()) return Fail("runs past the end of the file");
    if (entry.size % recordSize != 0) return Fail("is not a whole number of records");
    m_first = m_file.data() + entry.offset;
    m_count = entry.size / recordSize;
    return true;
  }
  /// Decodes every record of the section with read(reader, out) into the vector.
  template <class Record, class Read>
  bool ReadAll(int section, std::size_t recordSize, std::vector<Record>& out, Read read) {
    if (!Locate(section, recordSize)) return false;
    out.resize(m_count);
    for (std::size_t i = 0; i < m_count; ++i) {
      if (!read(RecordReader(m_first + i * recordSize), out[i])) {
        return Fail("record " + std::to_string(i) + " has a name that is not terminated");
      }
    }
    return true;
  }
  bool Fail(const std::string& what) {
    m_error = "section " + std::to_string(m_section) + " " + what;
    return false;
  }
  const N_FileHeader& Header() const { return m_header; }
  std::span<const std::uint8_t> File() const { return m_file; }

 private:
  std::span<const std::uint8_t> m_file;
  N_FileHeader m_header;
  std::string& m_error;
  int m_section = 0;
  std::size_t m_recordSize = 1;
  const std::uint8_t* m_first = nullptr;
  std::size_t m_count = 0;
};

bool ReadRecords(SectionReader& in, N_LevelFile& out) {
  return in.ReadAll(kPointSets, kPointSetSize, out.pointSets,
                    [](const RecordReader& r, N_LevelPointSet& set) {
                      set.firstPoint = r.U32(128);
                      set.pointCount = r.U32(132);
                      return r.Name(0, set.name);
                    }) &&
         in.ReadAll(kPoints, kPointSize, out.points,
                    [](const RecordReader& r, N_Vector3& point) {
                      point = r.Vec3(0);
                      return true;
                    }) &&
         in.ReadAll(kSoundSources, kSoundSourceSize, out.soundSources,
                    [](const RecordReader& r, N_LevelSoundSource& source) {
                      source.position = r.Vec3(0);
                      r.Raw(12, source.name);
                      source.data = r.U32(268);
                      return r.Name(140, source.sound);
                    }) &&
         in.ReadAll(kCameras, kCameraSize, out.cameras,
                    [](const RecordReader& r, N_LevelCameraRecord& camera) {
                      camera.cameraPath = r.I32(kCameraPathOffset);
                      return r.Name(kCameraNameOffset, camera.name);
                    }) &&
         in.ReadAll(kLights, kLightSize, out.lights,
                    [](const RecordReader& r, N_LevelLight& light) {
                      light.position = r.Vec3(128);
                      light.target = r.Vec3(140);
                      r.Floats(152, light.colour, 3);
                      r.Floats(164, light.data, 4);
                      return r.Name(0, light.name);
                    }) &&
         in.ReadAll(kTriggers, kTriggerSize, out.triggers,
                    [](const RecordReader& r, N_LevelTrigger& trigger) {
                      r.Raw(0, trigger.unused);
                      r.Floats(256, trigger.box, 15);
                      return r.Name(128, trigger.name);
                    }) &&
         in.ReadAll(kEmitters, kEmitterSize, out.emitters,
                    [](const RecordReader& r, N_LevelEmitter& emitter) {
                      r.Raw(128, emitter.unused);
                      emitter.position = r.Vec3(384);
                      r.Floats(396, emitter.box, 6);
                      emitter.data = r.U32(420);
                      return r.Name(0, emitter.name) && r.Name(256, emitter.particleSystem);
                    }) &&
         in.ReadAll(kSpectators, kSpectatorSize, out.spectators,
                    [](const RecordReader& r, N_LevelSpectatorRecord& spectator) {
                      spectator.position = r.Vec3(0);
                      spectator.rotation = r.Quat(12);
                      return r.Name(kSpectatorMeshOffset, spectator.mesh);
                    }) &&
         in.ReadAll(kSceneObjects, kSceneObjectSize, out.sceneObjects,
                    [](const RecordReader& r, N_LevelSceneObject& object) {
                      r.Raw(0, object.name);
                      r.Floats(384, object.box, 6);
                      r.Floats(408, object.matrix, 16);
                      object.surfaceRange = r.I32(472);
                      object.cameraPath = r.I32(476);
                      object.unused = r.U32(480);
                      r.Floats(484, object.distances, 3);
                      object.flags = r.U32(496);
                      return r.Name(128, object.lod) && r.Name(256, object.sound);
                    }) &&
         in.ReadAll(kSurfaceRanges, kSurfaceRangeSize, out.surfaceRanges,
                    [](const RecordReader& r, N_LevelSurfaceRange& range) {
                      range.first = r.U32(0);
                      range.count = r.U32(4);
                      return true;
                    }) &&
         in.ReadAll(kCameraPaths, kCameraPathSize, out.cameraPaths,
                    [](const RecordReader& r, N_LevelCameraPath& path) {
                      path.unused = r.U32(0);
                      path.playMode = r.U32(4);
                      path.firstKey = r.U32(8);
                      path.keyCount = r.U32(12);
                      path.rate = r.F32(16);
                      return true;
                    }) &&
         in.ReadAll(kPathKeys, kPathKeySize, out.pathKeys,
                    [](const RecordReader& r, N_PathKey& key) {
                      key.position = r.Vec3(0);
                      key.rotation = r.Quat(12);
                      return true;
                    }) &&
         in.ReadAll(kNamePairs, kNamePairSize, out.namePairs,
                    [](const RecordReader& r, N_LevelNamePair& pair) {
                      r.Raw(0, pair.first);
                      r.Raw(128, pair.second);
                      return true;
                    }) &&
         in.ReadAll(kAnimObjects, kAnimObjectSize, out.animObjects, [](const RecordReader& r, N_LevelAnimObjectRecord& object) {
           object.position = r.Vec3(0);
           object.rotation = r.Quat(12);
           return r.Name(kAnimObjectFileOffset, object.file);
         });
}

/// Section 12: absent when empty; else its 40-byte header and exactly the cells it
/// counts, a grid the light grid takes (scene/LightGrid.h).
bool ReadLightGrid(SectionReader& in, N_LevelLightGridData& grid) {
  const N_SectionEntry entry = in.Header().Entry(kLightGrid);
  if (entry.size == 0) return true;
  if (!in.Locate(kLightGrid, 1)) return false;
  if (entry.size < kLightGridHeaderSize) return in.Fail("is shorter than the light grid's header");
  const RecordReader header(in.File().data() + entry.offset);
  const std::uint32_t count = header.U32(12);
  if (kLightGridHeaderSize + 4 * std::uint64_t(count) != entry.size) return in.Fail("does not hold the cells it counts");
  for (int axis = 0; axis < 3; ++axis) grid.size[axis] = header.U32(4 * std::size_t(axis));
  header.Floats(16, grid.bounds, 6);
  // The grid's own check: a grid it would not take makes the level malformed.
  if (const char* refusal = N_LightGrid::Refusal(grid.size[0], grid.size[1], grid.size[2], grid.bounds, count)) {
    return in.Fail(std::string("holds a light grid of ") + refusal);
  }
  grid.present = true;
  grid.cells.resize(count);
  const RecordReader cells(in.File().data() + entry.offset + kLightGridHeaderSize);
  for (std::uint32_t i = 0; i < count; ++i) grid.cells[i] = cells.U32(4 * std::size_t(i));
  return true;
}

/// A run of `count` from `first` lies within `size` entries.
bool RunInside(std::uint64_t first, std::uint64_t count, std::size_t size) { return first + count <= size; }

/// A path index: negative (none) or one of the paths.
bool PathIndexInside(std::int32_t index, std::size_t paths) { return index < 0 || std::size_t(index) < paths; }

/// The indices and runs between sections.
bool CheckReferences(const N_LevelFile& file, std::string& error) {
  for (std::size_t i = 0; i < file.pointSets.size(); ++i) {
    const N_LevelPointSet& set = file.pointSets[i];
    if (!RunInside(set.firstPoint, set.pointCount, file.points.size())) {
      error = "point set " + std::to_string(i) + " runs past the points";
      return false;
    }
  }
  for (std::size_t i = 0; i < file.surfaceRanges.size(); ++i) {
    const N_LevelSurfaceRange& range = file.surfaceRanges[i];
    if (!RunInside(range.first, range.count, file.geometry.descriptors.size())) {
      error = "surface range " + std::to_string(i) + " runs past the surfaces";
      return false;
    }
  }
  for (std::size_t i = 0; i < file.cameraPaths.size(); ++i) {
    const N_LevelCameraPath& path = file.cameraPaths[i];
    if (!RunInside(path.firstKey, path.keyCount, file.pathKeys.size())) {
      error = "camera path " + std::to_string(i) + " runs past the path keys";
      return false;
    }
  }
  for (std::size_t i = 0; i < file.cameras.size(); ++i) {
    if (!PathIndexInside(file.cameras[i].cameraPath, file.cameraPaths.size())) {
      error = "camera " + std::to_string(i) + " names no camera path";
      return false;
    }
  }
  for (std::size_t i = 0; i < file.sceneObjects.size(); ++i) {
    const N_LevelSceneObject& object = file.sceneObjects[i];
    const bool meshObject = object.lod[0] == '\0';
    if (meshObject && (object.surfaceRange < 0 || std::size_t(object.surfaceRange) >= file.surfaceRanges.size())) {
      error = "scene object " + std::to_string(i) + " names no surface range";
      return false;
    }
    if (!PathIndexInside(object.cameraPath, file.cameraPaths.size())) {
      error = "scene object " + std::to_string(i) + " names no camera path";
      return false;
    }
  }
  return true;
}

bool Finite(const float* values, std::size_t count) {
  return std::all_of(values, values + count, [](float v) { return std::isfinite(v); });
}
bool Finite(const N_Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool Finite(const N_Quaternion& q) {
  return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

/// The first record of the list that fails the test, as "<what> <index> <why>".
template <class Record, class Test>
bool EveryRecord(const std::vector<Record>& records, const char* what, const char* why, Test test,
                 std::string& error) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!test(records[i])) {
      error = std::string(what) + " " + std::to_string(i) + " " + why;
      return false;
    }
  }
  return true;
}

/// The numbers the game divides by or turns into indices, directly or through what it
/// computes from them (a path's rate and keys, the points the race's path network is
/// built from, the boxes and places it tests against, the lights the flares project):
/// an infinity or a NaN there is a malformed file, never a number to carry along.
bool CheckNumbers(const N_LevelFile& file, std::string& error) {
  constexpr const char* kNotFinite = "holds a number that is not finite";
  return EveryRecord(file.cameraPaths, "camera path", "has a rate that is not a finite number of keys a second",
                     [](const N_LevelCameraPath& path) {
                       // The duration is the key count over the rate; it must be a number too.
                       return std::isfinite(path.rate) &&
                              (path.rate <= 0.0f || std::isfinite(float(path.keyCount) / path.rate));
                     },
                     error) &&
         EveryRecord(file.pathKeys, "path key", kNotFinite,
                     [](const N_PathKey& key) { return Finite(key.position) && Finite(key.rotation); }, error) &&
         EveryRecord(file.points, "point", kNotFinite, [](const N_Vector3& p) { return Finite(p); }, error) &&
         EveryRecord(file.triggers, "trigger box", kNotFinite,
                     [](const N_LevelTrigger& trigger) { return Finite(trigger.box, 15); }, error) &&
         EveryRecord(file.emitters, "emitter", kNotFinite,
                     [](const N_LevelEmitter& e) { return Finite(e.position) && Finite(e.box, 6); }, error) &&
         EveryRecord(file.lights, "light", kNotFinite,
                     [](const N_LevelLight& light) { return Finite(light.position) && Finite(light.target); },
                     error) &&
         EveryRecord(file.soundSources, "sound source", kNotFinite,
                     [](const N_LevelSoundSource& source) { return Finite(source.position); }, error) &&
         EveryRecord(file.sceneObjects, "scene object", kNotFinite,
                     [](const N_LevelSceneObject& object) {
                       return Finite(object.box, 6) && Finite(object.matrix, 16);
                     },
                     error) &&
         EveryRecord(file.spectators, "spectator", kNotFinite,
                     [](const N_LevelSpectatorRecord& s) { return Finite(s.position) && Finite(s.rotation); }, error) &&
         EveryRecord(file.animObjects, "animated object", kNotFinite,
                     [](const N_LevelAnimObjectRecord& o) { return Finite(o.position) && Finite(o.rotation); }, error);
}

}  // namespace

bool ReadLevelFile(std::span<const std::uint8_t> file, N_LevelFile& out, std::string& error) {
  if (!ReadSurfaceSections(file, out.geometry, error)) return false;
  SectionReader in(file, error);
  return ReadRecords(in, out) && ReadLightGrid(in, out.lightGrid) && CheckReferences(out, error) &&
         CheckNumbers(out, error);
}

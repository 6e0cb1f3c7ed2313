#include "tools/LevelWriter.h"

#include "scene/LevelFile.h"

namespace datagen {

namespace {

using namespace levelfile;

void Vec3(ByteWriter& out, const N_Vector3& v) {
  out.F32(v.x);
  out.F32(v.y);
  out.F32(v.z);
}
void Quat(ByteWriter& out, const N_Quaternion& q) {
  out.F32(q.w);
  out.F32(q.x);
  out.F32(q.y);
  out.F32(q.z);
}
template <std::size_t N>
void Floats(ByteWriter& out, const std::array<float, N>& values) {
  for (float f : values) out.F32(f);
}
void Name(ByteWriter& out, const std::string& name) { out.FixedText(name, kNameSize); }

constexpr std::size_t kVec3 = 12, kQuat = 16, kWord = 4;

void WritePointSets(ByteWriter& out, const LevelData& level) {
  std::uint32_t first = 0;
  for (const LevelPointSet& set : level.pointSets) {
    Name(out, set.name);
    out.U32(first);
    out.U32(static_cast<std::uint32_t>(set.points.size()));
    first += static_cast<std::uint32_t>(set.points.size());
  }
}
static_assert(kNameSize + 2 * kWord == kPointSetSize);

void WritePoints(ByteWriter& out, const LevelData& level) {
  for (const LevelPointSet& set : level.pointSets) {
    for (const N_Vector3& p : set.points) Vec3(out, p);
  }
}
static_assert(kVec3 == kPointSize);

void WriteSoundSource(ByteWriter& out, const LevelSoundSource& s) {
  Vec3(out, s.position);
  Name(out, s.name);
  Name(out, s.sound);
  out.U32(0);
}
static_assert(kVec3 + 2 * kNameSize + kWord == kSoundSourceSize);

void WriteCamera(ByteWriter& out, const LevelCamera& c) {
  out.Zeros(kCameraNameOffset);
  Name(out, c.name);
  out.Zeros(kCameraPathOffset - kCameraNameOffset - kNameSize);
  out.I32(c.path);
}
static_assert(kCameraPathOffset + kWord == kCameraSize);

void WriteLight(ByteWriter& out, const LevelLight& l) {
  Name(out, l.name);
  Vec3(out, l.position);
  Vec3(out, l.target);
  Floats(out, l.colour);
  out.Zeros(4 * kWord);
}
static_assert(kNameSize + 3 * kVec3 + 4 * kWord == kLightSize);

void WriteTrigger(ByteWriter& out, const LevelTrigger& t) {
  out.Zeros(kNameSize);
  Name(out, t.name);
  Floats(out, t.box);
}
static_assert(2 * kNameSize + 15 * kWord == kTriggerSize);

void WriteLightGrid(ByteWriter& out, const LevelLightGrid& g) {
  for (std::uint32_t n : g.size) out.U32(n);
  out.U32(static_cast<std::uint32_t>(g.cells.size()));
  Floats(out, g.bounds);
  for (std::uint32_t cell : g.cells) out.U32(cell);
}
static_assert(4 * kWord + 6 * kWord == kLightGridHeaderSize);

void WriteEmitter(ByteWriter& out, const LevelEmitter& e) {
  Name(out, e.name);
  out.Zeros(kNameSize);
  Name(out, e.system);
  Vec3(out, e.position);
  Floats(out, e.box);
  out.U32(0);
}
static_assert(3 * kNameSize + kVec3 + 6 * kWord + kWord == kEmitterSize);

void WriteSpectator(ByteWriter& out, const LevelSpectator& s) {
  Vec3(out, s.position);
  Quat(out, s.rotation);
  Name(out, s.name);
  Name(out, s.mesh);
  out.Zeros(kSpectatorSize - kSpectatorMeshOffset - kNameSize);
}
static_assert(kVec3 + kQuat + kNameSize == kSpectatorMeshOffset);

void WriteSceneObject(ByteWriter& out, const LevelSceneObject& o) {
  Name(out, o.name);
  Name(out, o.lod);
  Name(out, o.sound);
  Floats(out, o.box);
  Floats(out, o.matrix);
  out.I32(o.surfaceRange);
  out.I32(o.cameraPath);
  out.U32(0);
  Floats(out, o.distances);
  out.U32(o.flags);
}
static_assert(3 * kNameSize + 6 * kWord + 16 * kWord + 3 * kWord + 3 * kWord + kWord == kSceneObjectSize);

void WriteCameraPath(ByteWriter& out, const LevelCameraPath& p) {
  out.U32(0);
  out.U32(p.playMode);
  out.U32(p.firstKey);
  out.U32(p.keyCount);
  out.F32(p.rate);
}
static_assert(5 * kWord == kCameraPathSize);

void WriteKey(ByteWriter& out, const N_PathKey& k) {
  Vec3(out, k.position);
  Quat(out, k.rotation);
}
static_assert(kVec3 + kQuat == kPathKeySize);

void WriteAnimObject(ByteWriter& out, const LevelAnimObject& o) {
  Vec3(out, o.position);
  Quat(out, o.rotation);
  Name(out, o.name);
  Name(out, o.file);
  out.Zeros(kAnimObjectSize - kAnimObjectFileOffset - kNameSize);
}
static_assert(kVec3 + kQuat + kNameSize == kAnimObjectFileOffset);

/// The bytes of sections 6 to 20, each written on its own, in section order.
std::vector<std::vector<std::uint8_t>> LaterSections(const LevelData& level) {
  std::vector<std::vector<std::uint8_t>> sections(kSectionCount - surfacefile::kSectionCount);
  auto section = [&](int k, auto write) {
    ByteWriter out;
    write(out);
    sections[std::size_t(k - surfacefile::kSectionCount - 1)] = out.Take();
  };
  auto each = [](const auto& records, auto write) {
    return [&records, write](ByteWriter& out) {
      for (const auto& record : records) write(out, record);
    };
  };
  section(kPointSets, [&](ByteWriter& out) { WritePointSets(out, level); });
  section(kPoints, [&](ByteWriter& out) { WritePoints(out, level); });
  section(kSoundSources, each(level.soundSources, WriteSoundSource));
  section(kCameras, each(level.cameras, WriteCamera));
  section(kLights, each(level.lights, WriteLight));
  section(kTriggers, each(level.triggers, WriteTrigger));
  section(kLightGrid, [&](ByteWriter& out) {
    if (level.hasLightGrid) WriteLightGrid(out, level.lightGrid);
  });
  section(kEmitters, each(level.emitters, WriteEmitter));
  section(kSpectators, each(level.spectators, WriteSpectator));
  section(kSceneObjects, each(level.sceneObjects, WriteSceneObject));
  section(kSurfaceRanges, each(level.surfaceRanges, [](ByteWriter& out, const std::array<std::uint32_t, 2>& r) {
            out.U32(r[0]);
            out.U32(r[1]);
          }));
  section(kCameraPaths, each(level.cameraPaths, WriteCameraPath));
  section(kPathKeys, each(level.pathKeys, WriteKey));
  section(kNamePairs, each(level.namePairs, [](ByteWriter& out, const std::array<std::string, 2>& pair) {
            Name(out, pair[0]);
            Name(out, pair[1]);
          }));
  section(kAnimObjects, each(level.animObjects, WriteAnimObject));
  return sections;
}

}  // namespace

std::int32_t LevelData::AddPath(const std::vector<N_PathKey>& keys, std::uint32_t playMode, float rate) {
  cameraPaths.push_back({playMode, static_cast<std::uint32_t>(pathKeys.size()), static_cast<std::uint32_t>(keys.size()),
                         rate});
  pathKeys.insert(pathKeys.end(), keys.begin(), keys.end());
  return static_cast<std::int32_t>(cameraPaths.size() - 1);
}

std::int32_t LevelData::AddSurfaceRange(std::uint32_t first, std::uint32_t count) {
  surfaceRanges.push_back({first, count});
  return static_cast<std::int32_t>(surfaceRanges.size() - 1);
}

std::vector<std::uint8_t> EncodeLevel(const LevelData& level) {
  const std::vector<std::vector<std::uint8_t>> later = LaterSections(level);
  ByteWriter out;
  out.U32(kMagic);
  out.U32(kVersion);
  const auto geometry = LayOutSurfaceSections(level.geometry, std::uint32_t(surfacefile::kHeaderSize));
  std::uint32_t offset = geometry.back().offset + geometry.back().size;
  for (const N_SectionEntry& entry : geometry) {
    out.U32(entry.offset);
    out.U32(entry.size);
  }
  for (const std::vector<std::uint8_t>& section : later) {
    out.U32(offset);
    out.U32(static_cast<std::uint32_t>(section.size()));
    offset += static_cast<std::uint32_t>(section.size());
  }
  out.Zeros(surfacefile::kHeaderSize - out.Size());
  WriteSurfaceSections(out, level.geometry);
  for (const std::vector<std::uint8_t>& section : later) {
    for (std::uint8_t b : section) out.U8(b);
  }
  return out.Take();
}

}  // namespace datagen

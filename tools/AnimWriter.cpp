#include "tools/AnimWriter.h"

#include "tools/ByteWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace datagen {

namespace {

void Vector(ByteWriter& w, const N_Vector3& v) {
  w.F32(v.x);
  w.F32(v.y);
  w.F32(v.z);
}

void Rotation(ByteWriter& w, const N_Quaternion& q) {
  w.F32(q.w);
  w.F32(q.x);
  w.F32(q.y);
  w.F32(q.z);
}

void WriteRecord(ByteWriter& w, const N_AnimNameRecord& r) {
  for (const std::uint8_t byte : r.unused) w.U8(byte);
  w.FixedText(r.name, sizeof r.name);
}
static_assert(N_AnimNameRecord::kNameOffset + animfile::kMaterialNameSize == N_AnimNameRecord::kSize);

void WriteRecord(ByteWriter& w, const N_AnimVertexRecord& r) {
  w.U32(r.skinPoint);
  w.F32(r.uv0[0]);
  w.F32(r.uv0[1]);
  w.F32(r.uv1[0]);
  w.F32(r.uv1[1]);
  for (const float n : r.normal) w.F32(n);
  w.U32(r.colour);
}
static_assert(4 + 4 * 2 + 4 * 2 + 4 * 3 + 4 == N_AnimVertexRecord::kSize);

void WriteRecord(ByteWriter& w, std::uint16_t index) { w.U16(index); }

void WriteRecord(ByteWriter& w, const N_AnimSurfaceRecord& r) {
  w.U32(r.type);
  w.U32(r.primitiveType);
  w.U32(r.material);
  w.U32(r.lightmap);
  w.U32(r.firstVertex);
  w.U32(r.vertexCount);
  w.U32(r.firstIndex);
  w.U16(r.indexCount);
  w.U16(0);
  for (const float b : r.box) w.F32(b);
}
static_assert(4 * 7 + 2 + 2 + 4 * 6 == N_AnimSurfaceRecord::kSize);

void WriteRecord(ByteWriter& w, const N_AnimSkinPoint& r) {
  Vector(w, r.position);
  w.U32(r.firstWeight);
  w.U32(r.weightCount);
}
static_assert(4 * 3 + 4 + 4 == N_AnimSkinPoint::kSize);

void WriteRecord(ByteWriter& w, const N_AnimWeight& r) {
  w.U32(r.bone);
  w.F32(r.weight);
}
static_assert(4 + 4 == N_AnimWeight::kSize);

void WriteRecord(ByteWriter& w, const N_AnimBoneRecord& r) {
  w.FixedText(r.name, sizeof r.name);
  Vector(w, r.position);
  Rotation(w, r.rotation);
  w.I32(r.parent);
}
static_assert(animfile::kBoneNameSize + 4 * 3 + 4 * 4 + 4 == N_AnimBoneRecord::kSize);

void WriteRecord(ByteWriter& w, const N_ShadowTriangle& r) {
  for (const std::uint16_t corner : r.corner) w.U16(corner);
  w.U16(0);
  Vector(w, r.normal);
}
static_assert(2 * 3 + 2 + 4 * 3 == sizeof(N_ShadowTriangle));

void WriteRecord(ByteWriter& w, const N_AnimTrack& r) {
  w.FixedText(r.name, sizeof r.name);
  w.U32(r.firstKey);
  w.U32(r.keyCount);
}
static_assert(animfile::kBoneNameSize + 4 + 4 == N_AnimTrack::kSize);

void WriteRecord(ByteWriter& w, const N_AnimKey& r) {
  Vector(w, r.position);
  Rotation(w, r.rotation);
}
static_assert(4 * 3 + 4 * 4 == N_AnimKey::kSize);

template <typename Record>
constexpr std::size_t kSize = Record::kSize;
template <>
constexpr std::size_t kSize<std::uint16_t> = 2;
template <>
constexpr std::size_t kSize<N_ShadowTriangle> = 20;

/// The directory and the sections after it, each at the end of the one before.
class SectionFile {
 public:
  SectionFile(std::uint32_t magic, std::uint32_t version) : m_entries(animfile::kDirectoryEntries) {
    m_entries[0] = {magic, version};
  }
  template <typename Record>
  void Add(int section, const std::vector<Record>& records) {
    if (records.empty()) return;  // offset and size stay 0
    const std::size_t start = animfile::kDirectorySize + m_body.Size();
    for (const Record& record : records) WriteRecord(m_body, record);
    m_entries[static_cast<std::size_t>(section)] = {static_cast<std::uint32_t>(start),
                                                    static_cast<std::uint32_t>(records.size() * kSize<Record>)};
  }
  std::vector<std::uint8_t> Bytes() const {
    ByteWriter out;
    for (const N_AnimDirEntry& entry : m_entries) {
      out.U32(entry.offset);
      out.U32(entry.size);
    }
    std::vector<std::uint8_t> bytes = out.Take();
    bytes.insert(bytes.end(), m_body.Bytes().begin(), m_body.Bytes().end());
    return bytes;
  }

 private:
  std::vector<N_AnimDirEntry> m_entries;
  ByteWriter m_body;
};

N_AnimNameRecord NameRecord(const std::string& name) {
  N_AnimNameRecord record;
  std::strncpy(record.name, name.c_str(), sizeof record.name - 1);
  return record;
}

}  // namespace

N_Quaternion AxisRotation(const N_Vector3& axis, float angle) {
  const float s = std::sin(angle * 0.5f);
  return {std::cos(angle * 0.5f), -axis.x * s, -axis.y * s, -axis.z * s};
}

int AnimMeshBuilder::AddBone(const std::string& name, int parent, const N_Vector3& bindPosition) {
  m_bones.push_back({name, parent, bindPosition});
  return static_cast<int>(m_bones.size()) - 1;
}

int AnimMeshBuilder::AddSkinPoint(const N_Vector3& position, const std::vector<Weight>& weights) {
  N_AnimSkinPoint point;
  point.position = position;
  point.firstWeight = static_cast<std::uint32_t>(m_weights.size());
  point.weightCount = static_cast<std::uint32_t>(weights.size());
  for (const Weight& w : weights) m_weights.push_back({static_cast<std::uint32_t>(w.bone), w.weight});
  m_skinPoints.push_back(point);
  return static_cast<int>(m_skinPoints.size()) - 1;
}

int AnimMeshBuilder::AddMaterial(const std::string& name) {
  m_materials.push_back(NameRecord(name));
  return static_cast<int>(m_materials.size()) - 1;
}

int AnimMeshBuilder::AddLightmap(const std::string& name) {
  m_lightmaps.push_back(NameRecord(name));
  return static_cast<int>(m_lightmaps.size()) - 1;
}

int AnimMeshBuilder::AddSurface(int material, const std::vector<Vertex>& vertices,
                                const std::vector<std::uint16_t>& indices, std::uint32_t type,
                                std::uint32_t primitiveType, int lightmap) {
  N_AnimSurfaceRecord surface;
  surface.type = type;
  surface.primitiveType = primitiveType;
  surface.material = static_cast<std::uint32_t>(material);
  surface.lightmap = static_cast<std::uint32_t>(lightmap);
  surface.firstVertex = static_cast<std::uint32_t>(m_vertices.size());
  surface.vertexCount = static_cast<std::uint32_t>(vertices.size());
  surface.firstIndex = static_cast<std::uint32_t>(m_indices.size());
  surface.indexCount = static_cast<std::uint16_t>(indices.size());
  std::fill(surface.box, surface.box + 3, 1.0e9f);
  std::fill(surface.box + 3, surface.box + 6, -1.0e9f);
  for (const Vertex& v : vertices) {
    N_AnimVertexRecord record;
    record.skinPoint = static_cast<std::uint32_t>(v.skinPoint);
    std::copy(v.uv, v.uv + 2, record.uv0);
    std::copy(v.lightmapUv, v.lightmapUv + 2, record.uv1);
    record.normal[0] = v.normal.x;
    record.normal[1] = v.normal.y;
    record.normal[2] = v.normal.z;
    record.colour = v.colour;
    m_vertices.push_back(record);
    const N_Vector3& p = m_skinPoints[static_cast<std::size_t>(v.skinPoint)].position;
    const float xyz[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
      surface.box[i] = std::min(surface.box[i], xyz[i]);
      surface.box[i + 3] = std::max(surface.box[i + 3], xyz[i]);
    }
  }
  m_indices.insert(m_indices.end(), indices.begin(), indices.end());
  m_surfaces.push_back(surface);
  return static_cast<int>(m_surfaces.size()) - 1;
}

void AnimMeshBuilder::AddShadowTriangle(int a, int b, int c) {
  N_ShadowTriangle triangle;
  triangle.corner[0] = static_cast<std::uint16_t>(a);
  triangle.corner[1] = static_cast<std::uint16_t>(b);
  triangle.corner[2] = static_cast<std::uint16_t>(c);
  TriangleNormal(triangle.normal, m_skinPoints[std::size_t(a)].position, m_skinPoints[std::size_t(b)].position,
                 m_skinPoints[std::size_t(c)].position);
  m_shadowTriangles.push_back(triangle);
}

int AnimMeshBuilder::AddBox(int material, const N_Vector3& lo, const N_Vector3& hi, const std::vector<Weight>& weights) {
  int first = 0;
  for (int i = 0; i < 8; ++i) {
    const int point = AddSkinPoint({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z}, weights);
    if (i == 0) first = point;
  }
  // Each face's corners counter-clockwise seen from outside, with its outward normal.
  constexpr int kFaces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  const N_Vector3 kNormals[6] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};
  constexpr float kUv[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  std::vector<Vertex> vertices;
  std::vector<std::uint16_t> indices;
  for (int f = 0; f < 6; ++f) {
    const auto base = static_cast<std::uint16_t>(vertices.size());
    for (int c = 0; c < 4; ++c) {
      Vertex v;
      v.skinPoint = first + kFaces[f][c];
      v.uv[0] = kUv[c][0];
      v.uv[1] = kUv[c][1];
      v.normal = kNormals[f];
      vertices.push_back(v);
    }
    for (const int c : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<std::uint16_t>(base + c));
    AddShadowTriangle(first + kFaces[f][0], first + kFaces[f][1], first + kFaces[f][2]);
    AddShadowTriangle(first + kFaces[f][0], first + kFaces[f][2], first + kFaces[f][3]);
  }
  AddSurface(material, vertices, indices);
  return first;
}

std::vector<std::uint8_t> AnimMeshBuilder::Write() const {
  std::vector<N_AnimBoneRecord> bones;
  for (const Bone& bone : m_bones) {
    N_AnimBoneRecord record;
    std::strncpy(record.name, bone.name.c_str(), sizeof record.name - 1);
    // The inverse of the bind transform: no rotation, minus the bind position.
    record.position = bone.bindPosition * -1.0f;
    record.parent = bone.parent;
    bones.push_back(record);
  }
  SectionFile file(animfile::kMeshMagic, animfile::kMeshVersion);
  file.Add(animfile::kMaterials, m_materials);
  file.Add(animfile::kLightmaps, m_lightmaps);
  file.Add(animfile::kVertices, m_vertices);
  file.Add(animfile::kIndices, m_indices);
  file.Add(animfile::kSurfaces, m_surfaces);
  file.Add(animfile::kSkinPoints, m_skinPoints);
  file.Add(animfile::kWeights, m_weights);
  file.Add(animfile::kBones, bones);
  file.Add(animfile::kShadowTriangles, m_shadowTriangles);
  return file.Bytes();
}

N_AnimKey AnimMeshBuilder::Key(int bone, const N_Quaternion& rotation) const {
  const Bone& b = m_bones[static_cast<std::size_t>(bone)];
  N_AnimKey key;
  key.position = b.parent < 0 ? b.bindPosition : b.bindPosition - m_bones[static_cast<std::size_t>(b.parent)].bindPosition;
  key.rotation = rotation;
  return key;
}

std::vector<N_AnimKey> AnimMeshBuilder::BindPose() const {
  std::vector<N_AnimKey> keys;
  for (std::size_t i = 0; i < m_bones.size(); ++i) keys.push_back(Key(static_cast<int>(i), N_Quaternion{}));
  return keys;
}

std::vector<std::uint8_t> WriteAnimation(const std::vector<AnimTrack>& tracks) {
  std::vector<N_AnimTrack> records;
  std::vector<N_AnimKey> keys;
  for (const AnimTrack& track : tracks) {
    N_AnimTrack record;
    std::strncpy(record.name, track.name.c_str(), sizeof record.name - 1);
    record.firstKey = static_cast<std::uint32_t>(keys.size());
    record.keyCount = static_cast<std::uint32_t>(track.keys.size());
    keys.insert(keys.end(), track.keys.begin(), track.keys.end());
    records.push_back(record);
  }
  SectionFile file(animfile::kAnimationMagic, animfile::kAnimationVersion);
  file.Add(animfile::kTracks, records);
  file.Add(animfile::kKeys, keys);
  return file.Bytes();
}

std::vector<AnimTrack> TracksFromFrames(const AnimMeshBuilder& mesh, const std::vector<std::vector<N_AnimKey>>& frames) {
  std::vector<AnimTrack> tracks;
  for (std::size_t b = 0; b < mesh.Bones().size(); ++b) {
    AnimTrack track{mesh.Bones()[b].name, {}};
    for (const auto& frame : frames) track.keys.push_back(frame[b]);
    tracks.push_back(std::move(track));
  }
  return tracks;
}

}  // namespace datagen

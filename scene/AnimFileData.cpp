#include "scene/AnimFileData.h"

#include "platform/win32.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the animation files are read as little-endian");

namespace {

template <typename T>
T Field(const std::uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}

N_Vector3 Vector(const std::uint8_t* bytes) {
  return {Field<float>(bytes), Field<float>(bytes + 4), Field<float>(bytes + 8)};
}

N_Quaternion Rotation(const std::uint8_t* bytes) {
  return {Field<float>(bytes), Field<float>(bytes + 4), Field<float>(bytes + 8), Field<float>(bytes + 12)};
}

/// Copies a name of a fixed field: up to its first NUL, always terminated (a field
/// without a NUL loses its last byte).
template <std::size_t N>
void Name(const std::uint8_t* bytes, char (&out)[N]) {
  std::memcpy(out, bytes, N - 1);
  out[N - 1] = '\0';
}

}  // namespace

bool N_AnimFileData::Read(const char* path) { return path && platform::ReadWholeFile(path, m_bytes); }

std::uint32_t N_AnimFileData::Word(int index) const {
  if (!HasDirectory() || index < 0 || index >= 2 * animfile::kDirectoryEntries) return 0;
  return Field<std::uint32_t>(reinterpret_cast<const std::uint8_t*>(m_bytes.data()) + 4 * index);
}

N_AnimDirEntry N_AnimFileData::Entry(int section) const { return {Word(2 * section), Word(2 * section + 1)}; }

bool N_AnimFileData::Locate(int section, std::size_t recordSize, std::size_t& offset, std::size_t& count) const {
  const N_AnimDirEntry entry = Entry(section);
  if (std::uint64_t(entry.offset) + entry.size > m_bytes.size()) return false;
  offset = entry.offset;
  count = entry.size / recordSize;
  return true;
}

void ReadRecord(const std::uint8_t* bytes, N_AnimNameRecord& out) {
  std::memcpy(out.unused, bytes, sizeof out.unused);
  Name(bytes + N_AnimNameRecord::kNameOffset, out.name);
}

void ReadRecord(const std::uint8_t* bytes, N_AnimVertexRecord& out) {
  out.skinPoint = Field<std::uint32_t>(bytes);
  for (int i = 0; i < 2; ++i) {
    out.uv0[i] = Field<float>(bytes + 4 + 4 * i);
    out.uv1[i] = Field<float>(bytes + 12 + 4 * i);
  }
  for (int i = 0; i < 3; ++i) out.normal[i] = Field<float>(bytes + 20 + 4 * i);
  out.colour = Field<std::uint32_t>(bytes + 32);
}

void ReadRecord(const std::uint8_t* bytes, std::uint16_t& out) { out = Field<std::uint16_t>(bytes); }

void ReadRecord(const std::uint8_t* bytes, N_AnimSurfaceRecord& out) {
  out.type = Field<std::uint32_t>(bytes);
  out.primitiveType = Field<std::uint32_t>(bytes + 4);
  out.material = Field<std::uint32_t>(bytes + 8);
  out.lightmap = Field<std::uint32_t>(bytes + 12);
  out.firstVertex = Field<std::uint32_t>(bytes + 16);
  out.vertexCount = Field<std::uint32_t>(bytes + 20);
  out.firstIndex = Field<std::uint32_t>(bytes + 24);
  out.indexCount = Field<std::uint16_t>(bytes + 28);
  out.unused = 0;  // bytes 30-31 are not read
  for (int i = 0; i < 6; ++i) out.box[i] = Field<float>(bytes + 32 + 4 * i);
}

void ReadRecord(const std::uint8_t* bytes, N_AnimSkinPoint& out) {
  out.position = Vector(bytes);
  out.firstWeight = Field<std::uint32_t>(bytes + 12);
  out.weightCount = Field<std::uint32_t>(bytes + 16);
}

void ReadRecord(const std::uint8_t* bytes, N_AnimWeight& out) {
  out.bone = Field<std::uint32_t>(bytes);
  out.weight = Field<float>(bytes + 4);
}

void ReadRecord(const std::uint8_t* bytes, N_AnimBoneRecord& out) {
  Name(bytes, out.name);
  out.position = Vector(bytes + 128);
  out.rotation = Rotation(bytes + 140);
  out.parent = Field<std::int32_t>(bytes + 156);
}

void ReadRecord(const std::uint8_t* bytes, N_ShadowTriangle& out) {
  for (int i = 0; i < 3; ++i) out.corner[i] = Field<std::uint16_t>(bytes + 2 * i);
  out.unused = 0;  // bytes 6-7 are not read
  out.normal = Vector(bytes + 8);
}

void ReadRecord(const std::uint8_t* bytes, N_AnimTrack& out) {
  Name(bytes, out.name);
  out.firstKey = Field<std::uint32_t>(bytes + 128);
  out.keyCount = Field<std::uint32_t>(bytes + 132);
}

void ReadRecord(const std::uint8_t* bytes, N_AnimKey& out) {
  out.position = Vector(bytes);
  out.rotation = Rotation(bytes + 12);
}

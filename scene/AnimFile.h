#pragma once
// The animated mesh file ("AMSH", version 140) and the animation file ("ANIM",
// version 130). Both are little-endian and start with a directory of 20 entries of
// two 32-bit words: entry 0 holds the magic and the version, entry k (1-19) the byte
// offset and byte size of section k. A section holds whole records of one size; a
// remainder is never read.
//
// The records below are the in-memory form of each file record, with the same fields
// in the same order; the reader (AnimFileData) and the writer (tools/AnimWriter) go
// through them field by field, never as raw memory.
#include "core/EdgeList.h"
#include "core/Quaternion.h"
#include "core/Vector3.h"

#include <cstddef>
#include <cstdint>

namespace animfile {

constexpr std::uint32_t kMeshMagic = 0x48534D41;  // "AMSH" in file order
constexpr std::uint32_t kMeshVersion = 140;
constexpr std::uint32_t kAnimationMagic = 0x4D494E41;  // "ANIM" in file order
constexpr std::uint32_t kAnimationVersion = 130;

constexpr int kDirectoryEntries = 20;
constexpr std::size_t kDirectorySize = 160;
static_assert(kDirectoryEntries * 8 == kDirectorySize);

/// Sections of the mesh file (materials to bones, shadow triangles) and of the
/// animation file (tracks, keys). The others are not read.
constexpr int kMaterials = 1;
constexpr int kLightmaps = 2;
constexpr int kVertices = 3;
constexpr int kIndices = 4;
constexpr int kSurfaces = 5;
constexpr int kSkinPoints = 6;
constexpr int kWeights = 7;
constexpr int kBones = 8;
constexpr int kTracks = 9;
constexpr int kKeys = 10;
constexpr int kShadowTriangles = 12;

/// Surface types taken by the reader; any other type leaves its surface empty.
constexpr std::uint32_t kLightmappedSurface = 1;
constexpr std::uint32_t kPlainSurface = 3;

constexpr std::size_t kBoneNameSize = 128;
constexpr std::size_t kMaterialNameSize = 256;

}  // namespace animfile

/// One directory entry (8 bytes).
struct N_AnimDirEntry {
  static constexpr std::size_t kSize = 8;
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};
static_assert(sizeof(N_AnimDirEntry) == N_AnimDirEntry::kSize);

/// A material or lightmap record (304 bytes): 48 bytes the game does not read, then
/// the NUL-terminated shader or lightmap texture name.
struct N_AnimNameRecord {
  static constexpr std::size_t kSize = 304;
  static constexpr std::size_t kNameOffset = 48;
  std::uint8_t unused[kNameOffset] = {};
  char name[animfile::kMaterialNameSize] = {};
};
static_assert(sizeof(N_AnimNameRecord) == N_AnimNameRecord::kSize);

/// A source vertex (36 bytes); its position comes from its skin point.
struct N_AnimVertexRecord {
  static constexpr std::size_t kSize = 36;
  std::uint32_t skinPoint = 0;
  float uv0[2] = {};
  float uv1[2] = {};  ///< the lightmap coordinate
  float normal[3] = {};
  std::uint32_t colour = 0;  ///< ARGB, copied unchanged
};
static_assert(sizeof(N_AnimVertexRecord) == N_AnimVertexRecord::kSize);

/// A surface (56 bytes). Indices are relative to the surface's first vertex.
struct N_AnimSurfaceRecord {
  static constexpr std::size_t kSize = 56;
  std::uint32_t type = 0;           ///< 1 lightmapped, 3 plain; others are not taken
  std::uint32_t primitiveType = 0;  ///< a SurfacePrimitive value, copied unchanged
  std::uint32_t material = 0;
  std::uint32_t lightmap = 0;  ///< type 1 only
  std::uint32_t firstVertex = 0;
  std::uint32_t vertexCount = 0;
  std::uint32_t firstIndex = 0;
  std::uint16_t indexCount = 0;
  std::uint16_t unused = 0;
  float box[6] = {};  ///< minimum x, y, z, maximum x, y, z
};
static_assert(sizeof(N_AnimSurfaceRecord) == N_AnimSurfaceRecord::kSize);

/// A skin point (20 bytes): a bind-space position and its run of weights.
struct N_AnimSkinPoint {
  static constexpr std::size_t kSize = 20;
  N_Vector3 position;
  std::uint32_t firstWeight = 0;
  std::uint32_t weightCount = 0;
};
static_assert(sizeof(N_AnimSkinPoint) == N_AnimSkinPoint::kSize);

/// A skin weight (8 bytes); a weight of exactly 0.0 is skipped by the skinning.
struct N_AnimWeight {
  static constexpr std::size_t kSize = 8;
  std::uint32_t bone = 0;
  float weight = 0.0f;
};
static_assert(sizeof(N_AnimWeight) == N_AnimWeight::kSize);

/// A bone (160 bytes). The stored transform is the inverse of the bone's bind
/// transform in mesh space.
struct N_AnimBoneRecord {
  static constexpr std::size_t kSize = 160;
  char name[animfile::kBoneNameSize] = {};  ///< compared byte for byte with track names
  N_Vector3 position;
  N_Quaternion rotation;
  std::int32_t parent = -1;  ///< -1 for a root
};
static_assert(sizeof(N_AnimBoneRecord) == N_AnimBoneRecord::kSize);

/// An animation track (136 bytes): the keys of one bone.
struct N_AnimTrack {
  static constexpr std::size_t kSize = 136;
  char name[animfile::kBoneNameSize] = {};
  std::uint32_t firstKey = 0;  ///< index in the key section
  std::uint32_t keyCount = 0;  ///< frames
};
static_assert(sizeof(N_AnimTrack) == N_AnimTrack::kSize);

/// One key (28 bytes): the bone's transform relative to its parent.
struct N_AnimKey {
  static constexpr std::size_t kSize = 28;
  N_Vector3 position;
  N_Quaternion rotation;
};
static_assert(sizeof(N_AnimKey) == N_AnimKey::kSize);

/// The shadow triangle of the mesh file is core's N_ShadowTriangle (20 bytes).
static_assert(sizeof(N_ShadowTriangle) == 20);

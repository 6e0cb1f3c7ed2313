#pragma once
// The records of the geometry sections 1 to 5, shared by the static mesh file ("MESH",
// version 140) and the level file ("ALF ", version 150): materials and lightmaps (a
// name at +48 of a 304-byte record), 44-byte surface vertices, 16-bit indices and
// 56-byte surface descriptors. Both files are little-endian and start with a
// 2048-byte header whose entry k (bytes 8k to 8k + 7) gives the file offset and byte
// size of section k.
//
// The structs are the in-memory form of the records, field for field; the reader
// (SurfaceSections.cpp) and the writer (tools/MeshWriter) go through them field by
// field, never as raw memory.
#include "render/SurfaceVertex.h"

#include <cstddef>
#include <cstdint>

namespace surfacefile {

constexpr std::size_t kHeaderSize = 2048;
constexpr std::uint32_t kMeshMagic = 0x4853454D;  // "MESH" in file order
constexpr std::uint32_t kMeshVersion = 140;

/// The geometry sections, numbered as in the header.
constexpr int kMaterials = 1;
constexpr int kLightmaps = 2;
constexpr int kVertices = 3;
constexpr int kIndices = 4;
constexpr int kSurfaces = 5;
constexpr int kSectionCount = 5;

/// Descriptor kinds that build a surface; any other kind leaves the surface as constructed.
constexpr std::uint32_t kLightmappedSurface = 1;
constexpr std::uint32_t kPlainSurface = 3;

constexpr std::size_t kNameOffset = 48;
constexpr std::size_t kNameSize = 256;
constexpr std::size_t kNameRecordSize = 304;
constexpr std::size_t kVertexSize = 44;
constexpr std::size_t kIndexSize = 2;
constexpr std::size_t kDescriptorSize = 56;

/// Byte offset of a section's directory entry in the header.
constexpr std::size_t EntryOffset(int section) { return 8 * static_cast<std::size_t>(section); }

}  // namespace surfacefile

/// A section's place in the file.
struct N_SectionEntry {
  std::uint32_t offset = 0;
  std::uint32_t size = 0;  ///< bytes
};

/// A material (its shader name) or a lightmap (its texture name): 48 bytes nobody
/// reads, then the NUL-terminated name.
struct N_NameRecord {
  std::uint8_t unused[surfacefile::kNameOffset] = {};
  char name[surfacefile::kNameSize] = {};
};
static_assert(sizeof(N_NameRecord) == surfacefile::kNameRecordSize);
static_assert(sizeof(N_SurfaceVertex) == surfacefile::kVertexSize);

/// One surface: a run of vertices and of indices (relative to the first vertex) drawn
/// with one material.
struct N_SurfaceDescriptor {
  std::uint32_t kind = 0;           ///< kLightmappedSurface, kPlainSurface or ignored
  std::uint32_t primitiveType = 0;  ///< a SurfacePrimitive value (render/MeshSurface.h)
  std::uint32_t material = 0;       ///< index into section 1
  std::uint32_t lightmap = 0;       ///< index into section 2 (lightmapped kind only)
  std::uint32_t firstVertex = 0;    ///< index into section 3
  std::uint32_t vertexCount = 0;
  std::uint32_t firstIndex = 0;     ///< index into section 4
  std::uint16_t indexCount = 0;
  std::uint16_t unused = 0;
  float box[6] = {};  ///< min x, y, z, max x, y, z
};
static_assert(sizeof(N_SurfaceDescriptor) == surfacefile::kDescriptorSize);

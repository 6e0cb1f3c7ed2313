#pragma once
// Writes static mesh files ("MESH", version 140): a 2048-byte header (magic, version,
// the offset and size of sections 1 to 5 at bytes 8-47, the rest zero), then the
// sections: 304-byte materials and lightmaps (name at +48), 44-byte vertices, 16-bit
// indices, 56-byte surface descriptors (scene/SurfaceRecords.h). The same records are
// sections 1 to 5 of the level file: its writer uses WriteSurfaceSections.
#include "scene/SurfaceRecords.h"
#include "tools/ByteWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

/// The content of sections 1 to 5.
struct SurfaceData {
  std::vector<std::string> materials;  ///< shader names
  std::vector<std::string> lightmaps;  ///< lightmap texture names
  std::vector<N_SurfaceVertex> vertices;
  std::vector<std::uint16_t> indices;
  std::vector<N_SurfaceDescriptor> surfaces;

  /// Appends a surface of its own vertices and indices (counted from its first vertex)
  /// drawn with a material, as a triangle list of the kind; its box is the vertices'
  /// bounds. Returns its number.
  std::uint32_t AddSurface(const std::vector<N_SurfaceVertex>& surfaceVertices,
                           const std::vector<std::uint16_t>& surfaceIndices, std::uint32_t material,
                           std::uint32_t kind = surfacefile::kPlainSurface, std::uint32_t lightmap = 0);
};

void WriteNameRecord(ByteWriter& out, const std::string& name);
void WriteVertex(ByteWriter& out, const N_SurfaceVertex& vertex);
void WriteDescriptor(ByteWriter& out, const N_SurfaceDescriptor& descriptor);

/// Where sections 1 to 5 lie when written one after the other from the offset.
std::array<N_SectionEntry, surfacefile::kSectionCount> LayOutSurfaceSections(const SurfaceData& data,
                                                                             std::uint32_t offset);
/// Appends the records of sections 1 to 5, in section order.
void WriteSurfaceSections(ByteWriter& out, const SurfaceData& data);
/// The whole static mesh file.
std::vector<std::uint8_t> EncodeMesh(const SurfaceData& data);

/// A vertex at a position with a colour and texture coordinates on both sets; the
/// normal along +z.
N_SurfaceVertex MeshVertex(float x, float y, float z, std::uint32_t colour, float u, float v);

}  // namespace datagen

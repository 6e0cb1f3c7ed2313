#include "tools/MeshWriter.h"

#include <algorithm>

namespace datagen {

using namespace surfacefile;

std::uint32_t SurfaceData::AddSurface(const std::vector<N_SurfaceVertex>& surfaceVertices,
                                      const std::vector<std::uint16_t>& surfaceIndices, std::uint32_t material,
                                      std::uint32_t kind, std::uint32_t lightmap) {
  N_SurfaceDescriptor d;
  d.kind = kind;
  d.primitiveType = 0;  // a triangle list
  d.material = material;
  d.lightmap = lightmap;
  d.firstVertex = static_cast<std::uint32_t>(vertices.size());
  d.vertexCount = static_cast<std::uint32_t>(surfaceVertices.size());
  d.firstIndex = static_cast<std::uint32_t>(indices.size());
  d.indexCount = static_cast<std::uint16_t>(surfaceIndices.size());
  for (int a = 0; a < 3; ++a) {
    d.box[a] = surfaceVertices.empty() ? 0.0f : surfaceVertices[0].position[a];
    d.box[a + 3] = d.box[a];
  }
  for (const N_SurfaceVertex& v : surfaceVertices) {
    for (int a = 0; a < 3; ++a) {
      d.box[a] = std::min(d.box[a], v.position[a]);
      d.box[a + 3] = std::max(d.box[a + 3], v.position[a]);
    }
  }
  vertices.insert(vertices.end(), surfaceVertices.begin(), surfaceVertices.end());
  indices.insert(indices.end(), surfaceIndices.begin(), surfaceIndices.end());
  surfaces.push_back(d);
  return static_cast<std::uint32_t>(surfaces.size() - 1);
}

void WriteNameRecord(ByteWriter& out, const std::string& name) {
  out.Zeros(kNameOffset);
  out.FixedText(name, kNameSize);
}
static_assert(kNameOffset + kNameSize == kNameRecordSize);

void WriteVertex(ByteWriter& out, const N_SurfaceVertex& v) {
  for (float f : v.position) out.F32(f);
  for (float f : v.normal) out.F32(f);
  out.U32(v.colour);
  for (float f : v.uv0) out.F32(f);
  for (float f : v.uv1) out.F32(f);
}
static_assert(4 * (3 + 3 + 1 + 2 + 2) == kVertexSize);

void WriteDescriptor(ByteWriter& out, const N_SurfaceDescriptor& d) {
  out.U32(d.kind);
  out.U32(d.primitiveType);
  out.U32(d.material);
  out.U32(d.lightmap);
  out.U32(d.firstVertex);
  out.U32(d.vertexCount);
  out.U32(d.firstIndex);
  out.U16(d.indexCount);
  out.U16(d.unused);
  for (float f : d.box) out.F32(f);
}
static_assert(4 * 7 + 2 + 2 + 4 * 6 == kDescriptorSize);

std::array<N_SectionEntry, kSectionCount> LayOutSurfaceSections(const SurfaceData& data, std::uint32_t offset) {
  const std::size_t sizes[kSectionCount] = {data.materials.size() * kNameRecordSize,
                                            data.lightmaps.size() * kNameRecordSize, data.vertices.size() * kVertexSize,
                                            data.indices.size() * kIndexSize, data.surfaces.size() * kDescriptorSize};
  std::array<N_SectionEntry, kSectionCount> entries;
  for (int k = 0; k < kSectionCount; ++k) {
    entries[std::size_t(k)] = {offset, static_cast<std::uint32_t>(sizes[k])};
    offset += static_cast<std::uint32_t>(sizes[k]);
  }
  return entries;
}

void WriteSurfaceSections(ByteWriter& out, const SurfaceData& data) {
  for (const std::string& name : data.materials) WriteNameRecord(out, name);
  for (const std::string& name : data.lightmaps) WriteNameRecord(out, name);
  for (const N_SurfaceVertex& v : data.vertices) WriteVertex(out, v);
  for (std::uint16_t i : data.indices) out.U16(i);
  for (const N_SurfaceDescriptor& d : data.surfaces) WriteDescriptor(out, d);
}

std::vector<std::uint8_t> EncodeMesh(const SurfaceData& data) {
  ByteWriter out;
  out.U32(kMeshMagic);
  out.U32(kMeshVersion);
  for (const N_SectionEntry& entry : LayOutSurfaceSections(data, std::uint32_t(kHeaderSize))) {
    out.U32(entry.offset);
    out.U32(entry.size);
  }
  out.Zeros(kHeaderSize - out.Size());
  WriteSurfaceSections(out, data);
  return out.Take();
}

N_SurfaceVertex MeshVertex(float x, float y, float z, std::uint32_t colour, float u, float v) {
  N_SurfaceVertex vertex{};
  vertex.position[0] = x;
  vertex.position[1] = y;
  vertex.position[2] = z;
  vertex.normal[2] = 1.0f;
  vertex.colour = colour;
  vertex.uv0[0] = vertex.uv1[0] = u;
  vertex.uv0[1] = vertex.uv1[1] = v;
  return vertex;
}

}  // namespace datagen

#include "scene/SurfaceSections.h"

#include "render/MeshSurface.h"
#include "render/ShaderMng.h"
#include "render/TexInfo.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using namespace surfacefile;

std::uint32_t Load32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Load16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
float LoadFloat(const std::uint8_t* p) {
  const std::uint32_t bits = Load32(p);
  float value;
  std::memcpy(&value, &bits, 4);
  return value;
}

/// A name field: false when no NUL ends it within the field.
bool ReadName(const std::uint8_t* record, std::string& out) {
  const auto* field = reinterpret_cast<const char*>(record + kNameOffset);
  const void* end = std::memchr(field, 0, kNameSize);
  if (!end) return false;
  out.assign(field, static_cast<const char*>(end));
  return true;
}

N_SurfaceVertex ReadVertex(const std::uint8_t* p) {
  N_SurfaceVertex v;
  for (int i = 0; i < 3; ++i) v.position[i] = LoadFloat(p + 4 * i);
  for (int i = 0; i < 3; ++i) v.normal[i] = LoadFloat(p + 12 + 4 * i);
  v.colour = Load32(p + 24);
  for (int i = 0; i < 2; ++i) v.uv0[i] = LoadFloat(p + 28 + 4 * i);
  for (int i = 0; i < 2; ++i) v.uv1[i] = LoadFloat(p + 36 + 4 * i);
  return v;
}

N_SurfaceDescriptor ReadDescriptor(const std::uint8_t* p) {
  N_SurfaceDescriptor d;
  d.kind = Load32(p);
  d.primitiveType = Load32(p + 4);
  d.material = Load32(p + 8);
  d.lightmap = Load32(p + 12);
  d.firstVertex = Load32(p + 16);
  d.vertexCount = Load32(p + 20);
  d.firstIndex = Load32(p + 24);
  d.indexCount = Load16(p + 28);
  d.unused = Load16(p + 30);
  for (int i = 0; i < 6; ++i) d.box[i] = LoadFloat(p + 32 + 4 * i);
  return d;
}

/// The records of a section: its first byte and record count; false (with the reason)
/// when it runs past the end of the file or holds a part of a record.
bool Locate(std::span<const std::uint8_t> file, const N_FileHeader& header, int section, std::size_t recordSize,
            const std::uint8_t*& first, std::size_t& count, std::string& error) {
  const N_SectionEntry entry = header.Entry(section);
  if (std::uint64_t(entry.offset) + entry.size > file.size()) {
    error = "section " + std::to_string(section) + " runs past the end of the file";
    return false;
  }
  if (entry.size % recordSize != 0) {
    error = "section " + std::to_string(section) + " is not a whole number of records";
    return false;
  }
  first = file.data() + entry.offset;
  count = entry.size / recordSize;
  return true;
}

bool ReadNames(std::span<const std::uint8_t> file, const N_FileHeader& header, int section,
               std::vector<std::string>& out, std::string& error) {
  const std::uint8_t* first = nullptr;
  std::size_t count = 0;
  if (!Locate(file, header, section, kNameRecordSize, first, count, error)) return false;
  out.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (!ReadName(first + i * kNameRecordSize, out[i])) {
      error = "name " + std::to_string(i) + " of section " + std::to_string(section) + " is not terminated";
      return false;
    }
  }
  return true;
}

/// The checks of one descriptor against the decoded sections.
bool CheckDescriptor(const N_SurfaceDescriptor& d, const N_SurfaceSections& s, std::string& error) {
  if (d.kind != kLightmappedSurface && d.kind != kPlainSurface) return true;  // nothing of it is read
  if (d.material >= s.materials.size()) {
    error = "material index " + std::to_string(d.material) + " out of range";
    return false;
  }
  if (d.kind == kLightmappedSurface && d.lightmap >= s.lightmaps.size()) {
    error = "lightmap index " + std::to_string(d.lightmap) + " out of range";
    return false;
  }
  if (std::uint64_t(d.firstVertex) + d.vertexCount > s.vertices.size()) {
    error = "vertex run past the vertex section";
    return false;
  }
  if (std::uint64_t(d.firstIndex) + d.indexCount > s.indices.size()) {
    error = "index run past the index section";
    return false;
  }
  const auto run = std::span(s.indices).subspan(d.firstIndex, d.indexCount);
  if (std::any_of(run.begin(), run.end(), [&](std::uint16_t i) { return i >= d.vertexCount; })) {
    error = "an index beyond the surface's vertices";
    return false;
  }
  return true;
}

}  // namespace

N_FileHeader::N_FileHeader(std::span<const std::uint8_t> file) : complete(file.size() >= sizeof bytes) {
  std::memcpy(bytes, file.data(), std::min(file.size(), sizeof bytes));
}

std::uint32_t N_FileHeader::Word(std::size_t offset) const { return Load32(bytes + offset); }

N_SectionEntry N_FileHeader::Entry(int section) const {
  return {Word(EntryOffset(section)), Word(EntryOffset(section) + 4)};
}

bool ReadSurfaceSections(std::span<const std::uint8_t> file, N_SurfaceSections& out, std::string& error) {
  const N_FileHeader header(file);
  if (!header.complete) {
    error = "the file is shorter than its " + std::to_string(kHeaderSize) + "-byte header";
    return false;
  }
  if (!ReadNames(file, header, kMaterials, out.materials, error)) return false;
  if (!ReadNames(file, header, kLightmaps, out.lightmaps, error)) return false;

  const std::uint8_t* first = nullptr;
  std::size_t count = 0;
  if (!Locate(file, header, kVertices, kVertexSize, first, count, error)) return false;
  out.vertices.resize(count);
  for (std::size_t i = 0; i < count; ++i) out.vertices[i] = ReadVertex(first + i * kVertexSize);

  if (!Locate(file, header, kIndices, kIndexSize, first, count, error)) return false;
  out.indices.resize(count);
  for (std::size_t i = 0; i < count; ++i) out.indices[i] = Load16(first + i * kIndexSize);

  if (!Locate(file, header, kSurfaces, kDescriptorSize, first, count, error)) return false;
  out.descriptors.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    out.descriptors[i] = ReadDescriptor(first + i * kDescriptorSize);
    if (!CheckDescriptor(out.descriptors[i], out, error)) {
      error = "surface " + std::to_string(i) + ": " + error;
      return false;
    }
  }
  return true;
}

void FillSurface(N_MeshSurface& surface, const N_SurfaceDescriptor& d, const N_SurfaceSections& sections,
                 N_SurfaceVertex* vertices, std::uint16_t* indices, const std::vector<TexInfo>& lightmaps,
                 N_ShaderMng* shaders) {
  if (d.kind != kLightmappedSurface && d.kind != kPlainSurface) return;
  surface.type = static_cast<std::int32_t>(d.kind);
  surface.primitiveType = static_cast<std::int32_t>(d.primitiveType);
  surface.shader = shaders ? shaders->AddShader(sections.materials[d.material].c_str(), 0, d.kind) : -1;
  if (d.kind == kLightmappedSurface) surface.lightmap = lightmaps[d.lightmap].texture;
  surface.vertices = vertices + d.firstVertex;
  surface.vertexCount = d.vertexCount;
  surface.indices = indices + d.firstIndex;
  surface.indexCount = d.indexCount;
  surface.indexed = 1;
  surface.vertexOffset = d.firstVertex;
  surface.indexOffset = d.firstIndex;
  surface.boundsMin = {d.box[0], d.box[1], d.box[2]};
  surface.boundsMax = {d.box[3], d.box[4], d.box[5]};
  const N_Vector3 half = (surface.boundsMax - surface.boundsMin) * 0.5f;
  surface.centre = surface.boundsMin + half;
  surface.radius = std::sqrt(Vec3Dot(half, half));
}

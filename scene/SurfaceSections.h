#pragma once
// Decoding and checking of the geometry sections 1 to 5 (scene/SurfaceRecords.h) of a
// static mesh or level file held in memory, and the surfaces built from them. Every
// count, offset and index is checked before anything is built from it, so a
// malformed file is refused whole and never read past.
#include "scene/SurfaceRecords.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct N_MeshSurface;
struct TexInfo;
class N_ShaderMng;

/// Sections 1 to 5 of a file, decoded.
struct N_SurfaceSections {
  std::vector<std::string> materials;  ///< shader names
  std::vector<std::string> lightmaps;  ///< lightmap texture names
  std::vector<N_SurfaceVertex> vertices;
  std::vector<std::uint16_t> indices;
  std::vector<N_SurfaceDescriptor> descriptors;
};

/// The 2048-byte header of a file: its first bytes, the rest zero when the file is shorter.
struct N_FileHeader {
  std::uint8_t bytes[surfacefile::kHeaderSize] = {};
  /// The file holds the whole header; a shorter file is malformed, whatever its zero-filled
  /// words would say.
  bool complete = false;

  explicit N_FileHeader(std::span<const std::uint8_t> file);
  std::uint32_t Word(std::size_t offset) const;
  N_SectionEntry Entry(int section) const;
};

/// Decodes sections 1 to 5 of the file and checks them: the whole header present; each
/// section inside the file and a whole number of records; every name terminated within
/// its field; for every descriptor of a surface kind (1 or 3) its material and (kind 1)
/// lightmap index in range, its vertex and index runs inside their sections and each of
/// its indices below its vertex count. False, with the first fault in `error`, when the file
/// breaks any of these; `out` is then left incomplete.
bool ReadSurfaceSections(std::span<const std::uint8_t> file, N_SurfaceSections& out, std::string& error);

/// Fills a surface from a checked descriptor as the level and mesh loaders do for the
/// surface kinds 1 and 3 (any other kind leaves the surface as constructed): kind,
/// primitive type, shader handle (AddShader with the material name, 0 and the kind;
/// -1 without a shader manager), the lightmap's texture handle (kind 1), vertex and
/// index pointers into the given arrays and their counts, box, centre and radius.
/// The surface's indices count from its first vertex and are always drawn indexed.
void FillSurface(N_MeshSurface& surface, const N_SurfaceDescriptor& descriptor, const N_SurfaceSections& sections,
                 N_SurfaceVertex* vertices, std::uint16_t* indices, const std::vector<TexInfo>& lightmaps,
                 N_ShaderMng* shaders);

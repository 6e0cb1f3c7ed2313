// Writes the seeds the sample data lacks: "config.cfg" as the game saves its settings
// at exit, the key definitions table as it saves the bindings, a cube and a volume
// texture from the sample data's DDS writer (the game's samples are all two-
// dimensional), and the sample courses' level files with their ground cut down to one
// triangle a surface (a whole course is a megabyte, mostly ground vertices: too long
// an input), everything else as the course generator writes it. Usage: fuzz_seeds
// <folder>.
#include "core/BuiltinVars.h"
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"
#include "platform/win32.h"
#include "tools/Course.h"
#include "tools/DdsWriter.h"
#include "tools/LevelWriter.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

datagen::RgbaImage Picture(int size, std::uint8_t tint) {
  datagen::RgbaImage image(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      image.At(x, y) = {static_cast<std::uint8_t>(x * 32), static_cast<std::uint8_t>(y * 32), tint, 200};
    }
  }
  return image;
}

bool WriteBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

bool WriteTextures() {
  using datagen::DdsFormat;
  std::array<datagen::RgbaImage, 6> faces;
  for (int i = 0; i < 6; ++i) faces[i] = Picture(8, static_cast<std::uint8_t>(i * 40));
  const std::vector<datagen::RgbaImage> slices{Picture(4, 0), Picture(4, 80), Picture(4, 160), Picture(4, 240)};
  return WriteBytes("cube.dds", datagen::EncodeCubeDds(faces, {DdsFormat::Dxt1, true})) &&
         WriteBytes("cube_a8r8g8b8.dds", datagen::EncodeCubeDds(faces, {DdsFormat::A8R8G8B8, false})) &&
         WriteBytes("volume.dds", datagen::EncodeVolumeDds(slices, {DdsFormat::X8R8G8B8, true})) &&
         WriteBytes("volume_dxt5.dds", datagen::EncodeVolumeDds(slices, {DdsFormat::Dxt5, false}));
}

/// Each surface keeps its material, kind and lightmap over its first triangle.
datagen::SurfaceData FirstTriangles(const datagen::SurfaceData& ground) {
  datagen::SurfaceData cut;
  cut.materials = ground.materials;
  cut.lightmaps = ground.lightmaps;
  for (const N_SurfaceDescriptor& d : ground.surfaces) {
    std::vector<N_SurfaceVertex> corners;
    for (std::uint32_t i = 0; i < 3 && i < d.vertexCount; ++i) corners.push_back(ground.vertices[d.firstVertex + i]);
    const std::vector<std::uint16_t> triangle =
        corners.size() == 3 ? std::vector<std::uint16_t>{0, 1, 2} : std::vector<std::uint16_t>{};
    cut.AddSurface(corners, triangle, d.material, d.kind, d.lightmap);
  }
  return cut;
}

bool WriteLevels() {
  bool ok = true;
  for (const course::Layout& layout : course::Layouts()) {
    datagen::LevelData level = course::BuildCourse(layout).level;
    level.geometry = FirstTriangles(level.geometry);
    ok = WriteBytes(("level_" + layout.name + ".alf").c_str(), datagen::EncodeLevel(level)) && ok;
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  std::filesystem::current_path(argv[1]);
  N_VarMng vars;
  g_varMng = &vars;
  RegisterBuiltinVars();
  vars.SetString("fuzz_text", "a \"quoted\" word", 0x21);  // a saved value with quotes
  const bool config = vars.Save("config.cfg");
  g_varMng = nullptr;
  platform::MakeDirectories("data\\tables\\");
  ResetKeyDefinitions();
  const bool keys = SaveKeyDefinitions();
  const bool textures = WriteTextures();
  const bool levels = WriteLevels();
  if (!config || !keys || !textures || !levels) {
    std::fprintf(stderr, "fuzz_seeds: could not write the seeds into %s\n", argv[1]);
    return 1;
  }
  return 0;
}

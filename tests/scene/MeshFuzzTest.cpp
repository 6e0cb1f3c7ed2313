// Fuzz-style: static mesh files cut short, with flipped bits and with mangled sizes,
// counts and indices. Every load must end cleanly or in the critical report (here a
// hook that throws out of the reporter before it would end the program); run under the
// sanitizer build, nothing is read past a buffer and nothing leaks.
#include "platform/win32.h"
#include "scene/StaticMesh.h"
#include "tests/scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

/// What the throwing box hook carries out of the critical report.
struct CriticalReport {
  std::string text;
};

/// The sample writer's mesh: a lightmapped and a plain surface over two materials.
std::vector<std::uint8_t> Seed() {
  datagen::SurfaceData data;
  data.materials = {"walls", "roof"};
  data.lightmaps = {"lm/one", "lm/two"};
  test::AddQuad(data, 0, 0, 1000, 0, 50);
  data.surfaces.back().kind = 1;
  data.surfaces.back().lightmap = 1;
  test::AddQuad(data, 1, 200, 1000, 0, 50);
  data.AddSurface({datagen::MeshVertex(0, 0, 0, 0, 0, 0), datagen::MeshVertex(1, 0, 0, 0, 1, 0),
                   datagen::MeshVertex(0, 0, 1, 0, 0, 1)},
                  {0, 1, 2}, 1);
  return datagen::EncodeMesh(data);
}

void Write(const std::vector<std::uint8_t>& bytes) {
  std::ofstream("fuzz.mesh", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void Put32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value) {
  if (at + 4 > file.size()) return;
  for (int i = 0; i < 4; ++i) file[at + std::size_t(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

/// Every index of a loaded mesh names one of its surface's vertices (reading them here
/// also reads every index run, which the sanitizer checks).
void ExpectInside(const N_StaticMesh& mesh) {
  for (const N_MeshSurface& s : mesh.Surfaces()) {
    for (std::uint16_t i = 0; i < s.indexCount; ++i) ASSERT_LT(s.indices[i], s.vertexCount);
  }
}

TEST(MeshFuzz, MutatedFilesLoadCleanlyOrEndInTheCriticalReport) {
  test::SceneRig scene;
  platform::SetDebugOutputHook([](const std::string&) {});  // a thousand reports: not on stderr
  platform::SetMessageBoxHook([](const std::string& text, const std::string& caption) {
    if (caption == "Critical error!") throw CriticalReport{text};
  });
  const std::vector<std::uint8_t> seed = Seed();
  std::uint32_t state = 2024;
  auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xFFFFFF; };
  // Words worth trying in a size, count, offset or index.
  const std::uint32_t words[] = {0, 1, 2, 3, 43, 44, 45, 55, 56, 303, 304, 2047, 2048, 0x7FFFFFFF, 0x80000000u,
                                 0xFFFFFFFFu, 0xFFFFFFF0u, std::uint32_t(seed.size()), std::uint32_t(seed.size() + 1)};
  // Descriptors start after the header, names, vertices and indices: their words.
  const std::size_t descriptors = seed.size() - 3 * 56;
  int loaded = 0, refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> file = seed;
    switch (round % 4) {
      case 0:  // cut short
        file.resize(next() % (file.size() + 1));
        break;
      case 1:  // flipped bits, mostly in the directory and the descriptors
        for (int e = 1 + int(next() % 4); e > 0; --e) {
          const std::size_t at = next() % 2 == 0 ? (next() % 2 ? 8 + next() % 40 : descriptors + next() % (3 * 56))
                                                 : next() % file.size();
          file[at] ^= static_cast<std::uint8_t>(1u << (next() % 8));
        }
        break;
      case 2:  // a section's offset or size replaced
        Put32(file, 8 + 4 * (next() % 10), words[next() % std::size(words)]);
        break;
      case 3:  // a descriptor's material, lightmap, first vertex, count, first index or count
        Put32(file, descriptors + 56 * (next() % 3) + 8 + 4 * (next() % 6), words[next() % std::size(words)]);
        break;
    }
    Write(file);
    auto mesh = std::make_unique<N_StaticMesh>();
    try {
      ASSERT_TRUE(mesh->Load("fuzz.mesh"));
      ExpectInside(*mesh);
      ++loaded;
    } catch (const CriticalReport& report) {
      ASSERT_TRUE(report.text == "fuzz.mesh is not valid mesh file!" ||
                  report.text.rfind("fuzz.mesh is v.", 0) == 0)
          << report.text;
      ++refused;
    }
  }
  platform::SetMessageBoxHook({});
  platform::SetDebugOutputHook({});
  EXPECT_GT(loaded, 300);
  EXPECT_GT(refused, 300);
}

}  // namespace

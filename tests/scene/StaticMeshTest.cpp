// Static mesh files and LOD objects: loading, buffers, ownership, the manager's names,
// culling of a mesh drawn at once, and the critical file errors.
#include "core/Matrix3.h"
#include "render/IndexBuffer.h"
#include "render/MeshSurface.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/LodObjectMng.h"
#include "scene/StaticMesh.h"
#include "tests/scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

int Triangles(const N_StaticMesh& mesh) {
  int triangles = 0;
  for (const N_MeshSurface& s : mesh.Surfaces()) triangles += s.indexCount / 3;
  return triangles;
}

/// A surface's device buffers hold its counts, and stream 0 of its binding is its buffer.
void ExpectBuffers(const N_MeshSurface& s) {
  ASSERT_NE(s.vertexBuffer, nullptr);
  ASSERT_NE(s.indexBuffer, nullptr);
  ASSERT_NE(s.binding, nullptr);
  EXPECT_EQ(s.vertexBuffer->GetSize(), s.vertexCount * 44u);
  EXPECT_EQ(s.vertexBuffer->GetStride(), s.vertexCount ? 44u : 0u);
  EXPECT_EQ(s.indexBuffer->GetSize(), s.indexCount * 2u);
  EXPECT_EQ(s.binding->Streams().at(0), s.vertexBuffer);
  if (s.vertexCount == 0) return;
  std::vector<N_SurfaceVertex> vertices(s.vertexCount);
  s.vertexBuffer->Read(0, s.vertexCount * 44u, vertices.data());
  EXPECT_EQ(std::memcmp(vertices.data(), s.vertices, s.vertexCount * 44u), 0) << "filled from the surface's vertices";
  std::vector<std::uint16_t> indices(s.indexCount);
  s.indexBuffer->Read(0, s.indexCount * 2u, indices.data());
  EXPECT_EQ(std::memcmp(indices.data(), s.indices, s.indexCount * 2u), 0);
}

TEST(StaticMesh, TheSampleTreeLoadsWithEveryNameItLooksUp) {
  test::SceneRig scene;
  const fs::path root = test::GameRoot();
  fs::create_directories("data/scripts");
  fs::copy_file(root / "data/scripts/trees.shader", "data/scripts/trees.shader");
  N_LodObjectMng lods;
  const float distances[3] = {2000.0f, 6000.0f, 15000.0f};
  const std::string base = (root / "data/meshes/trees/spruce").string();
  ASSERT_EQ(lods.Add(base, distances), 0);
  const N_LodObject* tree = lods.Get(0);
  ASSERT_NE(tree, nullptr);
  const int triangles[3] = {48, 4, 2};  // a cone on a trunk, two crossed quads, one quad
  for (int level = 0; level < 3; ++level) {
    const N_StaticMesh& mesh = *tree->Mesh(level);
    EXPECT_EQ(Triangles(mesh), triangles[level]) << level;
    EXPECT_EQ(tree->Distance(level), distances[level]);
    EXPECT_EQ(mesh.Instances().size(), mesh.Surfaces().size());
    for (const N_MeshSurface& s : mesh.Surfaces()) {
      ExpectBuffers(s);
      EXPECT_EQ(s.type, 3);
      EXPECT_NE(s.shader, -1);
      EXPECT_GT(s.radius, 0.0f);
    }
    EXPECT_LE(mesh.BoxMin().z, 0.0f);
    EXPECT_GE(mesh.BoxMax().z, 400.0f);
  }
  scene.LoadShaders();
  const std::string log = scene.rig.core.LogText();
  for (const char* material : {"textures/trees/needles", "textures/trees/bark", "textures/trees/spruce_cross",
                               "textures/trees/spruce_far"}) {
    EXPECT_NE(log.find(std::string(" +    ") + material + "\n"), std::string::npos) << material << " has a block";
  }
  ASSERT_FALSE(scene.host.adds.empty());
  for (const auto& add : scene.host.adds) {
    EXPECT_TRUE(fs::exists(root / ("data/" + add.name + ".dds"))) << add.name;
  }
}

TEST(StaticMesh, TheManagerLoadsEachNameOnceAndListsThemInByteOrder) {
  test::TempDir dir;
  test::CoreServices core;
  for (const char* name : {"zeta", "Beta", "_x", "alpha"}) test::WriteLodQuads(name, 5.0f);
  N_LodObjectMng lods;
  const float first[3] = {1, 2, 3}, second[3] = {7, 8, 9};
  EXPECT_EQ(lods.Add("zeta", first), 0);
  EXPECT_EQ(lods.Add("Beta", first), 1);
  EXPECT_EQ(lods.Add("_x", first), 2);
  EXPECT_EQ(lods.Add("alpha", first), 3);
  EXPECT_EQ(lods.Add("Beta", second), 1);
  EXPECT_EQ(lods.Get(1)->Distance(2), 3.0f) << "the first distances stay";
  EXPECT_EQ(lods.Add("", first), -1);
  EXPECT_EQ(lods.Count(), 4);
  EXPECT_EQ(lods.Get(-1), nullptr);
  EXPECT_EQ(lods.Get(4), nullptr);
  lods.LogNames();
  EXPECT_EQ(test::LinesStartingWith(core.LogText(), "LOD Mesh: "),
            (std::vector<std::string>{"LOD Mesh: Beta", "LOD Mesh: _x", "LOD Mesh: alpha", "LOD Mesh: zeta"}));
  lods.Clear();
  EXPECT_EQ(lods.Count(), 0);
  EXPECT_EQ(lods.Get(0), nullptr);
}

/// Three surfaces: a lightmapped one, a plain one and one of a kind the loader skips.
datagen::SurfaceData ThreeKinds() {
  datagen::SurfaceData mesh;
  mesh.materials = {"walls", "roof"};
  mesh.lightmaps = {"lm/one"};
  test::AddQuad(mesh, 0, 0, 1000, 0, 50);
  mesh.surfaces.back().kind = 1;
  test::AddQuad(mesh, 1, 200, 1000, 0, 50);
  test::AddQuad(mesh, 0, -200, 1000, 0, 50);
  mesh.surfaces.back().kind = 2;
  return mesh;
}

TEST(StaticMesh, OwnsItsShadersBuffersAndLightmaps) {
  test::SceneRig scene;
  const int held = scene.shaders.AddShader("held", 0, 3);  // another holder's shader, handle 0
  ASSERT_EQ(held, 0);
  test::WriteMesh("kinds.mesh", ThreeKinds());
  const std::size_t vertexBuffers = scene.render.VertexBuffers().size();
  const std::size_t indexBuffers = scene.render.IndexBuffers().size();
  const std::size_t bindings = scene.render.VertexBufferBindings().size();
  auto mesh = std::make_unique<N_StaticMesh>();
  EXPECT_TRUE(mesh->Load("kinds.mesh"));
  const auto& s = mesh->Surfaces();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(mesh->Materials(), (std::vector<std::string>{"walls", "roof"}));
  ASSERT_EQ(scene.textureDevice.created.size(), 2u);  // the lightmap, then its fallback
  EXPECT_EQ(scene.textureDevice.created[0], "data\\lm/one.dds");
  EXPECT_EQ(mesh->Lightmaps()[0].memory, 8u) << "the bytes the device counted, to be taken off again";
  const std::int32_t lightmap = mesh->Lightmaps()[0].texture;
  EXPECT_EQ(s[0].lightmap, mesh->Lightmaps()[0].texture);
  EXPECT_EQ(s[1].lightmap, -1);
  EXPECT_EQ(s[0].shader, 1);
  EXPECT_EQ(s[1].shader, 2);
  EXPECT_EQ(s[1].vertices, s[0].vertices + 4) << "the surface's own run of the vertices";
  EXPECT_EQ(s[1].indexed, 1);
  EXPECT_EQ(s[1].centre.x, 200.0f);
  EXPECT_FLOAT_EQ(s[1].radius, std::sqrt(2.0f) * 50.0f);
  // The skipped kind keeps what the surface was made with and still gets (empty) buffers.
  EXPECT_EQ(s[2].type, 0);
  EXPECT_EQ(s[2].shader, -1);
  EXPECT_EQ(s[2].vertexCount, 0u);
  EXPECT_EQ(s[2].indexCount, 0u);
  for (const N_MeshSurface& surface : s) ExpectBuffers(surface);
  EXPECT_EQ(s[2].vertexBuffer->DeviceBuffer(), nullptr);
  EXPECT_NE(scene.rig.NewLog().find("!!! Error: Attempt to create the vertex buffer with 0 vertices\n"),
            std::string::npos);
  // The box over all surfaces takes in the skipped one's zero box too.
  EXPECT_EQ(mesh->BoxMin().x, -50.0f);
  EXPECT_EQ(mesh->BoxMax().x, 250.0f);
  EXPECT_EQ(mesh->BoxMin().y, 0.0f);
  EXPECT_EQ(mesh->BoxMax().y, 1000.0f);
  EXPECT_EQ(scene.render.VertexBuffers().size(), vertexBuffers + 3);
  // Drawing skips the empty surface.
  scene.rig.device->ClearCalls();
  scene.render.SetShader(scene.shaders.GetShader(held), -1);
  scene.render.DrawSurface(&mesh->Surfaces()[2]);
  EXPECT_TRUE(scene.rig.device->CallsStartingWith("DrawIndexedPrimitive").empty());

  mesh.reset();
  EXPECT_TRUE(scene.shaders.GetEntry(1)->IsFree());
  EXPECT_TRUE(scene.shaders.GetEntry(2)->IsFree());
  EXPECT_EQ(scene.shaders.GetEntry(held)->refCount, 1) << "-1 gives back no other holder's shader";
  EXPECT_EQ(scene.render.VertexBuffers().size(), vertexBuffers);
  EXPECT_EQ(scene.render.IndexBuffers().size(), indexBuffers);
  EXPECT_EQ(scene.render.VertexBufferBindings().size(), bindings);
  EXPECT_EQ(scene.textureDevice.released, std::vector<std::int32_t>{lightmap});
}

TEST(StaticMesh, RenderCullsTheMovedBoxGrownBy30Units) {
  // The camera at the origin looks along +y with a 90-degree field: the right edge of
  // the view is the plane x = y. Quads at y 1000, 20 wide, centred at x.
  test::SceneRig scene;
  datagen::SurfaceData data;
  data.materials = {"m"};
  for (float x : {0.0f, 1020.0f, 1100.0f}) test::AddQuad(data, 0, x, 1000, 0, 10);
  test::WriteMesh("row.mesh", data);
  N_StaticMesh mesh;
  mesh.Load("row.mesh");
  scene.LoadShaders();
  ASSERT_NE(scene.shaders.GetShader(mesh.Surfaces()[0].shader), nullptr);
  N_Matrix3 halfTurn;
  halfTurn.RotationZ(3.14159265f);
  const struct {
    N_Vector3 position;
    const N_Matrix3* orientation;
    std::vector<int> drawn;
  } cases[] = {
      {{0, 0, 0}, nullptr, {0, 1}},         // 1020: 10 beyond the edge, inside the grown box
      {{-500, 0, 0}, nullptr, {0, 1, 2}},   // moved left: all in view
      {{0, 0, 0}, &halfTurn, {0, 1}},       // the box is not turned
      {{0, -2000, 0}, nullptr, {}},         // behind the camera
  };
  for (const auto& c : cases) {
    scene.render.Forget();
    mesh.Render(c.position, c.orientation ? *c.orientation : N_Matrix3{});
    std::vector<int> drawn;
    for (const N_MeshSurface* s : scene.render.draws) drawn.push_back(int(s - mesh.Surfaces().data()));
    EXPECT_EQ(drawn, c.drawn) << c.position.x << ", " << c.position.y;
    ASSERT_EQ(scene.render.shaders.size(), drawn.size());
    for (const auto& call : scene.render.shaders) EXPECT_EQ(call.shader, scene.shaders.GetShader(mesh.Surfaces()[0].shader));
  }
}

/// Each file error ends the program with the game's critical report.
TEST(StaticMeshDeathTest, FileErrorsAreCritical) {
  test::TempDir dir;
  test::CoreServices core;
  datagen::SurfaceData data;
  data.materials = {"m"};
  test::AddQuad(data, 0, 0, 0, 0, 1);
  std::vector<std::uint8_t> good = datagen::EncodeMesh(data);
  auto write = [](const char* name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  auto magic = good;
  magic[0] = 'X';
  write("magic.mesh", magic);
  auto version = good;
  version[4] = 139;
  write("version.mesh", version);
  auto cut = good;
  cut.resize(cut.size() - 1);  // the last descriptor loses a byte
  write("cut.mesh", cut);
  write("short.mesh", {'M', 'E', 'S', 'H', 140, 0, 0});  // read zero-filled: version 140, no sections
  const struct {
    const char* file;
    const char* text;
  } cases[] = {
      {"missing.mesh", "file missing\\.mesh not found!"},
      {"magic.mesh", "magic\\.mesh is not valid mesh file!"},
      {"version.mesh", "version\\.mesh is v\\.139 NOT supported version, supported version is 1\\.40"},
      {"cut.mesh", "cut\\.mesh is not valid mesh file!"},
      {"short.mesh", "short\\.mesh is not valid mesh file!"},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          N_StaticMesh mesh;
          mesh.Load(c.file);
        },
        testing::ExitedWithCode(255), c.text)
        << c.file;
  }
}

}  // namespace

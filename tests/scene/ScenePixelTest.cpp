// The static scene on the real OpenGL device (Xvfb with Mesa): drawables drawn through
// the render list from their meshes' own buffers, seen through the engine's camera.
#include "render/Shader.h"
#include "render/ShaderStage.h"
#include "render/TexInfo.h"
#include "scene/LevelObjectList.h"
#include "scene/LodObject.h"
#include "scene/LodRenderObject.h"
#include "scene/MeshObject.h"
#include "scene/SceneAccess.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/scene/SceneTestSupport.h"
#include "tests/support/GlRender.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

/// The camera stands at the origin looking along +y, z up, 90 degrees across:
/// a point (x, y, z) lands at pixel (160 + 160 x / y, 120 - 160 z / y).
class ScenePixels : public test::GlRender {
 public:
  ScenePixels() : GlRender(kWidth, kHeight) {
    Start();
    g_render = renderObject;
    g_scene.frustum = &frustum;
    g_scene.shaderMng = &shaders;
    camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
  }
  ~ScenePixels() override {
    list.Clear();
    g_scene = N_SceneAccess{};
    g_render = nullptr;
  }

  /// Builds the shader records; each material named gets a texture of one colour.
  void Colour(const std::vector<std::pair<std::string, DWORD>>& materials) {
    std::vector<int> handles;
    for (const auto& [name, colour] : materials) handles.push_back(shaders.AddShader(name.c_str(), 0, 3));
    shaders.LoadShaders();
    for (std::size_t i = 0; i < handles.size(); ++i) {
      N_Shader* shader = shaders.GetShader(handles[i]);
      ASSERT_NE(shader, nullptr);
      *shader->stages[0]->textures[0] = *Texture(1, 1, {materials[i].second});
      shaders.ReleaseShader(handles[i]);  // the meshes hold their own references
    }
  }
  /// A frame cleared to black with the list drawn; the back buffer is read before EndFrame.
  void Frame(float dt) {
    render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
    render().BeginFrame();
    frustum.Build(camera);
    render().SetupCamera(&camera, 1);
    list.Render(dt);
    list.RenderSorted();
  }

  test::FakeShaderHost host;
  N_ShaderMng shaders{64, host};
  N_Frustum frustum;
  N_Camera camera;
  N_LevelObjectList list;
};

TEST(ScenePixels, AMeshObjectsQuadLandsOnItsProjectedPixels) {
  ScenePixels rig;
  datagen::SurfaceData data;
  data.materials = {"quad"};
  test::AddQuad(data, 0, 300, 1000, 0, 100);  // x 200..400, z -100..100 at y 1000
  test::WriteMesh("quad.mesh", data);
  N_StaticMesh mesh;
  mesh.Load("quad.mesh");
  rig.Colour({{"quad", kRed}});
  auto object = std::make_unique<N_MeshObject>(mesh.Surfaces().data(), 1);
  const float box[6] = {200, 999, -100, 400, 1001, 100};
  object->SetTransform(box, 0, N_RenderObject::kMeshObject, N_Matrix4{}, 0);
  rig.list.Add(std::move(object));
  rig.list.Sort();
  rig.Frame(0.0f);
  // Pixels x 192..224, y 104..136.
  const struct {
    int x, y;
    DWORD colour;
  } probes[] = {{208, 120, 0xFF0000}, {194, 106, 0xFF0000}, {222, 134, 0xFF0000}, {188, 120, 0},
                {228, 120, 0},        {208, 100, 0},        {208, 140, 0},        {160, 120, 0}};
  for (const auto& p : probes) EXPECT_EQ(rig.Pixel(p.x, p.y), p.colour) << p.x << ", " << p.y;
  rig.render().EndFrame();
}

TEST(ScenePixels, ALodObjectShowsTheMeshOfItsDistance) {
  ScenePixels rig;
  test::WriteLodQuads("lod", 200.0f);
  const float distances[3] = {1000.0f, 2000.0f, 3000.0f};
  const auto lod = N_LodObject::Load("lod", distances);
  rig.Colour({{"lod_1", kRed}, {"lod_2", kGreen}, {"lod_3", kBlue}});
  for (int level = 0; level < 3; ++level) {
    for (const auto& record : lod->Mesh(level)->Instances()) rig.list.AddSurfaceRecord(record.get());
  }
  auto tree = std::make_unique<N_LodRenderObject>(lod->Mesh(0), lod->Mesh(1), lod->Mesh(2), 1000, 2000, 3000);
  N_LodRenderObject* placed = tree.get();
  rig.list.Add(std::move(tree));
  rig.list.Sort();
  const struct {
    float y;
    DWORD colour;
  } cases[] = {{500, 0xFF0000}, {1500, 0x00FF00}, {2500, 0x0000FF}, {3500, 0x000000}};
  for (const auto& c : cases) {
    N_Matrix4 at;  // column form: the translation in elements 3, 7, 11
    at.m[7] = c.y;
    const float box[6] = {-200, c.y - 1, -200, 200, c.y + 1, 200};
    placed->SetTransform(box, 0, N_RenderObject::kLodObject, at, -1);
    rig.Frame(0.0f);
    EXPECT_EQ(rig.Pixel(160, 120), c.colour) << "at " << c.y;
    EXPECT_EQ(rig.Pixel(20, 20), 0u);
    rig.render().EndFrame();
  }
}

TEST(ScenePixels, AMovingObjectMovesBetweenFrames) {
  ScenePixels rig;
  test::WriteLodQuads("box", 100.0f);  // quads about the origin; only the first file is used
  N_StaticMesh mesh;
  mesh.Load("box_1.mesh");
  rig.Colour({{"box_1", kGreen}});
  auto object = std::make_unique<N_MeshObject>(mesh.Surfaces().data(), 1);
  const float box[6] = {-100, -1, -100, 100, 1, 100};
  object->SetTransform(box, 0, N_RenderObject::kMeshObject, N_Matrix4{}, 0);
  const N_PathKey keys[3] = {{{-300, 1000, 0}, {}}, {{300, 1000, 0}, {}}, {{900, 1000, 0}, {}}};
  object->path = std::make_unique<N_CameraPath>(keys, 3, 0, 1.0f);
  rig.list.Add(std::move(object));
  rig.list.Sort();
  rig.Frame(0.0f);  // at x -300: pixels 96..128
  const DWORD leftBefore = rig.Pixel(112, 120), middleBefore = rig.Pixel(160, 120);
  rig.render().EndFrame();
  rig.Frame(0.5f);  // at x 0: pixels 144..176
  EXPECT_EQ(leftBefore, 0x00FF00u);
  EXPECT_EQ(middleBefore, 0u);
  EXPECT_EQ(rig.Pixel(112, 120), 0u);
  EXPECT_EQ(rig.Pixel(160, 120), 0x00FF00u);
  rig.render().EndFrame();
}

}  // namespace

#include "tests/scene/FigureTestSupport.h"

#include "core/FormatString.h"
#include "render/RenderStateCache.h"
#include "scene/SceneAccess.h"
#include "tests/support/TestEnv.h"
#include "tools/DdsWriter.h"

#include <utility>

namespace test {

const char* const kSixModels[6] = {"ref_model1",   "ref_model2",   "ref_model3",
                                   "ref_model_F1", "ref_model_F2", "ref_model_F3"};

std::string ReferenceMesh(const std::string& model) { return "data\\anim\\ref_meshe\\" + model + ".mesh"; }

std::string TestGear(const char* item, int k) { return FormatString("textures\\testgear\\%s_%d", item, k); }

namespace {

/// A 16 x 16 picture of one colour, with a band of another across rows v0..v1 (0-1).
datagen::RgbaImage Plain(datagen::Rgba colour, datagen::Rgba band = {}, float v0 = 0.0f, float v1 = 0.0f) {
  constexpr int kSize = 16;
  datagen::RgbaImage image(kSize, kSize, colour);
  for (int y = 0; y < kSize; ++y) {
    const float v = (y + 0.5f) / kSize;
    if (v < v0 || v >= v1) continue;
    for (int x = 0; x < kSize; ++x) image.At(x, y) = band;
  }
  return image;
}

}  // namespace

void WriteTestGear() {
  const std::pair<std::string, datagen::RgbaImage> textures[] = {
      {"suit_1", Plain({200, 30, 30, 255})},
      {"suit_2", Plain({30, 60, 200, 255})},
      {"suit_3", Plain({30, 150, 60, 255})},
      {"suit_4", Plain({230, 200, 30, 255})},
      {"suit_5", Plain({140, 40, 170, 255})},
      {"suit_6", Plain({240, 120, 20, 255})},
      {"sticks_1", Plain({40, 40, 45, 255})},
      {"sticks_2", Plain({170, 170, 180, 255})},
      {"gun_1", Plain({110, 70, 35, 255}, {40, 40, 40, 255}, 0.0f, 0.3f)},
      {"gun_2", Plain({35, 35, 40, 255})},
      {"ski_1", Plain({240, 240, 240, 255}, {200, 30, 30, 255}, 0.4f, 0.6f)},
      {"ski_2", Plain({40, 80, 200, 255}, {240, 240, 240, 255}, 0.4f, 0.6f)},
      {"ski_3", Plain({230, 200, 30, 255}, {30, 30, 30, 255}, 0.4f, 0.6f)},
  };
  for (const auto& [name, picture] : textures) {
    WriteBytes("data/textures/testgear/" + name + ".dds",
               datagen::EncodeDds(picture, {datagen::DdsFormat::A8R8G8B8, true}));
  }
}

void ShaderNotingRender::SetShader(N_Shader* shader, std::int32_t lightmap) {
  bound.push_back(shader);
  N_Render::SetShader(shader, lightmap);
}

FigureRig::FigureRig(platform::d3d9::RecordingDirect3DConfig config)
    : AnimRig(std::move(config), [] { return new ShaderNotingRender; }) {
  g_renderStateCache.currentShader = nullptr;  // a rig before this one may have left its material bound
  CopyFigureData(harness.dir);
  g_scene.particles = &particles;
  g_scene.figureRoster = &roster;
  particles.ParseScript("data\\scripts\\figures.particle");
}

FigureRig::~FigureRig() {
  figures.reset();
  particles.DestroyAllSystems();  // while the renderer still takes the buffers back
  g_renderStateCache.currentShader = nullptr;
  g_scene.figureRoster = nullptr;
  g_scene.particles = nullptr;
}

N_FigureAthlete& FigureRig::AddAthlete(const std::string& mesh) {
  N_FigureAthlete& athlete = athletes.emplace_back();
  const int n = static_cast<int>(athletes.size());
  athlete.Mesh = mesh;
  athlete.DressShader = shaders.AddShader(TestGear("suit", (n - 1) % 6 + 1).c_str(), 0, 3);
  athlete.SticksShader = shaders.AddShader(TestGear("sticks", (n - 1) % 2 + 1).c_str(), 0, 3);
  athlete.GunShader = shaders.AddShader(TestGear("gun", (n - 1) % 2 + 1).c_str(), 0, 3);
  athlete.SkiShader = shaders.AddShader(TestGear("ski", (n - 1) % 3 + 1).c_str(), 0, 3);
  roster.athletes.push_back(&athlete);
  return athlete;
}

void FigureRig::AddSixAthletes() {
  for (const char* model : kSixModels) AddAthlete(ReferenceMesh(model));
}

void FigureRig::AddBibs() {
  for (int n = 1; n <= N_FigureRoster::kBibCount; ++n) {
    roster.bibShaders[std::size_t(n - 1)] = shaders.AddShader(FormatString("textures\\lyziari\\startnum%02d", n).c_str(), 0, 3);
  }
}

N_AnimationFactory2& FigureRig::LoadFigures() {
  figures = std::make_unique<N_AnimationFactory2>();
  figures->Load();
  LoadShaders();
  return *figures;
}

N_AnimationFactory2& FigureRig::LoadSixFigures() {
  AddSixAthletes();
  AddBibs();
  return LoadFigures();
}

N_Matrix3 Facing(const N_Vector3& direction) {
  N_Matrix3 rotation;
  rotation.FromDirection(direction);
  return rotation;
}

}  // namespace test

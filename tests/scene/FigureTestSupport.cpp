#include "tests/scene/FigureTestSupport.h"

#include "core/FormatString.h"
#include "render/RenderStateCache.h"
#include "scene/SceneAccess.h"
#include "tests/support/TestEnv.h"

namespace test {

const char* const kSixModels[6] = {"ref_model1",   "ref_model2",   "ref_model3",
                                   "ref_model_F1", "ref_model_F2", "ref_model_F3"};

std::string ReferenceMesh(const std::string& model) { return "data\\anim\\ref_meshe\\" + model + ".mesh"; }

void ShaderNotingRender::SetShader(N_Shader* shader, std::int32_t lightmap) {
  bound.push_back(shader);
  N_Render::SetShader(shader, lightmap);
}

FigureRig::FigureRig(platform::d3d9::RecordingDirect3DConfig config)
    : AnimRig(std::move(config), [] { return new ShaderNotingRender; }) {
  g_renderStateCache.currentShader = nullptr;  // a rig before this one may have left its material bound
  CopyStartUpData();
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
  athlete.mesh = mesh;
  athlete.dressShader = shaders.AddShader(FormatString("textures\\lyziari\\suit_%d", (n - 1) % 6 + 1).c_str(), 0, 3);
  athlete.sticksShader = shaders.AddShader(FormatString("textures\\lyziari\\sticks_%d", (n - 1) % 2 + 1).c_str(), 0, 3);
  athlete.gunShader = shaders.AddShader(FormatString("textures\\lyziari\\gun_%d", (n - 1) % 2 + 1).c_str(), 0, 3);
  athlete.skiShader = shaders.AddShader(FormatString("textures\\lyziari\\ski_%d", (n - 1) % 3 + 1).c_str(), 0, 3);
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

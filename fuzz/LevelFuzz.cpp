// The level loader, N_Level::Load, with the level's effects, a few frames of it and its
// teardown as a level change does it. The input is the level file
// "data\levels\fuzz.alf" ("mapname"); the game root's spectators, trees and props are
// copied into the fuzz directory once, so a level that passes the reader's checks is
// built whole: geometry, lights and flares, grid, cameras and paths, props, spectators,
// LOD objects and the drawables of a level object list; then its effects (shared
// buffers, billboards, particles, sun, sprites). Then the frames the world draws of it,
// through each view of the race camera in turn (the menu spline, the sprint, hunting
// and relay fly-bys), short and long: the camera manager's update, the level objects
// moved along their paths and drawn, the spectators and props, the flares, the light
// grid sampled where the camera stands, the fog and the particles.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "fuzz/SceneSupport.h"
#include "render/Render.h"
#include "scene/CameraMng.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"
#include "scene/ParticleMng.h"
#include "scene/RaceCamera.h"
#include "scene/SceneAccess.h"

#include <filesystem>
#include <memory>

namespace {

void CopySupportFiles() {
  namespace fs = std::filesystem;
  for (const char* folder : {"data/Ai", "data/meshes", "data/anim"}) {
    fs::copy(fs::path(NAVO_GAME_ROOT) / folder, folder, fs::copy_options::recursive | fs::copy_options::skip_existing);
  }
}

/// Frame times of each view: an ordinary frame and a stall of minutes (paths jump
/// many keys and wrap or hold).
constexpr float kFrameTimes[] = {0.016f, 600.0f};

/// The frames of the race camera's four modes, as N_World::Update and its race view draw them.
void DrawFrames(N_Level& level, N_LevelObjectList& objects, N_ParticleMng& particles, fuzz::Scene& scene) {
  N_CameraMng cameras;
  cameras.Setup();
  for (std::int32_t mode = N_RaceCamera::kSpline; mode <= N_RaceCamera::kRelay; ++mode) {
    g_varMng->SetInt("viewmode", 0, 0);  // a fly-by's end hands over to the free camera
    cameras.ReadViewMode();
    cameras.SetRaceCameraMode(mode);
    for (const float dt : kFrameTimes) {
      cameras.Update(dt);
      level.UpdateFog(dt);
      N_Camera* camera = cameras.RaceController().GetActiveCamera();
      if (!camera) camera = &scene.camera;
      scene.frustum.Build(*camera);
      g_scene.camera = camera;
      g_render->SetupCamera(camera, 1);
      objects.Render(dt);
      objects.RenderSorted();
      level.RenderActors(dt);
      level.UpdateFlares();
      level.RenderFlares();
      level.SetAmbientFromLightGrid(camera->position);
      particles.UpdateAll();
      particles.RenderAll();
    }
  }
  g_scene.camera = &scene.camera;
  scene.frustum.Build(scene.camera);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Scene& scene = fuzz::SceneOnRecordingRenderer();
  static const bool copied = (CopySupportFiles(), true);
  (void)copied;
  fuzz::WriteFile("data\\levels\\fuzz.alf", data, size);
  g_varMng->SetString("mapname", "fuzz.alf", 0);

  N_ParticleMng particles;
  N_LevelObjectList objects;
  g_scene.particles = &particles;
  g_scene.levelObjects = &objects;
  auto level = std::make_unique<N_Level>();
  g_scene.level = level.get();
  if (fuzz::Guarded([&] { level->Load(); })) {
    objects.Sort();
    if (fuzz::Guarded([&] { level->InitEffects(); })) {
      scene.shaders.LoadShaders();
      fuzz::Guarded([&] { DrawFrames(*level, objects, particles, scene); });
    }
  }
  g_scene.level = &scene.level;
  level.reset();
  objects.Clear();
  g_scene.levelObjects = nullptr;
  particles.DestroyAllSystems();
  g_scene.particles = nullptr;
  fuzz::ForgetCalls();
  return 0;
}

// The level loader, N_Level::Load, with the level's effects and its teardown as a level
// change does it. The input is the level file "data\levels\fuzz.alf" ("mapname"); the
// game root's spectators, trees and props are copied into the fuzz directory once, so
// a level that passes the reader's checks is built whole: geometry, lights and flares,
// grid, cameras and paths, props, spectators, LOD objects and the drawables of a level
// object list; then its effects (shared buffers, billboards, particles, sun, sprites).
#include "core/Globals.h"
#include "core/VarMng.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"
#include "scene/ParticleMng.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  N_Render& render = fuzz::RecordingRenderer();
  static const bool copied = (CopySupportFiles(), true);
  (void)copied;
  g_render = &render;
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
    fuzz::Guarded([&] { level->InitEffects(); });
  }
  g_scene.level = nullptr;
  level.reset();
  objects.Clear();
  g_scene.levelObjects = nullptr;
  particles.DestroyAllSystems();
  g_scene.particles = nullptr;
  fuzz::ForgetCalls();
  return 0;
}

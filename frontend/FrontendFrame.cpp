#include "frontend/FrontendFrame.h"

#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "race/World.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "scene/LevelObjectList.h"
#include "sound/SoundMng.h"

#include <utility>

namespace frontend {
namespace {

FrameObserver g_observer;

void Notify(FrameKind kind, bool drawn, float overlay) {
  if (g_observer) g_observer(FrameEvent{kind, drawn, overlay});
}

/// The 2D set-up's camera while the world has none: the whole window. It lives for the
/// program, as the renderer keeps the last camera set up as its current one.
N_Camera& WindowCamera() {
  static N_Camera camera;
  const int width = g_varMng ? g_varMng->GetInt("v_width") : 640;
  const int height = g_varMng ? g_varMng->GetInt("v_height") : 480;
  camera.SetProjection(90.0f, float(width), float(height), 0.0f, 0.0f);
  return camera;
}

/// Timer, input (the devices are read, nothing acts on them) and sound, as the main
/// loop runs them.
void Services(FrameKind kind, float overlay) {
  Notify(kind, false, overlay);
  if (g_timer) g_timer->Tick();
  if (g_inputMng) g_inputMng->Update();
  if (g_soundMng) g_soundMng->Update();
}

/// The pages and the text the frame queued.
void DrawPages() {
  if (!g_world) return;
  g_world->GuiMng().Render();
  g_world->TextBatch().Flush();
}

}  // namespace

void SetFrameObserver(FrameObserver observer) { g_observer = std::move(observer); }

void RunBareFrame(float overlay) {
  Services(FrameKind::kBare, overlay);
  if (!g_render) return;
  g_render->BeginFrame();
  N_Camera* camera = g_world ? g_world->CurrentCamera() : nullptr;
  if (camera) {
    g_render->SetupCamera(camera, 1);
    g_world->LevelObjects().RenderSorted();
    g_render->SetupCamera(camera, 0);
  } else {
    g_render->SetupCamera(&WindowCamera(), 0);
  }
  DrawPages();
  g_render->DrawQuad(0.0f, 0.0f, 0.0f, overlay);
  Notify(FrameKind::kBare, true, overlay);
  g_render->EndFrame();
}

void RunFlatFrame() {
  Services(FrameKind::kFlat, 0.0f);
  if (!g_render) return;
  g_render->BeginFrame();
  N_Camera* camera = g_world ? g_world->CurrentCamera() : nullptr;
  g_render->SetupCamera(camera ? camera : &WindowCamera(), 0);
  DrawPages();
  Notify(FrameKind::kFlat, true, 0.0f);
  g_render->EndFrame();
}

}  // namespace frontend

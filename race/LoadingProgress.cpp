#include "race/LoadingProgress.h"

#include "core/Globals.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "platform/win32/Window.h"
#include "race/World.h"
#include "render/Camera.h"
#include "render/Render.h"

namespace {

LoadingProgressObserver g_observer = nullptr;

/// The window's messages, as the main loop takes them.
void DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

/// The loading frame's camera: the whole window, for the 2D set-up. It lives for the
/// program, as the renderer keeps the last camera set up as its current one.
N_Camera& LoadingCamera() {
  static N_Camera camera;
  const int width = g_varMng ? g_varMng->GetInt("v_width") : 640;
  const int height = g_varMng ? g_varMng->GetInt("v_height") : 480;
  camera.SetProjection(90.0f, float(width), float(height), 0.0f, 0.0f);
  return camera;
}

}  // namespace

void SetLoadingProgressObserver(LoadingProgressObserver observer) { g_observer = observer; }

void UpdateLoadingProgress(float percent) {
  if (g_observer) g_observer(percent);
  if (!g_world) return;
  N_GuiMng& gui = g_world->GuiMng();
  const N_GuiPage* page = gui.GetPage("Loading");
  if (!page || !page->IsVisible()) return;
  DrainMessages();
  if (g_timer) {
    g_timer->Tick();
    g_timer->Tick();
  }
  if (auto* bar = dynamic_cast<N_GuiProgressBar*>(gui.GetElement("Loading", false))) bar->SetValue(percent);
  if (!g_render) return;
  g_render->BeginFrame();
  g_render->SetupCamera(&LoadingCamera(), 0);
  gui.Render();
  g_world->TextBatch().Flush();
  g_render->EndFrame();
}

#include "race/LoadingProgress.h"

#include "core/Globals.h"
#include "core/Timer.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "race/World.h"
#include "render/Render.h"

namespace {

LoadingProgressObserver g_observer = nullptr;

}  // namespace

void SetLoadingProgressObserver(LoadingProgressObserver observer) { g_observer = observer; }

void UpdateLoadingProgress(float percent) {
  if (g_observer) g_observer(percent);
  if (!g_world) return;
  N_GuiMng& gui = g_world->GuiMng();
  const N_GuiPage* page = gui.GetPage("Loading");
  if (!page || !page->IsVisible()) return;
  if (g_timer) {
    g_timer->Tick();
    g_timer->Tick();
  }
  // TODO(#27): the progress bar "Loading" takes `percent` once the GUI's progress
  // bar exists (N_GuiProgressBar::SetValue).
  if (!g_render) return;
  g_render->BeginFrame();
  gui.Update();
  gui.Render();
  g_world->TextBatch().Flush();
  g_render->EndFrame();
}

#include "frontend/PageSwitch.h"

#include "core/Globals.h"
#include "core/Timer.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiMng.h"
#include "render/Render.h"
#include "sound/SoundMng.h"

using namespace frontend;

namespace {

/// The ramp's step: the last frame's time. Without a timer each half ends in one step
/// (a ramp that never moved would block the program for ever).
float LastFrameTime() { return g_timer ? static_cast<float>(g_timer->GetFrameTime()) : 1.0f; }

void SetMusicVolume(float volume) {
  if (g_soundMng) g_soundMng->SetMusicVolume(volume);
}

/// Music at full volume at t 0, half at t 1.
float Ducked(float volume, float t) { return volume * (1.0f - t * 0.5f); }

}  // namespace

void SwitchPageWithFade(const char* fromPage, const char* toPage, bool snow) {
  if (g_render) g_render->EndFrame();
  const float volume = g_soundMng ? g_soundMng->GetMusicVolume() : 1.0f;
  float t = 0.0f;
  for (bool last = false; !last;) {
    t += LastFrameTime();
    if (t >= 1.0f) {
      t = 1.0f;
      last = true;
    }
    SetMusicVolume(Ducked(volume, t));
    RunBareFrame(t);
  }
  HidePageNow("Relay");
  HidePageNow(fromPage);
  ShowPageNow(toPage);
  if (N_GuiMng* gui = Gui()) gui->SetSnow(snow);
  for (bool last = false; !last;) {
    t -= LastFrameTime();
    if (t <= 0.0f) {
      t = 0.0f;
      last = true;
    }
    SetMusicVolume(Ducked(volume, t));
    RunBareFrame(t);
  }
  SetMusicVolume(volume);
}

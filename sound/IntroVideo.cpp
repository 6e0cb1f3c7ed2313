#include "sound/IntroVideo.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "sound/Cutscene.h"

void PlayIntroVideoOnce(HINSTANCE instance) {
  if (!g_varMng || g_varMng->GetInt("v_fullscreen") == 0) return;
  if (g_varMng->GetInt("hrajvideoraz") != 0) PlayCutscene(kIntroVideoFile, instance);
  g_varMng->SetInt("hrajvideoraz", 0, 2);
}

#include "race/RaceSimServices.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Timer.h"
#include "race/AthletMng.h"
#include "race/PenaltyRounds.h"
#include "race/PlayerStatus.h"
#include "race/ShootingPage.h"
#include "race/SplitBoard.h"
#include "race/StartInfo.h"
#include "race/World.h"
#include "sound/SoundMng.h"

#include <cstdio>

void N_RaceHud::ShowStartInfo(std::int32_t track, bool arcadeLevels, std::int32_t weather, std::int32_t snow) {
  ::ShowStartInfo(track, arcadeLevels, weather, snow);
}
void N_RaceHud::UpdateStartCounter(float seconds) { ::UpdateStartCounter(seconds); }
void N_RaceHud::CloseStartInfo() { ::CloseStartInfo(); }
void N_RaceHud::ShowPlayerStatus(const char* name, const char* nation) { ::ShowPlayerStatus(name, nation); }
void N_RaceHud::UpdatePlayerStatus(float time, float speed, float heartRate, float power, float condition,
                                   std::int32_t position, std::int32_t lap, std::int32_t laps) {
  ::UpdatePlayerStatus(time, speed, heartRate, power, condition, position, lap, laps);
}
void N_RaceHud::HidePlayerStatus() { ::HidePlayerStatus(); }
void N_RaceHud::CloseShootingPage() { ::CloseShootingPage(); }
void N_RaceHud::ClosePenaltyRounds() { ::ClosePenaltyRounds(); }
void N_RaceHud::UpdatePenaltyRounds(std::int32_t count) { ::UpdatePenaltyRounds(count); }
void N_RaceHud::CloseSplitTimes() { ::CloseSplitTimes(); }

N_RaceServices N_RaceServices::FromWorld() {
  static N_RaceHud hud;  // stateless: the pages live in the GUI
  N_RaceServices s;
  s.hud = &hud;
  s.listener = g_soundMng;
  s.timer = g_timer;
  if (g_world) {
    s.athletes = &g_world->AthletMng();
    s.figures = &g_world->Figures();
    s.bodySounds = &g_world->BodySounds();
    s.soundCache = &g_world->SoundCache();
    s.camera = &g_world->CameraMng().FreeController().Camera();
    s.raceCamera = &g_world->CameraMng().RaceController();
    s.level = &g_world->Level();
  }
  return s;
}

void RaceCritical(const char* text) {
  if (g_errorLog) g_errorLog->Critical(0, "%s", text);
  std::fputs(text, stderr);
  CriticalExit(-1);
}

N_AthletProfile* FindStartAthlete(N_AthletMng* athletes, std::int32_t sex, std::int32_t index) {
  if (!athletes || index < 0) return nullptr;
  return sex == 0 ? athletes->GetMale(std::size_t(index)) : athletes->GetFemale(std::size_t(index));
}

#include "race/ShootingCues.h"

#include "race/PenaltyRounds.h"
#include "race/PlayerStatus.h"
#include "race/ShootingPage.h"
#include "race/World.h"

namespace {

N_ShootingCues s_default;
N_ShootingCues* s_installed = nullptr;

}  // namespace

N_ShootingCues& ShootingCues() { return s_installed ? *s_installed : s_default; }

void SetShootingCues(N_ShootingCues* cues) { s_installed = cues; }

void N_ShootingCues::ShowShootingPage() { ::ShowShootingPage(); }
void N_ShootingCues::CloseShootingPage() { ::CloseShootingPage(); }
void N_ShootingCues::UpdateShootingClock(float time) { ::UpdateShootingClock(time); }
void N_ShootingCues::UpdateShootTable(std::uint8_t hitMask) { ::UpdateShootTable(hitMask); }
void N_ShootingCues::ResetShootTable() { ::ResetShootTable(); }
void N_ShootingCues::AddBullets(std::int32_t count) { ::AddBullets(count); }
void N_ShootingCues::ShowShootingHits() { ::ShowShootingHits(); }
void N_ShootingCues::HideShootingHits() { ::HideShootingHits(); }
void N_ShootingCues::AddShootingHit() { ::AddShootingHit(); }
void N_ShootingCues::ShowStopwatch() { ::ShowStopwatch(); }
void N_ShootingCues::HideStopwatch() { ::HideStopwatch(); }
void N_ShootingCues::ShowPenaltyRounds(std::int32_t count) { ::ShowPenaltyRounds(count); }
void N_ShootingCues::ShowPlayerStatus(const char* name, const char* nation) { ::ShowPlayerStatus(name, nation); }
void N_ShootingCues::HidePlayerStatus() { ::HidePlayerStatus(); }

void N_ShootingCues::PlaySound(std::int32_t id) {
  if (g_world) g_world->SoundCache().Play(id);
}

void N_ShootingCues::PlayHeartbeat(float heartRate) {
  if (g_world) g_world->BodySounds().PlayHeartbeat(heartRate);
}

void N_ShootingCues::StopHeartbeat() {
  if (g_world) g_world->BodySounds().StopHeartbeat();
}

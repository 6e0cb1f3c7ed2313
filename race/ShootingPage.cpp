#include "race/ShootingPage.h"

#include "core/Globals.h"
#include "core/StringUtil.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiTable.h"
#include "race/RaceGui.h"

#include <algorithm>
#include <string>

ShootingHudState g_shootingHud;

namespace {

constexpr std::int32_t kFullMagazine = 5;
constexpr int kTargets = 5;
constexpr float kMissFlashSeconds = 0.25f;
/// Where the flash stands while the player is at a stand, and off the 640-unit screen.
constexpr float kFlashOnScreenLeft = 176.0f;
constexpr float kFlashOffScreenLeft = 650.0f;

void ShowBullets() { race_gui::SetShader("Bullets", "BULLETS" + IntToString(g_shootingHud.BulletsLeft)); }

/// The shoot-table row: the flag of "Natn1", the name of "Name1", the bout's penalty
/// picture, then the targets from bit 4 down to bit 0 of the mask. Empty when either
/// element is missing.
std::string ShootRow(std::uint8_t hitMask) {
  N_GuiElement* nation = race_gui::Element("Natn1");
  N_GuiElement* name = race_gui::Element("Name1");
  if (!nation || !name) return {};
  std::string row = race_gui::Quoted(nation->GetShaderName()) + " " + race_gui::Quoted(name->GetCaption()) +
                    " PENALTY" + IntToString(g_shootingHud.MissCount);
  for (int bit = kTargets - 1; bit >= 0; --bit) row += (hitMask >> bit) & 1 ? " HIT" : " MISS";
  return row;
}

void SetShootRow(N_GuiTable* table, std::uint8_t hitMask) {
  const std::string row = ShootRow(hitMask);
  if (table && !row.empty()) table->SetRowText(row, 0);
}

/// Steps shared by a new stand and a rifle reset: a fresh bout in the table's first
/// row and a full magazine.
void StartBout() {
  g_shootingHud.BulletsLeft = kFullMagazine;
  g_shootingHud.MissCount = 0;
  g_shootingHud.ShotHitMask = 0;
  SetShootRow(race_gui::ElementAs<N_GuiTable>("ShootTable"), 0);
  ShowBullets();
}

}  // namespace

void ResetShootingHudState() { g_shootingHud = ShootingHudState{}; }

void ShowShootingPage() {
  race_gui::ShowPageImmediate("Shooting");
  // Showing a page at once sets its elements to full alpha; outside the trainings and
  // buddy games the exhaustion overlay keeps the level it had.
  N_GuiElement* overlay = race_gui::Element("Black1");
  const std::uint8_t level = overlay ? overlay->GetAlpha() : 0;
  race_gui::ShowPageImmediate("BlackEyes");
  const int mode = g_varMng ? g_varMng->GetInt("gamemode") : 0;
  const bool clear = mode == 3 || mode == 4 || mode == 5;
  if (overlay) overlay->SetAlpha(clear ? 0 : level);
  race_gui::SetAlpha("TrestRed", 0);
  StartBout();
  race_gui::SetLeft("TrestRed", kFlashOnScreenLeft);
}

void CloseShootingPage() {
  race_gui::ClosePage("Shooting", 2.0f);
  race_gui::SetLeft("TrestRed", kFlashOffScreenLeft);
}

void UpdateShootingClock(float time) {
  race_gui::SetCaption("Time2", FormatRaceTime(time));
  g_shootingHud.MissFlashTime -= g_timer ? static_cast<float>(g_timer->GetFrameTime()) : 0.0f;
  if (g_shootingHud.MissFlashTime <= 0.0f) race_gui::SetAlpha("TrestRed", 0);
}

void UpdateShootTable(std::uint8_t hitMask) {
  auto* table = race_gui::ElementAs<N_GuiTable>("ShootTable");
  if (!table || g_shootingHud.BulletsLeft <= 0) return;
  // A miss adds no target to those already down.
  if ((g_shootingHud.ShotHitMask | hitMask) == g_shootingHud.ShotHitMask) {
    ++g_shootingHud.MissCount;
    race_gui::SetAlpha("TrestRed", 255);
    g_shootingHud.MissFlashTime = kMissFlashSeconds;
  }
  --g_shootingHud.BulletsLeft;
  g_shootingHud.ShotHitMask = hitMask;
  ShowBullets();
  SetShootRow(table, hitMask);
}

void ResetShootTable() { StartBout(); }

void AddBullets(std::int32_t count) {
  const std::int64_t bullets = std::int64_t(g_shootingHud.BulletsLeft) + count;
  g_shootingHud.BulletsLeft = static_cast<std::int32_t>(std::clamp<std::int64_t>(bullets, 0, kFullMagazine));
  ShowBullets();
}

void ShowShootingHits() {
  race_gui::ShowElement("ShootingHits");
  race_gui::SetCaption("Hits", "0");
  g_shootingHud.HitCount = 0;
}

void HideShootingHits() { race_gui::HideElement("ShootingHits"); }

void AddShootingHit() {
  if (g_shootingHud.HitCount < INT32_MAX) ++g_shootingHud.HitCount;
  race_gui::SetCaption("Hits", IntToString(g_shootingHud.HitCount));
}

#include "frontend/StartPages.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "race/GameData.h"
#include "race/World.h"

namespace {

/// The race camera mode of a discipline's start flight; -1 leaves the camera as it is.
std::int32_t StartCameraMode(std::int32_t discipline) {
  switch (discipline) {
    case DisciplineCode::kRelay:
    case DisciplineCode::kMassStart:  // the mass start flies the relay's level camera
      return 3;
    case DisciplineCode::kHunting:
      return 2;
    case DisciplineCode::kSprint:
      return 1;
    default:
      return -1;
  }
}

}  // namespace

extern "C" void LoadingShow(N_GuiPage*) {
  if (auto* bar = frontend::GetElementOf<N_GuiProgressBar>("Loading")) bar->SetValue(0.0f);
}

extern "C" void StartListClick(N_GuiElement* element) {
  if (element && element->GetPage()) element->GetPage()->Close(2.0f);
  N_Game* game = g_world ? g_world->Game() : nullptr;
  if (!game) return;  // a start list shown by hand: nothing to start
  const std::int32_t mode = StartCameraMode(g_varMng ? g_varMng->GetInt("discipline") : 0);
  if (mode >= 0) g_world->CameraMng().SetRaceCameraMode(mode);
  game->SetPaused(0);
}

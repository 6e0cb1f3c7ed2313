#include "frontend/MainMenu.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/PageSwitch.h"
#include "frontend/SettingsPage.h"
#include "gui/GuiMng.h"
#include "race/World.h"
#include "sound/SoundMng.h"
#include "sound/SoundShader.h"

#include <cstring>
#include <initializer_list>

using namespace frontend;

namespace {

constexpr int kSetFlags = 2;
constexpr float kCloseRate = 2.0f;
constexpr const char* kMenuMusic = "data\\sounds\\music.ogg";

// ---- Lens pictures ----

struct Lens {
  const char* element;
  const char* picture;
};

constexpr Lens kMainMenuLenses[] = {
    {"SinglePlayer", "textures\\menu\\lens_single"}, {"MultiPlayer", "textures\\menu\\lens_multi"},
    {"TrainingFun", "textures\\menu\\lens_fun"},     {"Options", "textures\\menu\\lens_options"},
    {"Credits", "textures\\menu\\lens_credits"},     {"Exit", "textures\\menu\\lens_exit"},
};
constexpr Lens kSinglePlayerLenses[] = {
    {"Arcade", "textures\\menu\\lens_arcade"}, {"TimeAttack", "textures\\menu\\lens_timeattack"},
    {"Career", "textures\\menu\\lens_career"}, {"SingleRace", "textures\\menu\\lens_singlerace"},
    {"Back1", "textures\\menu\\lens_back"},
};
constexpr Lens kMultiPlayerLenses[] = {
    {"CreateGame", "textures\\menu\\lens_creategame"},
    {"JoinGame", "textures\\menu\\lens_joingame"},
    {"Back2", "textures\\menu\\lens_back"},
};
constexpr Lens kTrainingFunLenses[] = {
    {"RunTraining", "textures\\menu\\lens_runtraining"}, {"ShootingRange", "textures\\menu\\lens_shoottraining"},
    {"BuddyGames", "textures\\menu\\lens_buddygames"},   {"Back3", "textures\\menu\\lens_back"},
};
// The options page shows the two training pictures.
constexpr Lens kMainOptionsLenses[] = {
    {"Settings", "textures\\menu\\lens_runtraining"},
    {"Controls", "textures\\menu\\lens_shoottraining"},
    {"Back4", "textures\\menu\\lens_back"},
};

template <std::size_t N>
void ShowLens(const Lens (&table)[N], const N_GuiElement* element) {
  if (!element) return;
  for (const Lens& lens : table) {
    if (element->GetName() != lens.element) continue;
    if (N_GuiElement* image = GetElement("AImage")) image->SetShader(lens.picture);
    return;
  }
}

// ---- Click targets ----

enum class Leave {
  kClose,    ///< close the current page at 2.0 per second, then show the targets
  kHide,     ///< hide "Background" and the current page at once, then show the targets
  kHideOver, ///< the same, the current page first (the credits)
  kExit,     ///< fade from the main menu to the black page, then end the main loop
  kNotBuilt  ///< the message that the function does not exist
};

struct Target {
  const char* element;
  Leave leave;
  std::initializer_list<const char*> show;
};

void Follow(const Target& target, const char* page) {
  switch (target.leave) {
    case Leave::kClose:
      ClosePage(page, kCloseRate);
      break;
    case Leave::kHide:
      HidePageNow("Background");
      HidePageNow(page);
      break;
    case Leave::kHideOver:
      HidePageNow(page);
      HidePageNow("Background");
      break;
    case Leave::kExit:
      SwitchPageWithFade("MainMenu", "BlackScreen", false);
      if (g_varMng) g_varMng->SetInt("exit", 1, kSetFlags);
      return;
    case Leave::kNotBuilt:
      ShowMessageOK("Not yet implemented.", "OKMsgClick");
      return;
  }
  for (const char* shown : target.show) ShowPageNow(shown);
}

template <std::size_t N>
void Dispatch(const Target (&table)[N], const char* page, const N_GuiElement* element) {
  if (!element) return;
  for (const Target& target : table) {
    if (element->GetName() == target.element) {
      Follow(target, page);
      return;
    }
  }
}

const Target kMainMenuTargets[] = {
    {"SinglePlayer", Leave::kClose, {"SinglePlayer"}},
    {"MultiPlayer", Leave::kClose, {"MultiPlayer"}},
    {"TrainingFun", Leave::kClose, {"TrainingFun"}},
    {"Options", Leave::kClose, {"MainOptions"}},
    {"Credits", Leave::kHideOver, {"Credits"}},
    {"Exit", Leave::kExit, {}},
};
const Target kSinglePlayerTargets[] = {
    {"Arcade", Leave::kHide, {"Arcade"}},
    {"TimeAttack", Leave::kHide, {"TimeAttack"}},
    {"Career", Leave::kHide, {"CareerProfile", "CareerAttributes"}},
    {"SingleRace", Leave::kHide, {"SingleRace"}},
    {"Back1", Leave::kClose, {"MainMenu"}},
};
const Target kMultiPlayerTargets[] = {
    {"CreateGame", Leave::kNotBuilt, {}},
    {"JoinGame", Leave::kNotBuilt, {}},
    {"Back2", Leave::kClose, {"MainMenu"}},
};
const Target kTrainingFunTargets[] = {
    {"RunTraining", Leave::kHide, {"RunTraining"}},
    {"ShootingRange", Leave::kHide, {"ShootTraining"}},
    {"BuddyGames", Leave::kHide, {"BuddyGames"}},
    {"Back3", Leave::kClose, {"MainMenu"}},
};
// "Settings" shows the career's high-score page under the settings.
const Target kMainOptionsTargets[] = {
    {"Settings", Leave::kHide, {"CareerHS", "Settings"}},
    {"Controls", Leave::kHide, {"ControlsOptions"}},
    {"Back4", Leave::kClose, {"MainMenu"}},
};

}  // namespace

void SwitchSoundGroupsToMenu() {
  if (!g_soundMng) return;
  for (int category : {SoundCategory::kCommentary, SoundCategory::kEnvironment, SoundCategory::kSki,
                       SoundCategory::kBody, SoundCategory::kAudience}) {
    g_soundMng->SetCategoryEnabled(category, 0u);
  }
  g_soundMng->SetCategoryEnabled(SoundCategory::kMusic, 1u);
}

extern "C" {

void MainMenuShow(N_GuiPage*) {
  if (g_varMng) g_varMng->SetInt("viewmode", 0, kSetFlags);
  if (g_world) g_world->CameraMng().SetRaceCameraMode(0);
  if (N_GuiMng* gui = Gui()) gui->SetSnow(true);
  if (g_varMng) {
    g_varMng->SetInt("detail", 0, kSetFlags);
    g_varMng->SetInt("ShowAnimObj", 1, kSetFlags);
  }
  // Does nothing while the music plays, so a return to the menu keeps the stream.
  if (g_soundMng) g_soundMng->PlayMusic(kMenuMusic);
  SwitchSoundGroupsToMenu();
  settings::ShowSoundSwitches();
}

void MainMenuEnter(N_GuiElement* element) { ShowLens(kMainMenuLenses, element); }
void SinglePlayerEnter(N_GuiElement* element) { ShowLens(kSinglePlayerLenses, element); }
void MultiPlayerEnter(N_GuiElement* element) { ShowLens(kMultiPlayerLenses, element); }
void TrainingFunEnter(N_GuiElement* element) { ShowLens(kTrainingFunLenses, element); }
void MainOptionsEnter(N_GuiElement* element) { ShowLens(kMainOptionsLenses, element); }

void MainMenuClick(N_GuiElement* element) { Dispatch(kMainMenuTargets, "MainMenu", element); }
void SinglePlayerClick(N_GuiElement* element) { Dispatch(kSinglePlayerTargets, "SinglePlayer", element); }
void MultiPlayerClick(N_GuiElement* element) { Dispatch(kMultiPlayerTargets, "MultiPlayer", element); }
void TrainingFunClick(N_GuiElement* element) { Dispatch(kTrainingFunTargets, "TrainingFun", element); }
void MainOptionsClick(N_GuiElement* element) { Dispatch(kMainOptionsTargets, "MainOptions", element); }

void CreditsClick(N_GuiElement* element) {
  if (!element || element->GetName() != "Back5") return;
  HidePageNow("Credits");
  ShowPageNow("Background");
  ShowPageNow("MainMenu");
}

}  // extern "C"

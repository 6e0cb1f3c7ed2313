#include "frontend/FinalResultPage.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/BuddySeries.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MainMenu.h"
#include "frontend/TimeAttackSetup.h"
#include "frontend/TrainingSetup.h"
#include "frontend/career/CareerEnd.h"
#include "race/FinishedResults.h"
#include "race/PursuitStart.h"
#include "race/TopTimeEntries.h"
#include "race/World.h"

using namespace frontend;
using final_result::Finished;

namespace {

constexpr std::uint32_t kSetFlags = 2;
constexpr std::int32_t kPursuitChoice = 1;  ///< the set-up page's discipline selector
constexpr std::int32_t kPursuitDiscipline = 3;

std::int32_t ReadInt(const char* name) { return g_varMng ? g_varMng->GetInt(name) : 0; }

void SetInt(const char* name, std::int32_t value) {
  if (g_varMng) g_varMng->SetInt(name, value, kSetFlags);
}

/// The arcade and single race: a sprint run for the pursuit starts the pursuit (the
/// click ends there); any other race is entered in the page's top times.
struct RaceMode {
  const char* disciplineSelector;
  void (*record)(const ExportData* result);
  const char* setupPage;
};
constexpr RaceMode kArcade{"Discipline1", RecordArcadeHighScore, "Arcade"};
constexpr RaceMode kSingleRace{"Discipline3", RecordSingleRaceHighScore, "SingleRace"};

const char* RaceResult(const RaceMode& mode, const Finished& finished) {
  if (SelectedItem(mode.disciplineSelector) == kPursuitChoice && finished.discipline != kPursuitDiscipline &&
      RestartRace(finished.resultHandle)) {
    return nullptr;
  }
  final_result::MenuReset();
  mode.record(GetFinishedResult(finished.resultHandle));
  ReleaseFinishedResult(finished.resultHandle);
  return mode.setupPage;
}

const char* ArcadeResult(const Finished& finished) { return RaceResult(kArcade, finished); }
const char* SingleRaceResult(const Finished& finished) { return RaceResult(kSingleRace, finished); }

/// No mode: back to the main menu.
const char* NoModeResult(const Finished& finished) {
  final_result::MenuReset();
  ReleaseFinishedResult(finished.resultHandle);
  ShowPageNow("Background");
  return "MainMenu";
}

/// A buddy game's run: the next player's turn, or after the last the standings on this
/// page (which show themselves).
const char* BuddyGameResult(const Finished& finished) {
  if (!NextBuddyGame(finished.resultHandle)) ShowBuddyResults();
  return nullptr;
}

/// The buddy standings: the series entered into the top results.
const char* BuddyResultsDone(const Finished&) {
  final_result::ViewReset();
  RecordBuddyScore();
  return "BuddyGames";
}

struct ResultCase {
  std::int32_t gameMode;
  final_result::CaseHandler handler;
};
// One row per launching mode ("gamemode"); a value without a row takes NoModeResult.
constexpr ResultCase kCases[] = {
    {0, ArcadeResult},
    {1, SingleRaceResult},
    {2, TimeAttackResult},
    {3, TrainingResult},
    {4, BuddyGameResult},
    {5, career::SponsorEventResult},
    {6, career::CareerRaceResult},
    {7, BuddyResultsDone},
};

final_result::CaseHandler HandlerOf(std::int32_t gameMode) {
  for (const ResultCase& row : kCases) {
    if (row.gameMode == gameMode) return row.handler;
  }
  return NoModeResult;
}

}  // namespace

namespace final_result {

void ViewReset() {
  SetInt("detail", 0);
  SetInt("ShowAnimObj", 1);
  SwitchSoundGroupsToMenu();
}

void MenuReset() {
  if (g_world) g_world->Level().SetSnow(0);
  SetInt("HmlaHackSet", 0);
  ViewReset();
}

}  // namespace final_result

extern "C" void FinalResultClick(N_GuiElement*) {
  HidePageNow("FinalResult");
  Finished finished;
  finished.gameMode = ReadInt("gamemode");
  finished.discipline = ReadInt("discipline");
  finished.resultHandle = ReadInt("egd");
  if (const char* page = HandlerOf(finished.gameMode)(finished)) ShowPageNow(page);
}

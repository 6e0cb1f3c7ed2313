#include "frontend/TimeAttackSetup.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "frontend/FinalResultPage.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceLaunch.h"
#include "frontend/RaceTables.h"
#include "frontend/SoloSetup.h"
#include "frontend/TopTimesDisplay.h"
#include "gui/GuiElement.h"
#include "gui/GuiTextSelector.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameData.h"
#include "race/GameTimeAttack.h"
#include "race/LevelMap.h"
#include "race/LevelTables.h"
#include "race/RaceSimServices.h"
#include "race/RunRecorder.h"
#include "race/TopTimeEntries.h"
#include "race/TopTimeTables.h"
#include "race/World.h"

#include <memory>
#include <new>
#include <string>

namespace {

constexpr std::uint8_t kShortLaps = 3;
constexpr std::uint8_t kLongLaps = 5;
/// The player starts five seconds after the clock begins.
constexpr float kStartTime = -5.0f;

/// The choices of "TimeAttack" that describe a run.
struct TimeAttackChoices {
  std::int32_t level = -1;
  std::int32_t sex = -1;
  std::int32_t difficulty = -1;
  std::int32_t trackLength = -1;
  std::int32_t gameMode = -1;

  static TimeAttackChoices Read() {
    TimeAttackChoices c;
    c.level = frontend::SelectedImage("Level2");
    c.sex = frontend::SelectedItem("Sex2");
    c.difficulty = frontend::SelectedItem("Difficulty2");
    c.trackLength = frontend::SelectedItem("TrackLength");
    c.gameMode = frontend::SelectedItem("GameMode");
    return c;
  }
  bool Complete() const { return level >= 0 && sex >= 0 && difficulty >= 0 && trackLength >= 0 && gameMode >= 0; }
  bool ArcadeTable() const { return trackLength != 0; }
  std::string GhostName() const { return GetTimeAttackFileName(level, gameMode, trackLength, difficulty); }
};

std::unique_ptr<GameData> MakeTimeAttackData(const TimeAttackChoices& c, std::int32_t athlete) {
  std::unique_ptr<GameData> data = launch::NewGameData();
  data->StartList.push_back({athlete, kStartTime});
  data->Sex = c.sex;
  data->Discipline = DisciplineCode::kTimeAttack;
  data->Track = c.level;
  data->Laps = c.gameMode == 0 ? kShortLaps : kLongLaps;
  data->PlayerIndex = 0;
  data->ArcadeLevels = c.ArcadeTable() ? 1 : 0;
  data->Difficulty = c.difficulty != 0 ? 1 : 0;
  return data;
}

void LaunchTimeAttack() {
  constexpr const char* kWho = "TimeAttack";
  const TimeAttackChoices c = TimeAttackChoices::Read();
  const std::int32_t athlete = frontend::SelectedRow("Athlets2");
  if (!c.Complete()) {
    if (g_log) g_log->Print("%s: the set-up page lacks a selector, nothing is started\n", kWho);
    return;
  }
  if (!SoloStartAllowed(kWho, c.sex, athlete, c.level, c.ArcadeTable())) return;

  std::unique_ptr<GameData> data = MakeTimeAttackData(c, athlete);
  std::unique_ptr<N_RunRecorder> ghost;
  try {
    ghost = std::make_unique<N_RunRecorder>();
  } catch (const std::bad_alloc&) {
    ReportNoMemoryForGame();
  }
  launch::SetTrackMode(c.trackLength + 1);
  launch::SwitchToLoading("TimeAttack");
  launch::SwitchRaceSounds(false);
  ShowLevelMap(data->Track, data->ArcadeLevels != 0);
  // Without a saved run of these settings the race goes on without a ghost.
  ghost->Load(c.GhostName());
  // A time attack always runs without fog, and the snowfall stays as it is.
  if (g_varMng) g_varMng->SetString("mapname", GetLevelFileName(c.level, c.ArcadeTable(), false).c_str(), 2);
  if (g_world) g_world->LoadLevel();
  // "discipline" too: the results board reads it, and left alone it could still name a
  // relay.
  launch::SetRaceVariables(2, DisciplineCode::kTimeAttack);
  frontend::SetCaption("FR/Caption", GetLevelName(c.level, c.ArcadeTable()));
  frontend::SetCaption("FR/Discipline", frontend::Text("#str152"));
  launch::InstallGame([&data, &ghost] {
    return std::make_unique<N_GameTimeAttack>(std::move(data), std::move(ghost), N_RaceServices::FromWorld());
  });
  launch::CloseLoading();
  // The camera's start flight in place of a start list: the world unpauses the race
  // when the race camera hands over.
  if (g_world) g_world->CameraMng().SetRaceCameraMode(1);
}

/// The top-times table while "TimeAttackHS" is open.
std::unique_ptr<N_TimeAttackHS> TimeAttackHSTable;

/// The block of the top-times page's selectors.
struct TopTimesBlock {
  std::int32_t track = -1;
  std::int32_t trackLength = -1;
  std::int32_t sex = -1;
  std::int32_t gameMode = -1;
  std::int32_t difficulty = -1;

  static TopTimesBlock Read() {
    return {frontend::SelectedItem("Track10"), frontend::SelectedItem("TrackLength10"),
            frontend::SelectedItem("Sex10"), frontend::SelectedItem("GameMode10"),
            frontend::SelectedItem("Difficulty10")};
  }
};

void ShowTopTimesBlock(const TopTimesBlock& b) {
  if (TimeAttackHSTable) DisplayTimeAttackHS(*TimeAttackHSTable, b.track, b.trackLength, b.sex, b.gameMode, b.difficulty);
}

/// Moves "Track10" to the row and keeps the block's track with it.
void SelectTrack(TopTimesBlock& b, std::int32_t track) {
  b.track = track;
  if (auto* selector = frontend::GetElementOf<N_GuiTextSelector>("Track10")) {
    selector->SetSelected(static_cast<std::uint32_t>(track));
  }
}

bool SkippedShortTrack(const TopTimesBlock& b) { return b.trackLength == 1 && (b.track == 3 || b.track == 5); }

}  // namespace

std::string CurrentTimeAttackGhostName() {
  const TimeAttackChoices c = TimeAttackChoices::Read();
  return c.Complete() ? c.GhostName() : std::string();
}

const char* TimeAttackResult(const final_result::Finished& finished) {
  final_result::MenuReset();
  const std::int32_t resultHandle = finished.resultHandle;
  // The name of the block's ghost is read before the entry, from the same choices.
  const std::string ghostName = CurrentTimeAttackGhostName();
  ExportData* result = GetFinishedResult(resultHandle);
  if (RecordTimeAttackHighScore(result) && result && result->Ghost) {
    if (ghostName.empty() || !result->Ghost->Save(ghostName)) {
      if (g_log) g_log->Print("TimeAttackResult: the new best run was not kept as the ghost \"%s\"\n",
                              ghostName.c_str());
    }
  }
  // The record owns its run: releasing the result frees both, once.
  ReleaseFinishedResult(resultHandle);
  return "TimeAttack";
}

extern "C" {

void TimeAttackShow(N_GuiPage*) { FillAthletesAndModel("Athlets2", "Model2", frontend::SelectedItem("Sex2")); }

void TimeAttackClick(N_GuiElement* element) {
  if (!element) return;
  const TimeAttackChoices c = TimeAttackChoices::Read();
  const std::string& name = element->GetName();
  if (name == "Sex2") {
    FillAthletesAndModel("Athlets2", "Model2", c.sex);
  } else if (name == "Athlets2") {
    ShowSelectedAthlete("Athlets2", "Model2", c.sex);
  } else if (name == "TrackLength") {
    SwitchCoursePictures("Level2", c.trackLength);
  } else if (name == "Back7") {
    frontend::HidePageNow("TimeAttack");
    frontend::ShowPageNow("Background");
    frontend::ShowPageNow("SinglePlayer");
  } else if (name == "TopTimes2") {
    frontend::HidePageNow("TimeAttack");
    frontend::ShowPageNow("TimeAttackHS");
  } else if (name == "Start2") {
    LaunchTimeAttack();
  }
}

void TimeAttackHSShow(N_GuiPage*) {
  const TopTimesBlock b = TopTimesBlock::Read();
  try {
    TimeAttackHSTable = std::make_unique<N_TimeAttackHS>();
  } catch (const std::bad_alloc&) {
    TimeAttackHSTable.reset();
    if (g_log) g_log->Print("TimeAttackHSShow: no memory for the top times\n");
    return;
  }
  TimeAttackHSTable->Load();
  ShowTopTimesBlock(b);
}

void TimeAttackHSClick(N_GuiElement* element) {
  if (!element) return;
  TopTimesBlock b = TopTimesBlock::Read();
  const std::string& name = element->GetName();
  if (name == "Back20") {
    TimeAttackHSTable.reset();
    frontend::HidePageNow("TimeAttackHS");
    frontend::ShowPageNow("TimeAttack");
    return;
  }
  if (!TimeAttackHSTable) return;
  // The short courses' top times skip the rows 3 and 5 of the course list.
  if (name == "Track10" && SkippedShortTrack(b)) {
    SelectTrack(b, b.track + 1);
  } else if (name == "TrackLength10" && SkippedShortTrack(b)) {
    SelectTrack(b, 0);
  }
  ShowTopTimesBlock(b);
}

}  // extern "C"

#include "frontend/TrainingSetup.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/VarMng.h"
#include "frontend/AthleteField.h"
#include "frontend/FinalResultPage.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceLaunch.h"
#include "frontend/SoloSetup.h"
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameData.h"
#include "race/GameTraining.h"
#include "race/LevelMap.h"
#include "race/RaceSimServices.h"
#include "race/StartList.h"
#include "race/World.h"

#include <cmath>
#include <memory>
#include <string>

namespace {

constexpr std::uint8_t kShortLaps = 3;
constexpr std::uint8_t kLongLaps = 5;
/// The shooting training's course: a row of the full table's ten race levels.
constexpr float kLastRaceLevel = 9.0f;

void SetVar(const char* name, int value) {
  if (g_varMng) g_varMng->SetInt(name, value, 2);
}

/// A condition selector's step as the training's factor: 0.1 for the first, 1.0 for the tenth.
float ConditionScale(std::int32_t item) { return static_cast<float>(item + 1) * 0.1f; }

N_Game* InstallTraining(std::unique_ptr<GameData>& data) {
  return launch::InstallGame(
      [&data] { return std::make_unique<N_GameTraining>(std::move(data), N_RaceServices::FromWorld()); });
}

void LaunchRunTraining() {
  constexpr const char* kWho = "RunTraining";
  const std::int32_t level = frontend::SelectedImage("Level5");
  const std::int32_t trackLength = frontend::SelectedItem("TrackLength1");
  const std::int32_t rounds = frontend::SelectedItem("NumRounds1");
  const std::int32_t weather = frontend::SelectedItem("Weather4");
  const std::int32_t snow = frontend::SelectedItem("SnowQuality4");
  const std::int32_t condition = frontend::SelectedItem("InitCondition1");
  const std::int32_t sex = frontend::SelectedItem("Sex4");
  const std::int32_t difficulty = frontend::SelectedItem("Difficulty4");
  const std::int32_t athlete = frontend::SelectedRow("Athlets4");
  if (trackLength < 0 || rounds < 0 || weather < 0 || snow < 0 || condition < 0 || sex < 0 || difficulty < 0) {
    if (g_log) g_log->Print("%s: the set-up page lacks a selector, nothing is started\n", kWho);
    return;
  }
  const bool arcadeTable = trackLength != 0;
  if (!SoloStartAllowed(kWho, sex, athlete, level, arcadeTable)) return;

  std::unique_ptr<GameData> data = launch::NewGameData();
  data->StartList.push_back({athlete, 0.0f});
  data->Sex = sex;
  data->Discipline = DisciplineCode::kRunTraining;
  data->Weather = weather;
  data->SnowQuality = snow;
  data->Track = level;
  data->Laps = rounds == 0 ? kShortLaps : kLongLaps;
  data->PlayerIndex = 0;
  data->ArcadeLevels = arcadeTable ? 1 : 0;
  data->Difficulty = difficulty != 0 ? 1 : 0;
  data->TrainingScale1 = ConditionScale(condition);

  launch::SetTrackMode(trackLength + 1);
  launch::SwitchToLoading("RunTraining");
  launch::SwitchRaceSounds(false);
  ShowLevelMap(data->Track, arcadeTable);
  // The fog level for any weather but the first, snowing in the second.
  launch::LoadRaceLevel(*data);
  // "discipline" names the training for the result page's click, as every launch does.
  launch::SetRaceVariables(3, data->Discipline);
  FillStartListTables(*data);
  InstallTraining(data);
  launch::CloseLoading();
  // No start list: the training waits paused for the race camera's start flight.
  if (g_world) g_world->CameraMng().SetRaceCameraMode(1);
}

void LaunchShootingTraining() {
  constexpr const char* kWho = "ShootTraining";
  const std::int32_t weather = frontend::SelectedItem("Weather5");
  const std::int32_t shootType = frontend::SelectedItem("ShootType1");
  const std::int32_t condition = frontend::SelectedItem("InitCondition2");
  const std::int32_t arms = frontend::SelectedItem("ArmsCondition1");
  const std::int32_t sex = frontend::SelectedItem("Sex5");
  const std::int32_t difficulty = frontend::SelectedItem("Difficulty5");
  const std::int32_t athlete = frontend::SelectedRow("Athlets5");
  if (weather < 0 || shootType < 0 || condition < 0 || arms < 0 || sex < 0 || difficulty < 0) {
    if (g_log) g_log->Print("%s: the set-up page lacks a selector, nothing is started\n", kWho);
    return;
  }
  // Every course of the draw lies inside the full table: only the athlete is checked.
  if (!SoloStartAllowed(kWho, sex, athlete, 0, false)) return;

  std::unique_ptr<GameData> data = launch::NewGameData();
  data->Difficulty = difficulty != 0 ? 1 : 0;
  data->PlayerIndex = 0;
  // Rounded to the nearest: the first and the last course come up half as often.
  data->Track = static_cast<std::int32_t>(std::lround(RandomRange(0.0f, kLastRaceLevel)));
  data->Sex = sex;
  data->Discipline = DisciplineCode::kShootingTraining;
  data->Weather = weather;
  data->Laps = 0;
  data->StartList.push_back({athlete, 0.0f});
  data->TrainingScale1 = ConditionScale(condition);
  data->TrainingScale2 = ConditionScale(arms);
  data->SteadyAim = shootType == 0 ? 1 : 0;

  launch::SwitchToLoading("ShootTraining");
  // The race's drawing, but "trackmode" stays as it was.
  SetVar("detail", 1);
  SetVar("ShowAnimObj", 0);
  launch::SwitchRaceSounds(false);
  // The shooting page's name and flag are the athlete's.
  const N_AthletProfile* record = AthleteOfSex(g_world->AthletMng(), sex, athlete);
  frontend::SetCaption("Name1", record->AthletName);
  if (N_GuiElement* flag = frontend::GetElement("Natn1")) flag->SetShader(record->Nationality);
  launch::LoadRaceLevel(*data);
  SetVar("viewmode", 2);
  launch::SetRaceVariables(3, data->Discipline);
  FillStartListTables(*data);
  // The shooting training runs at once in the shooting view.
  if (N_Game* game = InstallTraining(data)) game->SetPaused(0);
  launch::CloseLoading();
}

}  // namespace

const char* TrainingResult(const final_result::Finished& finished) {
  final_result::MenuReset();
  const ExportData* result = GetFinishedResult(finished.resultHandle);
  const bool running = result && result->Discipline == DisciplineCode::kRunTraining;
  ReleaseFinishedResult(finished.resultHandle);
  return running ? "RunTraining" : "ShootTraining";
}

extern "C" {

void TrainingShow(N_GuiPage* page) {
  if (!page) return;
  const std::string& name = page->GetName();
  if (name == "RunTraining") {
    FillAthletesAndModel("Athlets4", "Model4", frontend::SelectedItem("Sex4"));
  } else if (name == "ShootTraining") {
    FillAthletesAndModel("Athlets5", "Model5", frontend::SelectedItem("Sex5"));
  }
}

void TrainingClick(N_GuiElement* element) {
  if (!element) return;
  const std::string& name = element->GetName();
  if (name == "Back9" || name == "Back10") {
    frontend::HidePageNow(name == "Back9" ? "RunTraining" : "ShootTraining");
    frontend::ShowPageNow("Background");
    frontend::ShowPageNow("TrainingFun");
  } else if (name == "Sex4") {
    FillAthletesAndModel("Athlets4", "Model4", frontend::SelectedItem("Sex4"));
  } else if (name == "Sex5") {
    FillAthletesAndModel("Athlets5", "Model5", frontend::SelectedItem("Sex5"));
  } else if (name == "Athlets4") {
    ShowSelectedAthlete("Athlets4", "Model4", frontend::SelectedItem("Sex4"));
  } else if (name == "Athlets5") {
    ShowSelectedAthlete("Athlets5", "Model5", frontend::SelectedItem("Sex5"));
  } else if (name == "TrackLength1") {
    SwitchCoursePictures("Level5", frontend::SelectedItem("TrackLength1"));
  } else if (name == "Start4") {
    LaunchRunTraining();
  } else if (name == "Start5") {
    LaunchShootingTraining();
  }
}

}  // extern "C"

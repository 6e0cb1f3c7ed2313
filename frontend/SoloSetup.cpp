#include "frontend/SoloSetup.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/AthleteField.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceLaunch.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiModel.h"
#include "race/World.h"

namespace {

constexpr const char* kSeventh = "textures\\menu\\trat07s";
constexpr const char* kTenth = "textures\\menu\\trat10s";
constexpr std::size_t kFullCount = 10;
constexpr std::size_t kShortCount = 8;

}  // namespace

void SwitchCoursePictures(const char* selectorName, std::int32_t trackLength) {
  auto* courses = frontend::GetElementOf<N_GuiImageSelector>(selectorName);
  if (!courses) return;
  if (trackLength == 0 && courses->ItemCount() == kShortCount) {
    courses->InsertItem(6, kSeventh, "");
    courses->InsertItem(9, kTenth, "");
  } else if (trackLength != 0 && courses->ItemCount() == kFullCount) {
    courses->RemoveItem(6);
    courses->RemoveItem(8);
  }
  courses->SetSelected(0);
}

void ShowSelectedAthlete(const char* tableName, const char* modelName, std::int32_t sex) {
  auto* model = frontend::GetElementOf<N_GuiModel>(modelName);
  if (!model) return;
  model->SetSex(sex);
  model->SetAthlete(frontend::SelectedRow(tableName));
}

void FillAthletesAndModel(const char* tableName, const char* modelName, std::int32_t sex) {
  FillAthleteList(tableName, sex);
  ShowSelectedAthlete(tableName, modelName, sex);
}

bool SoloStartAllowed(const char* who, std::int32_t sex, std::int32_t athleteRow, std::int32_t track,
                      bool arcadeTable) {
  const char* problem = nullptr;
  if (athleteRow < 0) {
    problem = "no athlete is selected";
  } else if (!g_world || !AthleteOfSex(g_world->AthletMng(), sex, athleteRow)) {
    problem = "the selected athlete has no record";
  } else if (!launch::IsLevelRow(track, arcadeTable)) {
    problem = "the course lies outside its level table";
  }
  if (!problem) return true;
  if (g_log) g_log->Print("%s: %s (athlete row %d, course %d), nothing is started\n", who, problem, athleteRow, track);
  return false;
}

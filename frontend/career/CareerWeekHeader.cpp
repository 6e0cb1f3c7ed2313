#include "frontend/career/CareerWeekHeader.h"

#include "core/FormatString.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiElement.h"

#include <array>

namespace career {
namespace {

constexpr std::array<const char*, 5> kDayBoxes = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};

void SetEnabled(const char* name, bool enabled) {
  if (N_GuiElement* element = frontend::GetElement(name)) element->SetEnabled(enabled);
}

}  // namespace

std::string AccountText(std::int32_t account) { return std::to_string(account) + " EUR"; }

void ShowAccount() {
  if (const N_CareerProfile* profile = Profile()) frontend::SetCaption("Account1", AccountText(profile->account));
}

std::int32_t GetSelectedWeekday() {
  for (std::size_t day = 0; day < kDayBoxes.size(); ++day) {
    const N_GuiCheckBox* box = frontend::GetElementOf<N_GuiCheckBox>(kDayBoxes[day]);
    if (box && box->IsChecked()) return static_cast<std::int32_t>(day);
  }
  return -1;
}

void ResetWeekdaySelection() {
  for (std::size_t day = 0; day < kDayBoxes.size(); ++day)
    if (N_GuiCheckBox* box = frontend::GetElementOf<N_GuiCheckBox>(kDayBoxes[day])) box->SetChecked(day == 0);
}

void RefreshCareerWeekHeader() {
  N_CareerProfile* profile = Profile();
  if (!profile) return;
  // The loaded profile's race index and track rows are checked, so the row is 0 to 9.
  const std::int32_t raceIndex = profile->raceIndex;
  const bool inSeason = raceIndex >= 0 && raceIndex < static_cast<std::int32_t>(N_CareerProfile::kTracks);
  if (N_GuiElement* picture = frontend::GetElement("Level6"); picture && inSeason)
    picture->SetShader(FormatString("textures\\menu\\trat%02ds", profile->trackOrder[raceIndex] + 1));

  if (profile->weekChoice >= 0)  // the special training takes Monday to Wednesday
    for (std::size_t day = 0; day < 3; ++day) SetEnabled(kDayBoxes[day], false);

  std::string suffix;
  CareerWeekState& week = Week();
  if (raceIndex == profile->extraRaces[0] || raceIndex == profile->extraRaces[1]) {
    suffix = ", " + frontend::Text("#str012");
    SetEnabled("Friday", false);
    week.extraRaceWeek = true;
  } else {
    if (profile->stage == 0) SetEnabled("Friday", true);
    week.extraRaceWeek = false;
  }
  frontend::SetCaption("LevelText1", FormatDataText(frontend::Text("#str264").c_str(), "%d%d%s", profile->season + 2005,
                                                    raceIndex + 1, suffix.c_str()));
}

}  // namespace career

#include "frontend/career/CareerAthleteView.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiElement.h"
#include "gui/GuiModel.h"
#include "gui/GuiTextSelector.h"
#include "race/AthletProfile.h"

namespace career {

void ShowCareerAthlete(std::int32_t sex, std::int32_t index) {
  const std::int32_t listSex = RosterSex(sex);
  if (auto* model = frontend::GetElementOf<N_GuiModel>("Model7")) {
    model->SetSex(listSex);
    model->SetAthlete(index);
  }
  if (auto* selector = frontend::GetElementOf<N_GuiTextSelector>("Sex11"))
    selector->SetSelected(static_cast<std::uint32_t>(listSex));

  if (const N_AthletProfile* athlete = RosterAthlete(sex, index)) {
    if (N_GuiElement* flag = frontend::GetElement("Natn3")) flag->SetShader(athlete->Nationality);
    frontend::SetCaption("Height1", FormatString("%.1f cm", static_cast<double>(athlete->Height)));
    frontend::SetCaption("Weight1", FormatString("%.1f kg", static_cast<double>(athlete->Weight)));
  } else if (g_log) {
    g_log->Print("Career: no athlete %d of sex %d to show\n", index, listSex);
  }

  const N_CareerProfile* profile = Profile();
  const bool locked = profile && profile->started;
  for (const char* name : {"Sex11", "Difficulty6", "PlayerName5"})
    if (N_GuiElement* element = frontend::GetElement(name)) element->SetEnabled(!locked);
  for (const char* name : {"AthletPrev", "AthletNext"}) {
    if (N_GuiElement* button = frontend::GetElement(name)) {
      if (locked) {
        button->Hide();
      } else {
        button->Show();
      }
    }
  }
}

}  // namespace career

// The attribute page's callbacks: the point budget of the bars while a career is set
// up, the read-only look of a running career, and the leaving of the week's change page.
#include "core/Convert.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerAttributeView.h"
#include "frontend/career/CareerProfilePage.h"
#include "frontend/career/CareerRace.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiElement.h"
#include "gui/GuiScrollBar.h"

#include <cmath>
#include <string>

namespace career {
namespace {

struct AttributeBar {
  const char* bar;
  const char* text;
  float N_CareerProfile::*value;
  float N_CareerProfile::*ceiling;  ///< null for the techniques (ceiling 100)
};
constexpr AttributeBar kBars[] = {
    {"HearthAtt1", "HearthText1", &N_CareerProfile::hearth, &N_CareerProfile::maxHearth},
    {"ConditionAtt1", "ConditionText1", &N_CareerProfile::condition, &N_CareerProfile::maxCondition},
    {"PowerAtt1", "PowerText1", &N_CareerProfile::power, &N_CareerProfile::maxPower},
    {"ConcentrationAtt1", "ConcentrationText1", &N_CareerProfile::concentration, &N_CareerProfile::maxConcentration},
    {"FightGhostAtt1", "FightGhostText1", &N_CareerProfile::fightGhost, &N_CareerProfile::maxFightGhost},
    {"CoolnessAtt1", "CoolnessText1", &N_CareerProfile::coolness, &N_CareerProfile::maxCoolness},
    {"RunTechAtt1", "RunTechText1", &N_CareerProfile::runTech, nullptr},
    {"ShootTechAtt1", "ShootTechText1", &N_CareerProfile::shootTech, nullptr},
    {"HandlTechAtt1", "HandlTechText1", &N_CareerProfile::handlTech, nullptr},
};
constexpr const char* kTotals[] = {"TotalLbl1", "TotalLbl2", "TotalLbl3"};
// The week's first race, the sprint.
constexpr std::int32_t kSprint = 4;

int Rounded(float value) { return SaturatingTruncate(std::round(static_cast<double>(value))); }

/// The group of a bar's tag: 0 and 1 are the first two, any other value the third.
std::size_t GroupOfTag(std::int32_t tag) { return tag == 0 ? 0 : tag == 1 ? 1 : 2; }

}  // namespace
}  // namespace career

extern "C" void CareerAttributesShow(N_GuiPage*) {
  using namespace career;
  const N_GuiElement* slots = frontend::GetElement("Profile1");
  if (slots && slots->IsVisible()) {
    ShowCareerAttributePoints();
    return;
  }
  const N_CareerProfile* profile = Profile();
  if (!profile) return;
  for (const AttributeBar& row : kBars) {
    auto* bar = frontend::GetElementOf<N_GuiScrollBar>(row.bar);
    if (!bar) continue;
    const float value = profile->*row.value;
    bar->SetValue(SaturatingTruncate(static_cast<double>(value)));
    bar->SetEnabled(false);
    const int shown = Rounded(value);
    frontend::SetCaption(row.text, row.ceiling ? std::to_string(shown) + " / " + std::to_string(Rounded(profile->*row.ceiling))
                                               : std::to_string(shown) + " / 100");
  }
}

extern "C" void CareerAttributesDown(N_GuiElement* element) {
  using namespace career;
  if (!element || !frontend::CheckType(*element, N_GuiScrollBar::kTypeName)) return;
  auto* pressed = static_cast<N_GuiScrollBar*>(element);
  if (pressed->GetValue() < kLeastBarPoints) pressed->SetValue(kLeastBarPoints);
  const std::size_t group = GroupOfTag(pressed->GetTag());
  long long left = kGroupPoints;
  for (std::size_t i = 0; i < 3; ++i) {
    // A missing bar counts as 0.
    if (auto* bar = frontend::GetElementOf<N_GuiScrollBar>(kBars[group * 3 + i].bar)) left -= bar->GetValue();
  }
  if (left < 0) {
    pressed->SetValue(static_cast<std::int32_t>(pressed->GetValue() + left));
    left = 0;
  }
  frontend::SetCaption(kTotals[group], std::to_string(left));
}

extern "C" void CareerChangeClick(N_GuiElement* element) {
  if (!element || element->GetName() != "Continue3") return;
  frontend::ClosePage("CareerAttributesInfo", 2.0f);
  const N_CareerProfile* profile = career::Profile();
  if (profile && profile->stage == 0) StartCareerRace(career::kSprint);
}

#include "frontend/career/CareerAttributeView.h"

#include "core/Convert.h"
#include "core/Globals.h"
#include "core/Timer.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiScrollBar.h"
#include "render/Render.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace career {
namespace {

struct AttributeRow {
  const char* word;  ///< the element names' stem: "Hearth" gives "HearthAtt1" ...
  float N_CareerProfile::*value;
  float N_CareerProfile::*ceiling;  ///< null for the techniques (ceiling 100)
  float N_CareerProfile::*setUpBar;  ///< what the bar holds while the points are distributed
  std::size_t change;               ///< its entry of the change vector
};

constexpr AttributeRow kAttributes[] = {
    {"Hearth", &N_CareerProfile::hearth, &N_CareerProfile::maxHearth, &N_CareerProfile::maxHearth, kChangeHearth},
    {"Condition", &N_CareerProfile::condition, &N_CareerProfile::maxCondition, &N_CareerProfile::maxCondition,
     kChangeCondition},
    {"Power", &N_CareerProfile::power, &N_CareerProfile::maxPower, &N_CareerProfile::maxPower, kChangePower},
    {"Concentration", &N_CareerProfile::concentration, &N_CareerProfile::maxConcentration,
     &N_CareerProfile::maxConcentration, kChangeConcentration},
    {"FightGhost", &N_CareerProfile::fightGhost, &N_CareerProfile::maxFightGhost, &N_CareerProfile::maxFightGhost,
     kChangeFightGhost},
    {"Coolness", &N_CareerProfile::coolness, &N_CareerProfile::maxCoolness, &N_CareerProfile::maxCoolness,
     kChangeCoolness},
    {"RunTech", &N_CareerProfile::runTech, nullptr, &N_CareerProfile::runTech, kChangeRunTech},
    {"ShootTech", &N_CareerProfile::shootTech, nullptr, &N_CareerProfile::shootTech, kChangeShootTech},
    {"HandlTech", &N_CareerProfile::handlTech, nullptr, &N_CareerProfile::handlTech, kChangeHandlTech},
};
constexpr std::size_t kGroups = 3;
constexpr const char* kTotals[kGroups] = {"TotalLbl1", "TotalLbl2", "TotalLbl3"};
/// The labels beside the totals, which show and hide with them.
constexpr const char* kTotalLabels[kGroups] = {"PointsLbl1", "PointsLbl2", "PointsLbl3"};
constexpr float kTechniqueCeiling = 100.0f;

std::string Name(const AttributeRow& row, const char* suffix) { return std::string(row.word) + suffix; }

int Rounded(float value) { return SaturatingTruncate(std::round(static_cast<double>(value))); }

float Ceiling(const N_CareerProfile& profile, const AttributeRow& row) {
  return row.ceiling ? profile.*row.ceiling : kTechniqueCeiling;
}

/// A gauge shows the value within its range: a value above it (a ceiling a career
/// began with above 100) fills the gauge and no more, the text beside it tells the
/// number.
void ShowOnGauge(const std::string& name, float value) {
  if (auto* bar = frontend::GetElementOf<N_GuiProgressBar>(name.c_str())) {
    bar->SetValue(std::clamp(value, 0.0f, std::max(bar->GetRange(), 0.0f)));
  }
}

void ShowValue(const AttributeRow& row, float value, float ceiling) {
  ShowOnGauge(Name(row, "Att3"), value);
  frontend::SetCaption(Name(row, "Text2").c_str(), std::to_string(Rounded(value)) + " / " + std::to_string(Rounded(ceiling)));
}

/// GUI-only frames until the seconds of frame time have passed. A clock that does not
/// move still counts a millisecond a frame, so the wait always ends.
void Wait(double seconds) {
  for (double passed = 0.0; passed < seconds;) {
    frontend::RunFlatFrame();
    passed += g_timer ? std::max(g_timer->GetFrameTime(), 0.001) : seconds;
  }
}

// A bar moves by one unit a step; more steps than the widest range are never needed.
constexpr int kMostSteps = 256;

}  // namespace

void ShowCareerAttributePoints() {
  const N_CareerProfile* profile = Profile();
  if (!profile) return;
  const bool started = profile->started != 0;
  for (const char* const* names : {kTotals, kTotalLabels}) {
    for (std::size_t group = 0; group < kGroups; ++group) {
      if (N_GuiElement* label = frontend::GetElement(names[group])) {
        if (started) {
          label->Hide();
        } else {
          label->Show();
        }
      }
    }
  }
  for (std::size_t group = 0; group < kGroups; ++group) {
    int sum = 0;
    for (std::size_t i = 0; i < 3; ++i) {
      const AttributeRow& row = kAttributes[group * 3 + i];
      auto* bar = frontend::GetElementOf<N_GuiScrollBar>(Name(row, "Att1").c_str());
      if (!bar) continue;
      const float value = profile->*row.setUpBar;
      bar->SetValue(SaturatingTruncate(value));
      sum = SaturatingTruncate(static_cast<double>(sum) + value);
      bar->SetEnabled(!started);
    }
    frontend::SetCaption(kTotals[group], std::to_string(static_cast<long long>(kGroupPoints) - sum));
  }
}

void ShowCareerAttributeChanges(const AttributeChanges& changes) {
  const N_CareerProfile* profile = Profile();
  if (!profile) return;
  if (g_render) g_render->EndFrame();

  struct Moving {
    float value, target, ceiling;
  };
  Moving moving[std::size(kAttributes)];
  for (std::size_t i = 0; i < std::size(kAttributes); ++i) {
    const AttributeRow& row = kAttributes[i];
    const float ceiling = Ceiling(*profile, row);
    const float value = profile->*row.value;
    // The bar starts inside its range and steps toward where the value ends: a value
    // above its ceiling would otherwise never reach its target.
    const float high = std::max(ceiling, 0.0f);
    moving[i] = {std::clamp(value, 0.0f, high), std::clamp(value + changes[row.change], 0.0f, high), ceiling};
    ShowOnGauge(Name(row, "Att2"), ceiling);
    ShowValue(row, moving[i].value, ceiling);
  }
  frontend::ShowPageNow("CareerAttributesInfo");
  frontend::HidePageNow("Career");

  Wait(2.0);
  for (std::size_t i = 0; i < std::size(kAttributes); ++i) {
    Moving& m = moving[i];
    for (int steps = 0; std::fabs(m.value - m.target) >= 1.0f && steps < kMostSteps; ++steps) {
      m.value += m.target > m.value ? 1.0f : -1.0f;
      ShowValue(kAttributes[i], m.value, m.ceiling);
      Wait(0.025);
    }
  }
  Wait(1.0);
}

}  // namespace career

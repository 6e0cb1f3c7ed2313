#include "race/RaceSound.h"

#include "gui/GuiTextSelector.h"
#include "race/RaceGui.h"
#include "sound/SoundMng.h"

#include <array>

namespace {

struct SelectorCategory {
  const char* selector;
  int category;
};
constexpr std::array<SelectorCategory, 4> kSelectorCategories{{
    {"CommentariesFX", 4},
    {"EnvironmentFX", 5},
    {"SkiFX", 3},
    {"BodyFX", 2},
}};
constexpr int kAudience = 6;
constexpr int kMusic = 1;

/// Item 0 of the selector means on; a missing selector counts as item 0.
bool SelectorOn(const char* name) {
  const auto* selector = race_gui::ElementAs<N_GuiTextSelector>(name);
  return !selector || selector->GetSelected() == 0;
}

}  // namespace

void SwitchSoundGroupsToRace(bool audience) {
  if (!g_soundMng) return;
  for (const SelectorCategory& entry : kSelectorCategories) {
    g_soundMng->SetCategoryEnabled(entry.category, SelectorOn(entry.selector) ? 1u : 0u);
  }
  g_soundMng->SetCategoryEnabled(kAudience, audience ? 1u : 0u);
  g_soundMng->SetCategoryEnabled(kMusic, 0u);
}

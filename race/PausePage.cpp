#include "race/PausePage.h"

#include "gui/GuiPage.h"
#include "race/RaceGui.h"

namespace {

constexpr const char* kPausePage = "Pause";

}  // namespace

void ShowPausePage() { race_gui::ShowPage(kPausePage, 2.0f); }

void HidePausePage() { race_gui::ClosePage(kPausePage, 2.0f); }

void HidePausePageNow() { race_gui::HidePage(kPausePage); }

bool PausePageShown() {
  const N_GuiPage* page = race_gui::Page(kPausePage);
  return page && page->IsVisible();
}

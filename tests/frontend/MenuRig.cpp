#include "tests/frontend/MenuRig.h"

#include "core/Globals.h"
#include "gui/GuiElement.h"
#include "gui/GuiEvent.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/win32/Process.h"

extern "C" void FrontendTestPageShown(N_GuiPage* page) {
  if (page) test::ShownPages().push_back(page->GetName());
}
const platform::ExportTable kMenuRigCallbacks{platform::Export("FrontendTestPageShown", &FrontendTestPageShown)};

namespace test {

std::vector<std::string>& ShownPages() {
  static std::vector<std::string> shown;
  return shown;
}

MenuRig::MenuRig() {
  // The pages of the targets that later parts of the game bring.
  for (const char* name : {"Arcade", "SingleRace", "TimeAttack", "RunTraining", "ShootTraining", "BuddyGames",
                           "CareerProfile", "CareerAttributes", "CareerHS", "Settings", "ControlsOptions", "Relay"}) {
    MakePage(name);
  }
  ShownPages().clear();
  pages.NewLog();
}

N_GuiMng& MenuRig::Gui() { return pages.World().GuiMng(); }

void MenuRig::MakePage(const char* name) {
  if (Gui().GetPage(name)) return;
  Gui().CreatePage(name)->SetOnShow("FrontendTestPageShown");
}

void MenuRig::ShowOnly(std::initializer_list<const char*> shown) {
  for (const auto& [name, page] : Gui().Pages()) {
    if (page.get() != Gui().GetCursorPage() && page->IsVisible()) page->Hide();
  }
  for (const char* name : shown) Gui().GetPage(name)->ShowImmediate();
  ShownPages().clear();
}

std::vector<std::string> MenuRig::Visible() {
  std::vector<std::string> names;
  for (const auto& [name, page] : Gui().Pages()) {
    if (page.get() != Gui().GetCursorPage() && page->IsVisible()) names.push_back(name);
  }
  return names;
}

void MenuRig::Press(const char* name) {
  N_GuiElement* element = Gui().GetElement(name, false);
  if (!element) return;
  ClickWithLeftButton(*element);
}

}  // namespace test

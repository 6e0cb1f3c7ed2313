#include "frontend/ControlsPage.h"

#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "frontend/SettingsTables.h"
#include "gui/GuiMng.h"
#include "gui/GuiModel.h"
#include "gui/GuiButton.h"
#include "platform/win32/Termination.h"

namespace {

constexpr std::int32_t kWaitingColour = 1;  // red of the text palette

}  // namespace

extern "C" {

void Options2Show(N_GuiPage*) {
  for (const settings::KeyButtonRow& row : settings::KeyButtons()) {
    if (N_GuiElement* button = frontend::GetElementOf<N_GuiButton>(row.button)) button->SetCaption(GetActionKeyName(row.action));
  }
}

void OptionsEnter(N_GuiElement* element) {
  // The figure is optional: a page without it is no fault.
  N_GuiMng* gui = frontend::Gui();
  if (!gui) return;
  const auto found = gui->Elements().find("Model6");
  if (found == gui->Elements().end() || !frontend::CheckType(*found->second, N_GuiModel::kTypeName)) return;
  auto* model = static_cast<N_GuiModel*>(found->second);
  const settings::KeyButtonRow* row = element ? settings::FindKeyButton(element->GetName().c_str()) : nullptr;
  model->SetAnimation(row ? row->animation : settings::kOtherAnimation);
}

}  // extern "C"

void ControlsBack() {
  frontend::HidePageNow("ControlsOptions");
  frontend::ShowPageNow("Background");
  frontend::ShowPageNow("MainOptions");
}

void ClickKeyButton(N_GuiElement* element) {
  const settings::KeyButtonRow* row = element ? settings::FindKeyButton(element->GetName().c_str()) : nullptr;
  if (!row || !frontend::CheckType(*element, N_GuiButton::kTypeName)) return;
  auto* button = static_cast<N_GuiButton*>(element);
  // The old key's name shows red while the program waits.
  const std::int32_t colour = button->GetColor();
  button->SetColor(kWaitingColour);
  int previous = settings::kNoAction;
  const char* name = CaptureActionKey(row->action, &previous);
  if (name) button->SetCaption(name);
  button->SetColor(colour);
  if (previous == settings::kNoAction || previous == row->action) return;
  // The key was taken from that action, which has this button's old key now.
  if (const settings::KeyButtonRow* taken = settings::FindKeyButtonByAction(previous)) {
    if (N_GuiElement* other = frontend::GetElementOf<N_GuiButton>(taken->button)) other->SetCaption(GetActionKeyName(previous));
  }
}

const char* CaptureActionKey(int action, int* previous) {
  if (!g_inputMng) return nullptr;
  N_GuiMng* gui = frontend::Gui();
  if (gui) gui->ShowCursor(false);
  const char* name = nullptr;
  // No cancel: every key counts, Escape included. Only the desktop's request to end the
  // program ends the wait unbound, so that the main loop can end as it asks.
  while (!name && !platform::TerminationRequested()) {
    // The level stays drawn behind the page (as in a page switch's frames), not black.
    frontend::RunBareFrame(0.0f);
    name = BindPressedKey(action, previous);
  }
  if (gui) gui->ShowCursor(true);
  return name;
}

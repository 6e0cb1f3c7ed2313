#include "gui/GuiRadioGroup.h"

#include "gui/GuiCheckBox.h"

const std::string& RadioGroup::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

int RadioGroup::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  if (event.type == N_GuiEventType::ChildHeld) {
    const N_GuiElement* held = GuiEventAs<N_GuiElement*>(event.x);
    for (const auto& [name, child] : Children()) {
      if (child->GetTypeName() == N_GuiCheckBox::kTypeName) static_cast<N_GuiCheckBox*>(child)->SetChecked(child == held);
    }
  }
  return N_GuiPanel::HandleEvent(event);
}

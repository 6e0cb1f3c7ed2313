#include "gui/GuiCheckBox.h"

N_GuiCheckBox::N_GuiCheckBox(std::string name) : N_GuiButton(std::move(name)) {
  if (RegisterClass("N_GuiCheckBox")) N_GuiCheckBox::BuildAttributes();
}

const std::string& N_GuiCheckBox::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiCheckBox::SetChecked(bool checked) {
  m_checked = checked;
  if (checked && GetDownShaderHandle() >= 0) {
    SetCurrentShader(GetDownShaderHandle());
  } else if (GetUpShaderHandle() >= 0) {
    SetCurrentShader(GetUpShaderHandle());
  }
}

int N_GuiCheckBox::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  const bool wasPressed = IsPressed();
  N_GuiButton::HandleEvent(event);
  if (IsPressed() && !wasPressed) m_checked = !m_checked;
  UpdateCheckedShader();
  return 0;
}

void N_GuiCheckBox::UpdateCheckedShader() {
  if (IsHighlighted()) {
    if (m_checked && GetHighlightDownShaderHandle() >= 0) {
      SetCurrentShader(GetHighlightDownShaderHandle());
    } else if (GetHighlightUpShaderHandle() >= 0) {
      SetCurrentShader(GetHighlightUpShaderHandle());
    }
  } else if (m_checked && GetDownShaderHandle() >= 0) {
    SetCurrentShader(GetDownShaderHandle());
  } else if (GetUpShaderHandle() >= 0) {
    SetCurrentShader(GetUpShaderHandle());
  }
}

namespace {

using C = N_GuiCheckBox;

const N_GuiAttributeRow kCheckBoxRows[] = {
    {"checked", "Sets a check state of the check box.", N_GuiAttributeType::Boolean,
     BoolAccessor<C, &C::IsChecked, &C::SetChecked>()},
};

}  // namespace

void N_GuiCheckBox::BuildAttributes() {
  N_GuiButton::BuildAttributes();
  AppendAttributes(kCheckBoxRows);
}

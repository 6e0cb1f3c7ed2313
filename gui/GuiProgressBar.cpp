#include "gui/GuiProgressBar.h"

#include "gui/GuiServices.h"
#include "render/TextBatch.h"

N_GuiProgressBar::N_GuiProgressBar(std::string name) : N_GuiPanel(std::move(name)) {
  if (RegisterClass("N_GuiProgressBar")) N_GuiProgressBar::BuildAttributes();
}

const std::string& N_GuiProgressBar::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiProgressBar::SetBackShader(const std::string& name) {
  if (name.empty()) return;
  m_backShaderName = name;
  m_backShader = GuiAddShader(name);
}

float N_GuiProgressBar::Fraction() const { return m_range != 0.0f ? m_value / m_range : 0.0f; }

void N_GuiProgressBar::Render() {
  if (!IsVisible()) return;
  const float full = FullLength();
  if (m_backShader >= 0 && g_guiServices.textBatch) {
    const float w = m_vertical ? GetWidth() : full;
    const float h = m_vertical ? full : GetHeight();
    g_guiServices.textBatch->AddQuad(m_backShader, GetScreenX(), GetScreenY(), w, h, 1.0f, 1.0f, GetAlpha());
  }
  const float f = Fraction();
  const float fill = f * full;
  // An empty fill leaves the back alone (no quad of no size, no border round nothing).
  if (fill != 0.0f) {
    if (m_vertical) {
      RenderFrame(GetWidth(), fill, GetTilingX(), f);
    } else {
      RenderFrame(fill, GetHeight(), f, GetTilingY());
    }
  }
  RenderChildren();
  RenderParticles();
}

namespace {

using B = N_GuiProgressBar;
using T = N_GuiAttributeType;

constexpr N_GuiWords kTypeWords{{"horizontal", "vertical"}, 1};

const N_GuiAttributeRow kProgressBarRows[] = {
    {"type", "Sets the type of the progress bar.", T::Text, WordsAccessor<B, &B::GetType, &B::SetType, kTypeWords>()},
    {"range", "Sets the range of the progress bar.", T::Number, NumberAccessor<B, &B::GetRange, &B::SetRange>()},
    {"value", "Sets the current value.", T::Number, NumberAccessor<B, &B::GetValue, &B::SetValue>()},
    {"shaderback", "Sets the back shader.", T::Text, TextAccessor<B, &B::GetBackShaderName, &B::SetBackShader>()},
};

}  // namespace

void N_GuiProgressBar::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kProgressBarRows);
}

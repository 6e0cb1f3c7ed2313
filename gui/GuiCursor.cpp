#include "gui/GuiCursor.h"

#include <algorithm>

namespace {

/// Within 0..limit; a value that is no number (a script's "nan" sensitivity) gives 0.
float Within(float value, float limit) { return value >= 0.0f ? std::min(value, limit) : 0.0f; }

}  // namespace

N_GuiCursor::N_GuiCursor(std::string name) : N_GuiPanel(std::move(name)) {
  SetSize(kSize, kSize);
  if (RegisterClass("N_GuiCursor")) N_GuiCursor::BuildAttributes();
}

const std::string& N_GuiCursor::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

N_GuiElement* N_GuiCursor::GetElementAt(float, float) { return nullptr; }

int N_GuiCursor::HandleEvent(const N_GuiEvent& event) {
  if (event.type != N_GuiEventType::Move) return 1;
  // The input service reports the mouse deltas negated, so subtracting follows the
  // mouse. The corner may sit on the right or bottom edge, the picture off screen.
  const float dx = GuiEventAs<float>(event.x) * m_sensitivity * m_scaleX;
  const float dy = GuiEventAs<float>(event.y) * m_sensitivity * m_scaleY;
  SetLeft(Within(GetLeft() - dx, kScreenWidth));
  SetTop(Within(GetTop() - dy, kScreenHeight));
  return 0;
}

namespace {

using C = N_GuiCursor;

const N_GuiAttributeRow kCursorRows[] = {
    {"sensitivity", "The sensitivity of cursor to mouse movement.", N_GuiAttributeType::Number,
     NumberAccessor<C, &C::GetSensitivity, &C::SetSensitivity>()},
};

}  // namespace

void N_GuiCursor::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kCursorRows);
}

#include "gui/GuiScrollBar.h"

#include "core/Convert.h"
#include "core/StringUtil.h"
#include "gui/GuiMng.h"
#include "gui/GuiServices.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace {

/// Templates that leave the bit's length at the element's default give none of their own.
constexpr float kMaxOwnBitWidth = 639.0f;
constexpr float kMaxOwnBitHeight = 479.0f;

}  // namespace

N_GuiScrollBar::N_GuiScrollBar(std::string name) : N_GuiPanel(std::move(name)) {
  if (RegisterClass("N_GuiScrollBar")) N_GuiScrollBar::BuildAttributes();
}

const std::string& N_GuiScrollBar::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiScrollBar::Invalidate() {
  N_GuiPanel::Invalidate();
  m_layoutValid = false;
}

void N_GuiScrollBar::ForgetElement(const N_GuiElement* gone) {
  N_GuiPanel::ForgetElement(gone);
  if (gone == m_up) m_up = nullptr;
  if (gone == m_down) m_down = nullptr;
  if (gone == m_bit) m_bit = nullptr;
}

N_GuiElement* N_GuiScrollBar::MakeChild(N_GuiElement* old, const std::string& templateName, const char* suffix) {
  N_GuiMng* mng = g_guiServices.guiMng;
  if (!mng) return old;
  const bool isTemplate = mng->IsTemplate(this);
  if (old) {
    // Its name is taken until it goes, and it would still be drawn.
    DetachChild(old);
    mng->DestroyElement(old, isTemplate);
  }
  m_layoutValid = false;
  N_GuiElement* child = mng->CreateFromTemplate(templateName, std::string(), GetName() + "/" + suffix, isTemplate);
  if (!child) return nullptr;  // reported by the manager
  child->SetCloneWithTemplate(false);
  Add(child);
  return child;
}

void N_GuiScrollBar::SetUpButtonTemplate(const std::string& name) {
  if (name.empty()) return;
  m_upTemplate = name;
  m_up = MakeChild(m_up, name, "UpButton");
}

void N_GuiScrollBar::SetDownButtonTemplate(const std::string& name) {
  if (name.empty()) return;
  m_downTemplate = name;
  m_down = MakeChild(m_down, name, "DownButton");
}

void N_GuiScrollBar::SetBitTemplate(const std::string& name) {
  if (name.empty()) return;
  m_bitTemplate = name;
  m_bit = MakeChild(m_bit, name, "ScrollBit");
}

void N_GuiScrollBar::SetRange(std::int32_t position, std::int32_t total, std::int32_t visible) {
  m_position = position;
  m_total = total;
  m_visible = visible;
  m_layoutValid = false;
}

void N_GuiScrollBar::SetLimitsText(const std::string& text) {
  std::vector<std::string> fields;
  SplitString(text, fields, " \t\n", 0);
  SetRange(fields.size() > 0 ? GuiInt(fields[0]) : m_position, fields.size() > 1 ? GuiInt(fields[1]) : m_total,
           fields.size() > 2 ? GuiInt(fields[2]) : m_visible);
}

std::string N_GuiScrollBar::GetLimitsText() const {
  return IntToString(m_position) + " " + IntToString(m_total) + " " + IntToString(m_visible);
}

void N_GuiScrollBar::SetType(std::int32_t type) {
  m_horizontal = type == 0;
  m_layoutValid = false;
}

void N_GuiScrollBar::SetSpacing(float spacing) {
  m_spacing = spacing;
  m_layoutValid = false;
}

void N_GuiScrollBar::SetMinimum(std::int32_t minimum) {
  m_minimum = minimum;
  m_bitValid = false;
}

void N_GuiScrollBar::SetMaximum(std::int32_t maximum) {
  m_maximum = maximum;
  m_bitValid = false;
}

void N_GuiScrollBar::SetValue(std::int32_t position) {
  m_position = position;
  m_bitValid = false;
  if (m_textElement.empty()) return;
  N_GuiMng* mng = g_guiServices.guiMng;
  if (N_GuiElement* text = mng ? mng->GetElement(m_textElement, false) : nullptr) text->SetCaption(IntToString(position));
}

void N_GuiScrollBar::Track(float& button, float& start, float& length) const {
  const float across = m_horizontal ? GetHeight() : GetWidth();
  const float along = m_horizontal ? GetWidth() : GetHeight();
  button = across - 2.0f * m_spacing;
  start = button + m_spacing;
  length = along - 2.0f * start;
}

float N_GuiScrollBar::BitStart() const {
  float button = 0.0f, start = 0.0f, length = 0.0f;
  Track(button, start, length);
  if (m_total == 0) return start;
  return static_cast<float>(static_cast<double>(m_position) / m_total * length) + start;
}

void N_GuiScrollBar::Layout() {
  float b = 0.0f, a = 0.0f, length = 0.0f;
  Track(b, a, length);
  const float s = m_spacing;
  const float bitLength =
      m_total != 0 ? static_cast<float>(static_cast<double>(m_visible) / m_total * length) : length;
  if (m_up) {
    m_up->SetLeft(s);
    m_up->SetTop(s);
    m_up->SetSize(b, b);
  }
  if (m_down) {
    m_down->SetLeft(m_horizontal ? GetWidth() - a : s);
    m_down->SetTop(m_horizontal ? s : GetHeight() - a);
    m_down->SetSize(b, b);
  }
  if (m_bit) {
    if (m_horizontal) {
      const float height = m_bit->GetHeight() <= kMaxOwnBitHeight ? m_bit->GetHeight() : GetHeight() - 2.0f * s;
      m_bit->SetSize(bitLength, height);
      m_bit->SetLeft(BitStart());
      m_bit->SetTop(s);
    } else {
      const float width = m_bit->GetWidth() <= kMaxOwnBitWidth ? m_bit->GetWidth() : GetWidth() - 2.0f * s;
      m_bit->SetSize(width, bitLength);
      m_bit->SetLeft(s);
      m_bit->SetTop(BitStart());
    }
  }
  PlaceChildren();
  m_layoutValid = true;
}

void N_GuiScrollBar::PlaceChildren() {
  // Their screen places at once: the hit test of the next update reads them.
  for (N_GuiElement* child : {m_up, m_down, m_bit}) {
    if (child) child->ApplyLayout();
  }
}

void N_GuiScrollBar::ClampPosition() {
  if (m_minimum != -1 && m_position < m_minimum) m_position = m_minimum;
  if (m_maximum != -1 && m_position > m_maximum) m_position = m_maximum;
}

void N_GuiScrollBar::UpdateBit() {
  ClampPosition();
  if (m_bit) {
    if (m_horizontal) {
      m_bit->SetLeft(BitStart());
    } else {
      m_bit->SetTop(BitStart());
    }
    m_bit->ApplyLayout();
  }
  m_bitValid = true;
}

void N_GuiScrollBar::Render() {
  if (!IsVisible()) return;
  if (!m_layoutValid) Layout();
  if (!m_bitValid) UpdateBit();
  N_GuiPanel::Render();
}

bool N_GuiScrollBar::DragSpan(float& lo, float& hi, float& track) const {
  // Without a bit there is nothing to follow the mouse.
  if (!m_bit) return false;
  const float u = m_up ? (m_horizontal ? m_up->GetWidth() : m_up->GetHeight()) : 0.0f;
  const float along = m_horizontal ? GetWidth() : GetHeight();
  lo = m_spacing + u;
  hi = along - u - m_spacing;
  track = along - 2.0f * u - 2.0f * m_spacing;
  return track > 0.0f;
}

float N_GuiScrollBar::AlongBar(float x, float y) { return m_horizontal ? x - GetScreenX() : y - GetScreenY(); }

void N_GuiScrollBar::Drag(float x, float y) {
  float lo = 0.0f, hi = 0.0f, track = 0.0f;
  const float p = AlongBar(x, y);
  // Past an end of the track (over an arrow or off the bar) only a drag begun on it
  // moves the bit: to that end.
  if (DragSpan(lo, hi, track) && ((lo < p && p < hi) || m_dragging)) {
    const float bitLength = m_horizontal ? m_bit->GetWidth() : m_bit->GetHeight();
    const float half = bitLength * 0.5f;
    float start = p - half;
    const bool farEnd = p + half > hi;
    if (start < lo) {
      start = lo;
    } else if (farEnd) {
      start = hi - bitLength;
    }
    if (m_horizontal) {
      m_bit->SetLeft(start);
    } else {
      m_bit->SetTop(start);
    }
    m_position = SaturatingTruncate(static_cast<double>(start - lo) * m_total / track);
    // The far end is the last position, whatever the rounding of the bit's length.
    const std::int64_t last = std::int64_t{m_total} - m_visible;
    if (farEnd && start > lo && last > m_position && last <= std::numeric_limits<std::int32_t>::max()) {
      m_position = static_cast<std::int32_t>(last);
    }
  }
  ClampPosition();
  m_bitValid = false;
}

void N_GuiScrollBar::Announce() {
  SetValue(m_position);
  if (N_GuiContainer* parent = GetParent()) {
    N_GuiEvent scroll;
    scroll.type = N_GuiEventType::Scroll;
    scroll.x = m_position;
    parent->HandleEvent(scroll);
  }
}

bool N_GuiScrollBar::PassesToParent(const N_GuiEvent& event) const {
  return event.type != N_GuiEventType::Button && event.type != N_GuiEventType::Held;
}

void N_GuiScrollBar::MoveBy(std::int32_t steps) {
  for (; steps < 0 && m_position >= 1; ++steps) --m_position;
  for (; steps > 0 && std::int64_t{m_position} + m_visible < m_total &&
         m_position < std::numeric_limits<std::int32_t>::max();
       --steps) {
    ++m_position;
  }
}

void N_GuiScrollBar::Step(std::int32_t steps) {
  MoveBy(steps);
  UpdateBit();
  Announce();
}

int N_GuiScrollBar::HandleEvent(const N_GuiEvent& event) {
  if (event.type == N_GuiEventType::Button && event.button == kGuiLeftButton) {
    // The arrows' presses step; a press on the track or the bit starts a drag.
    float lo = 0.0f, hi = 0.0f, track = 0.0f;
    const float p = AlongBar(GuiEventAs<float>(event.x), GuiEventAs<float>(event.y));
    m_dragging = event.pressed && IsEnabled() && DragSpan(lo, hi, track) && lo < p && p < hi;
  }
  if (!IsEnabled()) return 0;
  if (event.type == N_GuiEventType::ChildHeld) {
    const N_GuiElement* child = GuiEventAs<N_GuiElement*>(event.x);
    Step(child && child == m_up ? -1 : child && child == m_down ? 1 : 0);
  } else if (event.type == N_GuiEventType::Held) {
    Drag(GuiEventAs<float>(event.x), GuiEventAs<float>(event.y));
    Announce();
  }
  return N_GuiPanel::HandleEvent(event);
}

namespace {

using S = N_GuiScrollBar;
using T = N_GuiAttributeType;

constexpr N_GuiWords kTypeWords{{"horizontal", "vertical"}, 0};

const N_GuiAttributeRow kScrollBarRows[] = {
    {"upbutton", "The template of Up Button.", T::Text,
     TextAccessor<S, &S::GetUpButtonTemplate, &S::SetUpButtonTemplate>()},
    {"downbutton", "The template of Down Button.", T::Text,
     TextAccessor<S, &S::GetDownButtonTemplate, &S::SetDownButtonTemplate>()},
    {"scrollbit", "The template of Scroll Bit.", T::Text, TextAccessor<S, &S::GetBitTemplate, &S::SetBitTemplate>()},
    {"limits", "The limits of the scroll bar.", T::Text, TextAccessor<S, &S::GetLimitsText, &S::SetLimitsText>()},
    {"type", "Sets the type a scroll bar. Can be 'horizontal' or 'vertical'.", T::Text,
     WordsAccessor<S, &S::GetType, &S::SetType, kTypeWords>()},
    {"spacing", "Sets the spacing between the edges and scroll buttons or scroll bit.", T::Number,
     NumberAccessor<S, &S::GetSpacing, &S::SetSpacing>()},
    {"textelement", "Sets the element which will automaticaly display current position of the slider.", T::Text,
     TextAccessor<S, &S::GetTextElement, &S::SetTextElement>()},
    {"minimum", "Sets the minimum position of the scroll bit.", T::Integer,
     IntegerAccessor<S, &S::GetMinimum, &S::SetMinimum>()},
    {"maximum", "Sets the maximum position of the scroll bit.", T::Integer,
     IntegerAccessor<S, &S::GetMaximum, &S::SetMaximum>()},
};

}  // namespace

void N_GuiScrollBar::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kScrollBarRows);
}

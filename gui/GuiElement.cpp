#include "gui/GuiElement.h"

#include "gui/GuiContainer.h"
#include "gui/GuiMng.h"
#include "gui/GuiCallbacks.h"
#include "gui/GuiServices.h"

N_GuiElement::N_GuiElement(std::string name) : m_name(std::move(name)) {}

void N_GuiElement::SetEnabled(bool enabled) {
  m_enabled = enabled;
  if (enabled) m_currentShader = m_normalShader;
}

void N_GuiElement::SetSize(float width, float height) {
  if (m_metricsMode == kPixels) {
    m_width = width;
    m_height = height;
  } else {
    m_attrWidth = width;
    m_attrHeight = height;
  }
  Invalidate();
}

void N_GuiElement::SetWidth(float width) {
  if (m_metricsMode == kPixels) {
    m_width = width;
  } else {
    m_attrWidth = width;
  }
  Invalidate();
}

void N_GuiElement::SetHeight(float height) {
  if (m_metricsMode == kPixels) {
    m_height = height;
  } else {
    m_attrHeight = height;
  }
  Invalidate();
}

void N_GuiElement::SetShader(const std::string& name) {
  if (name.empty()) return;
  m_shaderName = name;
  SetShaderHandle(GuiAddShader(name));
}

void N_GuiElement::SetShaderHandle(std::int32_t handle) {
  m_currentShader = handle;
  m_normalShader = handle;
}

void N_GuiElement::SetHighlightShader(const std::string& name) {
  if (name.empty()) return;
  m_highlightShaderName = name;
  m_highlightShader = GuiAddShader(name);
}

void N_GuiElement::SetDisabledShader(const std::string& name) {
  if (name.empty()) return;
  m_disabledShaderName = name;
  m_disabledShader = GuiAddShader(name);
}

void N_GuiElement::SetClickSound(const std::string& name) {
  if (name.empty()) return;
  m_clickSoundName = name;
  m_clickSound = GuiCreateSound(name);
}

void N_GuiElement::SetHighlightSound(const std::string& name) {
  if (name.empty()) return;
  m_highlightSoundName = name;
  m_highlightSound = GuiCreateSound(name);
}

void N_GuiElement::Invalidate() { m_layoutDirty = true; }

void N_GuiElement::ApplyLayout() {
  if (m_layoutDirty && m_metricsMode == kRelative) {
    m_left = m_attrLeft * kScreenWidth;
    m_width = m_attrWidth * kScreenWidth;
    m_top = m_attrTop * kScreenHeight;
    m_height = m_attrHeight * kScreenHeight;
  }
  if (!m_anchor) {
    // Found now, placed from the next pass on.
    if (!m_anchorName.empty()) ResolveAnchor();
  } else {
    // Beside the anchor, on its top line, offset by the values as given.
    m_left = m_anchor->m_left + m_anchor->m_width + m_attrLeft;
    m_top = m_anchor->m_top + m_attrTop;
  }
  UpdateLayout();
  if (m_layoutDirty) {
    OnLayoutChanged();
    m_layoutDirty = false;
  }
}

void N_GuiElement::UpdateLayout() {
  float left = 0.0f, top = 0.0f, right = kScreenWidth, bottom = kScreenHeight;
  if (m_parent) {
    left = m_parent->GetScreenX();
    top = m_parent->GetScreenY();
    right = left + m_parent->GetWidth();
    bottom = top + m_parent->GetHeight();
  }
  switch (m_horzAlign) {
    case kAlignLeft: m_screenX = left + m_left; break;
    case kAlignCenter: m_screenX = (left + right - m_width) * 0.5f + m_left; break;
    case kAlignRight: m_screenX = right - m_width + m_left; break;
    default: break;
  }
  m_positionDirty = false;
  switch (m_vertAlign) {
    case kAlignTop: m_screenY = top + m_top; break;
    case kAlignMiddle: m_screenY = (top + bottom - m_height) * 0.5f + m_top; break;
    case kAlignBottom: m_screenY = bottom - m_height + m_top; break;
    default: break;
  }
}

void N_GuiElement::SetParent(N_GuiContainer* parent, N_GuiPage* page) {
  m_parent = parent;
  m_page = page;
  m_positionDirty = true;
}

float N_GuiElement::GetScreenX() {
  if (m_positionDirty) UpdateLayout();
  return m_screenX;
}

float N_GuiElement::GetScreenY() {
  if (m_positionDirty) UpdateLayout();
  return m_screenY;
}

void N_GuiElement::SetCaption(const std::string& caption) {
  m_caption = caption;
  Invalidate();
}

void N_GuiElement::SetMetricsMode(std::int32_t mode) {
  m_metricsMode = mode;
  if (mode == kRelative) {
    m_attrLeft = m_left;
    m_attrTop = m_top;
    m_attrWidth = m_width;
    m_attrHeight = m_height;
  }
  m_positionDirty = true;
  Invalidate();
}

void N_GuiElement::SetHorzAlign(std::int32_t align) {
  m_horzAlign = align;
  Invalidate();
}

void N_GuiElement::SetVertAlign(std::int32_t align) {
  m_vertAlign = align;
  Invalidate();
}

bool N_GuiElement::ContainsPoint(float x, float y) const {
  return m_screenX <= x && x < m_screenX + m_width && m_screenY <= y && y < m_screenY + m_height;
}

N_GuiElement* N_GuiElement::GetElementAt(float x, float y) { return ContainsPoint(x, y) ? this : nullptr; }

int N_GuiElement::HandleEvent(const N_GuiEvent& event) {
  if (!m_enabled) return 0;
  if (event.type == N_GuiEventType::Enter) {
    if (m_highlightShader >= 0) m_currentShader = m_highlightShader;
    GuiPlaySound(m_highlightSound);
    Call(m_onMouseEnter, this);
  } else if (event.type == N_GuiEventType::Exit) {
    m_currentShader = m_normalShader;
    Call(m_onMouseExit, this);
  }
  if (m_parent && PassesToParent(event)) m_parent->HandleEvent(event);
  if (event.type == N_GuiEventType::Held) {
    Call(m_onMouseDown, this);
  } else if (event.type == N_GuiEventType::Button && event.pressed) {
    // Any mouse button clicks; a release does nothing here.
    GuiPlaySound(m_clickSound);
    Call(m_onClick, this);
  }
  return 0;
}

void N_GuiElement::SetLeft(float left) {
  if (m_metricsMode == kPixels) m_left = left;
  m_attrLeft = left;
  m_positionDirty = true;
  Invalidate();
}

void N_GuiElement::SetTop(float top) {
  if (m_metricsMode == kPixels) m_top = top;
  m_attrTop = top;
  m_positionDirty = true;
  Invalidate();
}

void N_GuiElement::SetAnchor(const std::string& name) {
  m_anchorName = name;
  m_anchor = nullptr;
  if (!name.empty()) ResolveAnchor();
}

void N_GuiElement::ResolveAnchor() {
  N_GuiMng* mng = g_guiServices.guiMng;
  m_anchor = mng ? mng->GetElement(m_anchorName, false) : nullptr;
  if (m_anchor) m_anchor->m_anchoredBy = this;
}

void N_GuiElement::SetTooltip(const std::string& text) {
  if (text.empty()) {
    m_hasTooltip = false;
    return;
  }
  m_tooltip = text;
  m_hasTooltip = true;
}

void N_GuiElement::SetPixelSize(float width, float height) {
  m_width = width;
  m_height = height;
}

void N_GuiElement::ForgetElement(const N_GuiElement* gone) {
  if (!gone) return;
  if (m_parent && static_cast<const N_GuiElement*>(m_parent) == gone) {
    m_parent = nullptr;
    m_positionDirty = true;
  }
  if (m_anchor == gone) m_anchor = nullptr;
  if (m_anchoredBy == gone) m_anchoredBy = nullptr;
}

void N_GuiElement::SetOnMouseEnter(const std::string& name) { Bind(m_onMouseEnter, name, "onmouseenter"); }
void N_GuiElement::SetOnMouseExit(const std::string& name) { Bind(m_onMouseExit, name, "onmouseexit"); }
void N_GuiElement::SetOnClick(const std::string& name) { Bind(m_onClick, name, "onclick"); }
void N_GuiElement::SetOnMouseDown(const std::string& name) { Bind(m_onMouseDown, name, "onmousedown"); }

void N_GuiElement::Bind(Callback& callback, const std::string& name, const char* attribute) const {
  callback.name = name;
  callback.function = FindElementCallback(name, attribute, m_name);
}

void N_GuiElement::Call(const Callback& callback, N_GuiElement* element) {
  if (callback.function) callback.function(element);
}

namespace {

using E = N_GuiElement;
using T = N_GuiAttributeType;

constexpr N_GuiWords kMetricsWords{{"relative", "pixels"}, N_GuiElement::kRelative};
constexpr N_GuiWords kHorzAlignWords{{"left", "center", "right"}, N_GuiElement::kAlignCenter};
constexpr N_GuiWords kVertAlignWords{{"top", "center", "bottom"}, N_GuiElement::kAlignMiddle};

const N_GuiAttributeRow kElementRows[] = {
    {"left", "The position of the left border of the gui element.", T::Number,
     NumberAccessor<E, &E::GetLeft, &E::SetLeft>()},
    {"top", "The position of the top border of the gui element.", T::Number,
     NumberAccessor<E, &E::GetTop, &E::SetTop>()},
    {"width", "The width of the element.", T::Number, NumberAccessor<E, &E::GetWidth, &E::SetWidth>()},
    {"height", "The height of the element.", T::Number, NumberAccessor<E, &E::GetHeight, &E::SetHeight>()},
    {"anchor", "The name of an element to anchor position to.", T::Text,
     TextAccessor<E, &E::GetAnchorName, &E::SetAnchor>()},
    {"shader", "The name of the shader to use.", T::Text, TextAccessor<E, &E::GetShaderName, &E::SetShader>()},
    {"highlightshader", "The name of the shader to use when the mouse is over this element.", T::Text,
     TextAccessor<E, &E::GetHighlightShaderName, &E::SetHighlightShader>()},
    {"disabledshader", "The shader to use when the element is disabled.", T::Text,
     TextAccessor<E, &E::GetDisabledShaderName, &E::SetDisabledShader>()},
    {"highlightsound", "Sets the sound to be played when the element is highlighted.", T::Text,
     TextAccessor<E, &E::GetHighlightSoundName, &E::SetHighlightSound>()},
    {"clicksound", "Sets the sound to be played when the element is pressed.", T::Text,
     TextAccessor<E, &E::GetClickSoundName, &E::SetClickSound>()},
    {"caption", "The element caption, if supported.", T::Text, TextAccessor<E, &E::GetCaption, &E::SetCaption>()},
    {"metricsmode", "The type of metrics to use, either 'relative' to the screen, or 'pixels'.", T::Text,
     WordsAccessor<E, &E::GetMetricsMode, &E::SetMetricsMode, kMetricsWords>()},
    {"horzalign", "The horizontal alignment, 'left', 'right' or 'center'.", T::Text,
     WordsAccessor<E, &E::GetHorzAlign, &E::SetHorzAlign, kHorzAlignWords>()},
    {"vertalign", "The vertical alignment, 'top', 'bottom' or 'center'.", T::Text,
     WordsAccessor<E, &E::GetVertAlign, &E::SetVertAlign, kVertAlignWords>()},
    {"enabled", "The element enabled state.", T::Boolean, BoolAccessor<E, &E::IsEnabled, &E::SetEnabled>()},
    {"visible", "The element visibility state.", T::Boolean, BoolAccessor<E, &E::IsVisible, &E::SetVisible>()},
    {"tag", "The element user defined tag value.", T::Integer, IntegerAccessor<E, &E::GetTag, &E::SetTag>()},
    {"tooltip", "Tooltyp of the element to show whenever user stops the cursor above it for a while.", T::Text,
     TextAccessor<E, &E::GetTooltip, &E::SetTooltip>()},
    {"onmouseenter", "The function name to be called when mouse enters this element.", T::Text,
     TextAccessor<E, &E::GetOnMouseEnter, &E::SetOnMouseEnter>()},
    {"onmouseexit", "The function name to be called when mouse exits this element.", T::Text,
     TextAccessor<E, &E::GetOnMouseExit, &E::SetOnMouseExit>()},
    {"onclick", "The function name to be called when this element is clicked.", T::Text,
     TextAccessor<E, &E::GetOnClick, &E::SetOnClick>()},
    {"onmousedown", "The function name to be called when mouse button is down.", T::Text,
     TextAccessor<E, &E::GetOnMouseDown, &E::SetOnMouseDown>()},
};

}  // namespace

void N_GuiElement::BuildAttributes() { AppendAttributes(kElementRows); }

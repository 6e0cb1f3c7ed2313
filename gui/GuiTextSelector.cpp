#include "gui/GuiTextSelector.h"

#include "gui/GuiServices.h"
#include "render/Render.h"
#include "render/TextBatch.h"

namespace {

/// How much of an extent lies before the anchor of an alignment: none (left, top),
/// half (centre) or all (right, bottom).
float PartBefore(std::int32_t align) {
  if (align == N_GuiElement::kAlignCenter) return 0.5f;
  return align == N_GuiElement::kAlignRight ? 1.0f : 0.0f;
}

}  // namespace

N_GuiTextSelector::N_GuiTextSelector(std::string name) : N_GuiText(std::move(name)) {
  SetAutoSize(true);
  if (RegisterClass("N_GuiTextSelector")) N_GuiTextSelector::BuildAttributes();
}

const std::string& N_GuiTextSelector::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiTextSelector::AddItem(const std::string& text) {
  if (text.empty()) return;
  if (m_items.empty()) SetCaption(text);
  m_items.push_back(text);
}

void N_GuiTextSelector::SetSelected(std::uint32_t index) {
  m_selected = index < m_items.size() ? index : 0;
  if (!m_items.empty()) SetCaption(m_items[m_selected]);
  m_clipWidth = GetWidth();
}

int N_GuiTextSelector::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  const bool step = event.type == N_GuiEventType::Button && event.pressed && !m_sliding && !m_items.empty() &&
                    (event.button == kGuiLeftButton || event.button == kGuiRightButton);
  if (step) {
    m_previous = m_items[m_selected];
    m_sliding = true;
    m_slideOffset = 0.0f;
    const auto count = static_cast<std::uint32_t>(m_items.size());
    if (event.button == kGuiLeftButton) {
      m_selected = m_selected + 1 >= count ? 0 : m_selected + 1;
    } else {
      m_selected = m_selected == 0 ? count - 1 : m_selected - 1;
    }
    SetCaption(m_items[m_selected]);
    float width = 0.0f, height = 0.0f;
    Measure(m_items[m_selected], width, height);
    m_clipWidth = width > GetWidth() ? width : GetWidth();
  }
  return N_GuiText::HandleEvent(event);
}

void N_GuiTextSelector::ClipRect(float& left, float& top, float& right, float& bottom) {
  float x = 0.0f, y = 0.0f;
  TextAnchor(x, y);
  // Around the anchor as the text lies around it: from it, centred on it, or up to it.
  left = x - m_clipWidth * PartBefore(GetAlignment());
  top = y - GetHeight() * PartBefore(GetVAlignment());
  right = left + m_clipWidth;
  bottom = top + GetHeight();
}

void N_GuiTextSelector::QueueFading(const std::string& text, float x, float y, float top, float bottom) const {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (!batch) return;
  if (GetShadow() != 0.0f) {
    batch->AddFontTextFadeY(text.c_str(), GetFontShader(), GetFont(), x + GetShadow(), y + GetShadow(), top, bottom,
                            GetAlignment(), GetVAlignment(), GetCharHeight(), GetShadowColor(), GetAlpha());
  }
  batch->AddFontTextFadeY(text.c_str(), GetFontShader(), GetFont(), x, y, top, bottom, GetAlignment(), GetVAlignment(),
                          GetCharHeight(), GetCurrentColor(), GetAlpha());
}

void N_GuiTextSelector::RenderSlide(float x, float y) {
  N_TextBatch* batch = g_guiServices.textBatch;
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  ClipRect(left, top, right, bottom);
  // What is queued so far is drawn unclipped; the two texts alone under the scissor.
  if (batch) batch->Flush();
  if (g_render) g_render->SetScissorRect(1, left, top, right, bottom);
  const float h = GetHeight();
  QueueFading(m_previous, x, y + m_slideOffset, top, bottom);
  QueueFading(StoredCaption(), x, y + m_slideOffset - h, top, bottom);
  m_slideOffset += GuiFrameTime() * kSlideSpeed;
  // Also ends a slide over a height that is no number.
  if (!(m_slideOffset < h)) m_sliding = false;
  if (batch) batch->Flush();
  if (g_render) g_render->SetScissorRect(0, 0.0f, 0.0f, 0.0f, 0.0f);
}

void N_GuiTextSelector::Render() {
  if (!IsVisible() || StoredCaption().empty()) return;
  float x = 0.0f, y = 0.0f;
  TextAnchor(x, y);
  if (m_sliding) {
    RenderSlide(x, y);
    return;
  }
  if (GetShadow() != 0.0f) QueueLine(StoredCaption(), x + GetShadow(), y + GetShadow(), GetVAlignment(), GetShadowColor());
  QueueLine(StoredCaption(), x, y, GetVAlignment(), GetCurrentColor());
}

namespace {

using S = N_GuiTextSelector;

const N_GuiAttributeRow kTextSelectorRows[] = {
    {"item", "Adds a new item into the selector.", N_GuiAttributeType::Text,
     {[](const N_GuiObject&) { return std::string(); },
      [](N_GuiObject& o, const std::string& v) { static_cast<S&>(o).AddItem(v); }}},
};

}  // namespace

void N_GuiTextSelector::BuildAttributes() {
  N_GuiText::BuildAttributes();
  AppendAttributes(kTextSelectorRows);
}

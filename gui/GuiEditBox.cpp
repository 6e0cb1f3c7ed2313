#include "gui/GuiEditBox.h"

#include "gui/GuiServices.h"
#include "render/TextBatch.h"

#include <algorithm>

N_GuiEditBox::N_GuiEditBox(std::string name) : N_GuiText(std::move(name)) {
  if (RegisterClass("N_GuiEditBox")) N_GuiEditBox::BuildAttributes();
}

const std::string& N_GuiEditBox::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiEditBox::SetCaption(const std::string& caption) {
  m_text = caption;
  N_GuiText::SetCaption(m_password ? std::string(caption.size(), '*') : caption);
  m_caret = static_cast<std::uint32_t>(StoredCaption().size());
}

void N_GuiEditBox::SetPassword(bool password) {
  m_password = password;
  SetCaption(m_text);
}

int N_GuiEditBox::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  N_GuiText::HandleEvent(event);
  if (event.type == N_GuiEventType::Text) {
    const char* text = GuiEventAs<const char*>(event.x);
    SetCaption(text ? text : "");
    const std::int32_t caret = GuiEventAs<std::int32_t>(event.y);
    m_caret = std::min(static_cast<std::uint32_t>(std::max(caret, 0)), static_cast<std::uint32_t>(StoredCaption().size()));
  }
  return 0;
}

void N_GuiEditBox::Render() {
  if (!IsVisible()) return;
  if (GetShader() >= 0 && g_guiServices.textBatch) {
    g_guiServices.textBatch->AddQuad(GetShader(), GetScreenX(), GetScreenY(), GetWidth(), GetHeight(), 1.0f, 1.0f,
                                     GetAlpha());
  }
  N_GuiText::Render();
  m_blinkTimer += GuiFrameTime();
  if (m_blinkTimer > kBlinkTime) {
    m_caretShown = !m_caretShown;
    m_blinkTimer = 0.0f;
  }
  if (m_focused && m_caretShown) RenderCaret();
}

void N_GuiEditBox::RenderCaret() {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (!batch) return;
  const std::string& shown = StoredCaption();
  float before = 0.0f, whole = 0.0f, height = 0.0f;
  Measure(shown.substr(0, m_caret), before, height);
  Measure(shown, whole, height);
  // Where the shown text starts: the alignment places the whole text, and the caret
  // stands after its first characters (at the end of the text the caret's own width
  // is all that counts).
  float x = GetScreenX();
  if (GetAlignment() == kAlignRight) {
    x += GetWidth() - whole;
  } else if (GetAlignment() == kAlignCenter) {
    x += (GetWidth() - whole) * 0.5f;
  }
  // The text's own vertical anchor, so the caret stands on its line.
  float anchorX = 0.0f, y = 0.0f;
  TextAnchor(anchorX, y);
  const float caretX = x + before;
  if (GetShadow() != 0.0f) {
    batch->AddFontText("|", GetFontShader(), GetFont(), caretX + GetShadow(), y + GetShadow(), GetAlignment(),
                       GetVAlignment(), GetCharHeight(), GetShadowColor(), GetAlpha());
  }
  batch->AddFontText("|", GetFontShader(), GetFont(), caretX, y, GetAlignment(), GetVAlignment(), GetCharHeight(),
                     GetCurrentColor(), GetAlpha());
}

namespace {

using B = N_GuiEditBox;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kEditBoxRows[] = {
    {"maxchars", "Sets the maximum characters in the edit box.", T::Integer,
     IntegerAccessor<B, &B::GetMaxChars, &B::SetMaxChars>()},
    {"password", "Sets the password type of the edit box.", T::Boolean,
     BoolAccessor<B, &B::GetPassword, &B::SetPassword>()},
};

}  // namespace

void N_GuiEditBox::BuildAttributes() {
  N_GuiText::BuildAttributes();
  AppendAttributes(kEditBoxRows);
}

#include "gui/GuiButton.h"

#include "gui/GuiContainer.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "render/TextBatch.h"

N_GuiButton::N_GuiButton(std::string name) : N_GuiText(std::move(name)), m_savedCharHeight(GetCharHeight()) {
  SetVAlignment(kAlignMiddle);
  if (RegisterClass("N_GuiButton")) N_GuiButton::BuildAttributes();
}

const std::string& N_GuiButton::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiButton::SetDownShader(const std::string& name) {
  if (name.empty()) return;
  m_downShaderName = name;
  m_downShader = GuiAddShader(name);
}

void N_GuiButton::SetUpShader(const std::string& name) {
  if (name.empty()) return;
  m_upShaderName = name;
  m_upShader = GuiAddShader(name);
  SetShaderHandle(m_upShader);
}

void N_GuiButton::SetHighlightDownShader(const std::string& name) {
  if (name.empty()) return;
  m_highlightDownShaderName = name;
  m_highlightDownShader = GuiAddShader(name);
}

void N_GuiButton::SetHighlightUpShader(const std::string& name) {
  if (name.empty()) return;
  m_highlightUpShaderName = name;
  m_highlightUpShader = GuiAddShader(name);
}

int N_GuiButton::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  N_GuiText::HandleEvent(event);
  switch (event.type) {
    case N_GuiEventType::Enter:
      m_highlighted = true;
      m_savedCharHeight = GetCharHeight();
      SetCharHeight(GetCharHeight() + kHighlightGrowth);
      break;
    case N_GuiEventType::Exit:
      // Only an entered button grew; one enabled while the cursor was on it did not.
      if (m_highlighted) SetCharHeight(m_savedCharHeight);
      m_highlighted = false;
      break;
    case N_GuiEventType::Button:
      if (event.button != kGuiLeftButton) break;
      m_pressed = event.pressed;
      if (m_pressed && !m_gotoPage.empty()) FollowGotoPage();
      break;
    case N_GuiEventType::Held:
      if (event.button == kGuiLeftButton && GetParent()) {
        N_GuiEvent held;
        held.type = N_GuiEventType::ChildHeld;
        held.x = static_cast<N_GuiElement*>(this);
        GetParent()->HandleEvent(held);
      }
      break;
    default: break;
  }
  UpdateShader();
  return 0;
}

void N_GuiButton::FollowGotoPage() {
  // A button not on a page yet (a template) has nothing to close; the target still shows.
  if (N_GuiPage* page = GetPage()) page->Close(kPageFadeRate);
  if (m_gotoPage == "hide") return;
  N_GuiMng* mng = g_guiServices.guiMng;
  if (N_GuiPage* target = mng ? mng->GetPage(m_gotoPage) : nullptr) target->Show(kPageFadeRate);
}

void N_GuiButton::UpdateShader() {
  // A shader that is not set leaves the current one; the plain button never shows "down".
  if (m_highlighted && m_pressed && m_highlightDownShader >= 0) {
    SetCurrentShader(m_highlightDownShader);
  } else if (m_highlighted) {
    if (m_highlightUpShader >= 0) SetCurrentShader(m_highlightUpShader);
  } else if (m_upShader >= 0) {
    SetCurrentShader(m_upShader);
  }
}

void N_GuiButton::Render() {
  if (!IsVisible()) return;
  const std::int32_t background = !IsEnabled() && GetDisabledShader() >= 0 ? GetDisabledShader() : GetShader();
  if (background >= 0 && g_guiServices.textBatch)
    g_guiServices.textBatch->AddQuad(background, GetScreenX(), GetScreenY(), GetWidth(), GetHeight(), 1.0f, 1.0f,
                                     GetAlpha());
  if (!GetCaption().empty()) N_GuiText::Render();
}

namespace {

using B = N_GuiButton;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kButtonRows[] = {
    {"downshader", "The shader to use when the button is down.", T::Text,
     TextAccessor<B, &B::GetDownShaderName, &B::SetDownShader>()},
    {"upshader", "The shader to use when the button is up.", T::Text,
     TextAccessor<B, &B::GetUpShaderName, &B::SetUpShader>()},
    {"highlightdownshader", "The shader to use when the button is highlighted and down.", T::Text,
     TextAccessor<B, &B::GetHighlightDownShaderName, &B::SetHighlightDownShader>()},
    {"highlightupshader", "The shader to use when the button is highlighted and up.", T::Text,
     TextAccessor<B, &B::GetHighlightUpShaderName, &B::SetHighlightUpShader>()},
    {"gotopage", "", T::Text, TextAccessor<B, &B::GetGotoPage, &B::SetGotoPage>()},
};

}  // namespace

void N_GuiButton::BuildAttributes() {
  N_GuiText::BuildAttributes();
  AppendAttributes(kButtonRows);
}

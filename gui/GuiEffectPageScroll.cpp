#include "gui/GuiEffectPageScroll.h"

#include "gui/GuiElement.h"
#include "gui/GuiPage.h"

N_GuiEffectPageScroll::N_GuiEffectPageScroll() {
  if (RegisterClass("N_GuiEffectPageScroll")) N_GuiEffectPageScroll::BuildAttributes();
}

const std::string& N_GuiEffectPageScroll::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiEffectPageScroll::Start() {
  m_elapsed = 0.0f;
  m_slide.Launch(m_direction, m_speed, m_dump);
  m_slide.x = 0.0f;
  m_slide.y = 0.0f;
  switch (m_slide.direction) {
    case kLeft: m_slide.x = N_GuiElement::kScreenWidth; break;
    case kRight: m_slide.x = -N_GuiElement::kScreenWidth; break;
    case kTop: m_slide.y = N_GuiElement::kScreenHeight; break;
    default: m_slide.y = -N_GuiElement::kScreenHeight; break;
  }
  if (N_GuiPage* page = GetPage()) page->SetOffset(m_slide.x, m_slide.y);
  m_running = true;
}

void N_GuiEffectPageScroll::Stop() {
  m_slide.x = 0.0f;
  m_slide.y = 0.0f;
}

void N_GuiEffectPageScroll::Update(float frameTime) {
  if (m_elapsed < m_start || !m_running) {
    m_elapsed += frameTime;
    return;
  }
  if (m_slide.Step(frameTime, 0.0f, 0.0f)) m_running = false;
  if (N_GuiPage* page = GetPage()) page->SetOffset(m_slide.x, m_slide.y);
}

namespace {

using P = N_GuiEffectPageScroll;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kPageScrollRows[] = {
    {"start", "Sets the start time of the scrolling.", T::Number, NumberAccessor<P, &P::GetStart, &P::SetStart>()},
    {"direction", "Sets the direction of scrolling of the page.", T::Text,
     WordsAccessor<P, &P::GetDirection, &P::SetDirection, kGuiDirectionWords>()},
    {"speed", "Sets the speed of scrolling.", T::Number, NumberAccessor<P, &P::GetSpeed, &P::SetSpeed>()},
    {"dump", "Sets the dumping factor for scrolling speed slowdown.", T::Number,
     NumberAccessor<P, &P::GetDump, &P::SetDump>()},
};

}  // namespace

void N_GuiEffectPageScroll::BuildAttributes() { AppendAttributes(kPageScrollRows); }

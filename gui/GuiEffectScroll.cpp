#include "gui/GuiEffectScroll.h"

#include "gui/GuiContainer.h"
#include "gui/GuiMng.h"
#include "gui/GuiServices.h"

N_GuiEffectScroll::N_GuiEffectScroll() {
  if (RegisterClass("N_GuiEffectScroll")) N_GuiEffectScroll::BuildAttributes();
}

const std::string& N_GuiEffectScroll::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiEffectScroll::PlaceOf(N_GuiElement& e, float& left, float& top) {
  // An anchored element is placed from its given values at every layout pass (also
  // before its anchor is found): those are what the slide moves. Any other stands at
  // its screen position less its parent's, which, aligned left and top, is its own.
  if (!e.GetAnchorName().empty()) {
    left = e.GetGivenLeft();
    top = e.GetGivenTop();
    return;
  }
  left = e.GetScreenX();
  top = e.GetScreenY();
  if (N_GuiContainer* parent = e.GetParent()) {
    left -= parent->GetScreenX();
    top -= parent->GetScreenY();
  }
}

void N_GuiEffectScroll::Start() {
  Stop();
  N_GuiMng* mng = g_guiServices.guiMng;
  m_element = mng ? mng->GetElement(m_elementName, false) : nullptr;
  if (!m_element) return;
  N_GuiElement& e = *m_element;
  m_elapsed = 0.0f;
  float left = 0.0f, top = 0.0f;
  PlaceOf(e, left, top);
  m_targetX = left;
  m_targetY = top;
  m_slide.Launch(m_direction, m_speed, m_dump);
  switch (m_slide.direction) {
    case kLeft:
      e.SetHorzAlign(N_GuiElement::kAlignLeft);
      left = N_GuiElement::kScreenWidth;
      break;
    case kRight:
      e.SetHorzAlign(N_GuiElement::kAlignLeft);
      if (const N_GuiElement* anchor = e.GetAnchor()) {
        left = -anchor->GetWidth() - anchor->GetLeft() - anchor->GetWidth();
      } else {
        left = -e.GetWidth();
      }
      break;
    case kTop:
      e.SetVertAlign(N_GuiElement::kAlignTop);
      top = N_GuiElement::kScreenHeight;
      break;
    default:
      e.SetVertAlign(N_GuiElement::kAlignTop);
      top = -e.GetHeight();
      break;
  }
  if (m_slide.Horizontal()) {
    e.SetLeft(left);
  } else {
    e.SetTop(top);
  }
  m_slide.x = left;
  m_slide.y = top;
  m_running = true;
}

void N_GuiEffectScroll::Stop() {
  if (m_element) {
    if (m_slide.Horizontal()) {
      m_element->SetLeft(m_targetX);
    } else {
      m_element->SetTop(m_targetY);
    }
  }
  m_running = false;
}

void N_GuiEffectScroll::Update(float frameTime) {
  if (m_elapsed < m_start || !m_running || !m_element) {
    m_elapsed += frameTime;
    return;
  }
  if (m_slide.Step(frameTime, m_targetX, m_targetY)) m_running = false;
  if (m_slide.Horizontal()) {
    m_element->SetLeft(m_slide.x);
  } else {
    m_element->SetTop(m_slide.y);
  }
}

void N_GuiEffectScroll::ForgetElement(const N_GuiElement* gone) {
  if (gone && m_element == gone) m_element = nullptr;
}

namespace {

using S = N_GuiEffectScroll;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kScrollRows[] = {
    {"element", "Sets the element name to scroll.", T::Text,
     TextAccessor<S, &S::GetElementName, &S::SetElementName>()},
    {"start", "Sets the start time of the scrolling.", T::Number, NumberAccessor<S, &S::GetStart, &S::SetStart>()},
    {"direction", "Sets the direction of scrolling of the element.", T::Text,
     WordsAccessor<S, &S::GetDirection, &S::SetDirection, kGuiDirectionWords>()},
    {"speed", "Sets the speed of scrolling.", T::Number, NumberAccessor<S, &S::GetSpeed, &S::SetSpeed>()},
    {"dump", "Sets the dumping factor for scrolling speed slowdown.", T::Number,
     NumberAccessor<S, &S::GetDump, &S::SetDump>()},
};

}  // namespace

void N_GuiEffectScroll::BuildAttributes() { AppendAttributes(kScrollRows); }

#include "gui/GuiEffectFade.h"

#include "core/Convert.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiServices.h"

#include <algorithm>

namespace {

/// An alpha of 0..1 as a byte, truncated; anything outside (or no number) is held to
/// the byte's range.
std::uint8_t AlphaByte(float alpha) {
  return static_cast<std::uint8_t>(std::clamp(SaturatingTruncate(double(alpha) * 255.0), 0, 255));
}

}  // namespace

N_GuiEffectFade::N_GuiEffectFade() {
  if (RegisterClass("N_GuiEffectFade")) N_GuiEffectFade::BuildAttributes();
}

const std::string& N_GuiEffectFade::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiEffectFade::Start() {
  Stop();
  N_GuiMng* mng = g_guiServices.guiMng;
  m_element = mng ? mng->GetElement(m_elementName, false) : nullptr;
  if (!m_element) return;
  m_elapsed = 0.0f;
  m_running = true;
  m_alpha = m_type == kFadeIn ? 0.0f : 1.0f;
  m_element->SetAlpha(m_type == kFadeIn ? 0 : 255);
}

void N_GuiEffectFade::Stop() {
  if (m_element) m_element->SetAlpha(m_type == kFadeIn ? 255 : 0);
  m_running = false;
}

void N_GuiEffectFade::Update(float frameTime) {
  if (m_elapsed < m_start || !m_running || !m_element) {
    m_elapsed += frameTime;
    return;
  }
  const float step = frameTime * m_speed;
  if (m_type == kFadeIn) {
    m_alpha += step;
    if (m_alpha >= 1.0f) {
      m_alpha = 1.0f;
      m_running = false;
    }
  } else {
    m_alpha -= step;
    if (m_alpha <= 0.0f) {
      m_alpha = 0.0f;
      m_running = false;
    }
  }
  m_element->SetAlpha(AlphaByte(m_alpha));
}

void N_GuiEffectFade::ForgetElement(const N_GuiElement* gone) {
  if (gone && m_element == gone) m_element = nullptr;
}

namespace {

using F = N_GuiEffectFade;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kFadeRows[] = {
    {"element", "Sets the element name to fade.", T::Text,
     TextAccessor<F, &F::GetElementName, &F::SetElementName>()},
    {"start", "Sets the start time of the fading.", T::Number, NumberAccessor<F, &F::GetStart, &F::SetStart>()},
    {"speed", "Sets the speed of fading.", T::Number, NumberAccessor<F, &F::GetSpeed, &F::SetSpeed>()},
    {"type", "Sets the type of fading (in/out).", T::Text,
     WordsAccessor<F, &F::GetType, &F::SetType, kGuiFadeTypeWords>()},
};

}  // namespace

void N_GuiEffectFade::BuildAttributes() { AppendAttributes(kFadeRows); }

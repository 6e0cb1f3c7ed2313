#include "gui/GuiPage.h"

#include "core/Convert.h"
#include "gui/GuiEffect.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiCallbacks.h"
#include "gui/GuiServices.h"

#include <algorithm>

namespace {

/// Page elements are layered page z-order x 100, so that nested children (+1 a level)
/// stay below the next page's elements.
constexpr int kElementLayers = 100;

/// An alpha of 0..1 as a byte, truncated.
std::uint8_t AlphaByte(float alpha) { return static_cast<std::uint8_t>(std::clamp(SaturatingTruncate(alpha * 255.0), 0, 255)); }

}  // namespace

N_GuiPage::N_GuiPage(std::string name) : m_name(std::move(name)) {}

void N_GuiPage::SetZOrder(std::uint16_t z) {
  m_zOrder = z;
  for (N_GuiElement* element : m_elements) element->SetZOrder(z);
  m_drawOrderDirty = true;
}

void N_GuiPage::AddElement(N_GuiElement* element) {
  if (!element) return;
  m_elements.push_back(element);
  element->SetParent(nullptr, this);
  element->SetZOrder(static_cast<std::uint16_t>(m_zOrder * kElementLayers));
  m_drawOrderDirty = true;
}

void N_GuiPage::RemoveElement(const N_GuiElement* element) {
  const auto it = std::find(m_elements.begin(), m_elements.end(), element);
  if (it == m_elements.end()) return;
  m_elements.erase(it);
  m_drawOrderDirty = true;
}

void N_GuiPage::AddEffect(N_GuiEffect* effect) {
  if (!effect) return;
  m_effects.push_back(effect);
  effect->SetPage(this);
}

void N_GuiPage::RemoveEffect(N_GuiEffect* effect) { std::erase(m_effects, effect); }

void N_GuiPage::RebuildDrawOrder() {
  m_drawOrder.clear();
  for (N_GuiElement* element : m_elements) m_drawOrder.emplace(element->GetZOrder(), element);
  m_drawOrderDirty = false;
}

void N_GuiPage::RebuildDrawOrderWhenDirty() {
  // Every walk of the draw order comes here first: it may still hold an element that
  // left the page.
  if (m_drawOrderDirty) RebuildDrawOrder();
}

void N_GuiPage::SetMusic(const std::string& name) {
  if (name.empty()) return;
  m_musicName = name;
  m_music = GuiCreateSound(name);
}

void N_GuiPage::SetOnShow(const std::string& name) {
  m_onShowName = name;
  m_onShow = FindPageCallback(name, m_name);
}

void N_GuiPage::SetOffset(float x, float y) {
  m_offsetX = x;
  m_offsetY = y;
  m_matrixDirty = true;
}

const N_Matrix4& N_GuiPage::GetMatrix() {
  if (!m_matrixDirty) return m_matrix;
  m_matrix = N_Matrix4();
  if (m_scaleX != 0.0f || m_scaleY != 0.0f) {
    // About the screen centre.
    m_matrix.m[0] = m_scaleX;
    m_matrix.m[5] = m_scaleY;
    m_matrix.m[12] = 320.0f - 320.0f * m_scaleX;
    m_matrix.m[13] = 240.0f - 240.0f * m_scaleY;
  }
  if (m_offsetX != 0.0f || m_offsetY != 0.0f) {
    N_Matrix4 translation;
    translation.m[12] = m_offsetX;
    translation.m[13] = m_offsetY;
    MatrixMultiply(m_matrix, translation, m_matrix);
  }
  m_matrixDirty = false;
  return m_matrix;
}

void N_GuiPage::ShowImmediate() { ShowSteps(true); }

void N_GuiPage::Show(float rate) {
  m_fadeRate = rate;
  ShowSteps(false);
}

void N_GuiPage::ShowSteps(bool immediate) {
  // onshow sees the page still hidden, so it can fill the elements first.
  if (m_onShow) m_onShow(this);
  m_visible = true;
  m_fade = immediate ? kNoFade : kFadeIn;
  m_alpha = immediate ? 1.0f : 0.0f;
  GuiPlaySound(m_music);
  if (immediate) SetElementAlphas(255);  // a fade sets them in Render
  for (std::size_t i = 0; i < m_effects.size(); ++i) m_effects[i]->Start();
  N_GuiMng* mng = g_guiServices.guiMng;
  if (!mng) return;
  // A page with the cursor counts it up, one without counts it down.
  mng->ShowCursor(m_showCursor);
  if (m_modal) mng->SetModalPage(this);
}

void N_GuiPage::Hide() {
  m_visible = false;
  m_fade = kNoFade;
  HideSteps();
}

void N_GuiPage::Close(float rate) {
  m_fadeRate = rate;
  m_fade = kFadeOut;
  HideSteps();
}

void N_GuiPage::HideSteps() {
  for (std::size_t i = 0; i < m_effects.size(); ++i) m_effects[i]->Stop();
  N_GuiMng* mng = g_guiServices.guiMng;
  if (!mng) return;
  if (m_showCursor) mng->ShowCursor(false);
  // Cleared even when another page was made modal after this one.
  if (m_modal) mng->SetModalPage(nullptr);
}

void N_GuiPage::SetElementAlphas(std::uint8_t alpha) {
  RebuildDrawOrderWhenDirty();
  for (auto& [z, element] : m_drawOrder) element->SetAlpha(alpha);
}

void N_GuiPage::Render() {
  RebuildDrawOrderWhenDirty();
  const float dt = GuiFrameTime();
  if (m_fade == kFadeIn) {
    m_alpha += dt * m_fadeRate;
    if (m_alpha >= 1.0f) {
      m_alpha = 1.0f;
      m_fade = kNoFade;
    }
    SetElementAlphas(AlphaByte(m_alpha));
  } else if (m_fade == kFadeOut) {
    m_alpha -= dt * m_fadeRate;
    if (m_alpha <= 0.0f) {
      m_alpha = 0.0f;
      m_fade = kNoFade;
      m_visible = false;
    }
    SetElementAlphas(AlphaByte(m_alpha));
  }
  for (auto& [z, element] : m_drawOrder) {
    element->ApplyLayout();
    element->Render();
  }
  for (std::size_t i = 0; i < m_effects.size(); ++i) m_effects[i]->Update(dt);
}

N_GuiElement* N_GuiPage::ElementAt(float x, float y) {
  // The hit test runs before the next Render: elements may have come or gone since.
  RebuildDrawOrderWhenDirty();
  N_GuiElement* result = nullptr;
  int best = -1;
  for (auto& [z, element] : m_drawOrder) {
    if (!element->IsVisible() || int(element->GetZOrder()) <= best) continue;
    if (N_GuiElement* hit = element->GetElementAt(x, y)) {
      result = hit;
      best = hit->GetZOrder();
    }
  }
  return result;
}

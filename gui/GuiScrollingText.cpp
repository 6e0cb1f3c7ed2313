#include "gui/GuiScrollingText.h"

#include "gui/GuiServices.h"
#include "render/Render.h"
#include "render/TextBatch.h"

#include <vector>

N_GuiScrollingText::N_GuiScrollingText(std::string name) : N_GuiText(std::move(name)) {
  if (RegisterClass("N_GuiScrollingText")) N_GuiScrollingText::BuildAttributes();
}

const std::string& N_GuiScrollingText::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiScrollingText::Render() {
  const std::string& caption = StoredCaption();
  if (!IsVisible() || caption.empty()) return;
  N_TextBatch* batch = g_guiServices.textBatch;
  const float x = GetScreenX(), y = GetScreenY(), w = GetWidth(), h = GetHeight();
  float ax = 0.0f, ay = 0.0f;
  TextAnchor(ax, ay);
  // What is queued before is drawn unclipped.
  if (batch) batch->Flush();
  if (g_render) g_render->SetScissorRect(1, x, y, x + w, y + h);

  float textWidth = 0.0f, lineHeight = 0.0f;
  Measure(caption, textWidth, lineHeight);
  const std::vector<std::string> single{caption};
  const std::vector<std::string>& lines = GetMultiline() ? Lines() : single;
  const float textHeight = static_cast<float>(lines.size()) * lineHeight;
  Advance(ax, ay, w, h, textWidth, lineHeight, textHeight);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    QueueScrolledLine(lines[i], m_offsetX, m_offsetY + static_cast<float>(i) * lineHeight);
  }

  if (batch) batch->Flush();
  if (g_render) g_render->SetScissorRect(0, 0.0f, 0.0f, 0.0f, 0.0f);
}

void N_GuiScrollingText::Advance(float ax, float ay, float w, float h, float textWidth, float lineHeight,
                                 float textHeight) {
  // The first render puts the text just outside the side it enters from (one line's
  // height above for a downward motion, also with several lines).
  if (m_offsetX < kNotStarted) m_offsetX = m_scrollX < 0.0f ? ax + w : m_scrollX > 0.0f ? ax - textWidth : ax;
  if (m_offsetY < kNotStarted) m_offsetY = m_scrollY < 0.0f ? ay + h : m_scrollY > 0.0f ? ay - lineHeight : ay;
  const float dt = GuiFrameTime();
  m_offsetX += dt * m_scrollX;
  m_offsetY += dt * m_scrollY;
  // Wholly out on the far side: back to the near side.
  if (m_scrollX < 0.0f && m_offsetX + textWidth < ax) {
    m_offsetX = ax + w;
  } else if (m_scrollX > 0.0f && ax + w < m_offsetX) {
    m_offsetX = ax - textWidth;
  }
  if (m_scrollY < 0.0f && m_offsetY + textHeight < ay) {
    m_offsetY = ay + h;
  } else if (m_scrollY > 0.0f && ay + h < m_offsetY) {
    m_offsetY = ay - textHeight;
  }
}

void N_GuiScrollingText::QueueScrolledLine(const std::string& line, float x, float y) {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (!batch) return;
  const float left = GetScreenX(), top = GetScreenY();
  const float right = left + GetWidth(), bottom = top + GetHeight();
  const auto queue = [&](float px, float py, std::int32_t colour) {
    if (m_scrollX != 0.0f) {
      batch->AddFontTextFadeX(line.c_str(), GetFontShader(), GetFont(), px, py, left, right, GetAlignment(),
                              GetVAlignment(), GetCharHeight(), colour, GetAlpha());
    } else {
      batch->AddFontTextFadeY(line.c_str(), GetFontShader(), GetFont(), px, py, top, bottom, GetAlignment(),
                              GetVAlignment(), GetCharHeight(), colour, GetAlpha());
    }
  };
  if (GetShadow() != 0.0f) queue(x + GetShadow(), y + GetShadow(), GetShadowColor());
  queue(x, y, GetCurrentColor());
}

namespace {

using S = N_GuiScrollingText;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kScrollingTextRows[] = {
    {"scrollx", "Sets the scrolling speed of the text in x direction.", T::Number,
     NumberAccessor<S, &S::GetScrollX, &S::SetScrollX>()},
    {"scrolly", "Sets the scrolling speed of the text in y direction.", T::Number,
     NumberAccessor<S, &S::GetScrollY, &S::SetScrollY>()},
};

}  // namespace

void N_GuiScrollingText::BuildAttributes() {
  N_GuiText::BuildAttributes();
  AppendAttributes(kScrollingTextRows);
}

// The table's layout, scroll bar, grid lines and mouse handling.
#include "gui/GuiMng.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"
#include "render/TextBatch.h"

#include <algorithm>

namespace {

/// The width a scroll bar keeps when its template gave none: the element's default.
constexpr float kDefaultWidth = N_GuiElement::kScreenWidth;
/// The share of the table's width such a scroll bar takes.
constexpr float kScrollBarShare = 0.05f;

}  // namespace

void N_GuiTable::SetHeight(float height) {
  N_GuiPanel::SetHeight(height);
  if (m_scrollBar) m_scrollBar->SetHeight(height - 2.0f * m_vspacing);
  m_layoutValid = false;
}

void N_GuiTable::SetWidth(float width) {
  N_GuiPanel::SetWidth(width);
  if (m_scrollBar) m_scrollBar->SetLeft(GetWidth() - m_scrollBar->GetWidth());
  m_layoutValid = false;
}

void N_GuiTable::SetScrollBarTemplate(const std::string& name) {
  N_GuiMng* mng = g_guiServices.guiMng;
  if (name.empty() || !mng) return;
  m_scrollBarTemplate = name;
  const bool isTemplate = ChildrenAreTemplates();
  if (m_scrollBar) {
    N_GuiScrollBar* old = m_scrollBar;
    m_scrollBar = nullptr;
    DetachChild(old);
    mng->DestroyElement(old, isTemplate);
  }
  m_layoutValid = false;
  N_GuiElement* made = mng->CreateFromTemplate(name, N_GuiScrollBar::kTypeName, GetName() + "/ScrollBar", isTemplate);
  if (!made) return;  // reported by the manager
  auto* bar = static_cast<N_GuiScrollBar*>(made);
  bar->SetCloneWithTemplate(false);
  if (bar->GetWidth() == kDefaultWidth) bar->SetWidth(kScrollBarShare * GetWidth());
  bar->SetLeft(GetWidth() - bar->GetWidth());
  bar->SetTop(m_vspacing);
  bar->SetHeight(GetHeight() - 2.0f * m_vspacing);
  bar->SetType(1);
  Add(bar);
  m_scrollBar = bar;
}

void N_GuiTable::ShowRow(std::int32_t row) {
  if (row < 0 || row >= GetRowCount()) return;
  // The rows that fit under the header, as the layout counts them: at least one.
  float top = m_vspacing;
  if (m_hasHeader && !m_rows.empty()) top += m_rows.front().panel->GetHeight() + m_vspacing;
  const float step = m_rowHeight + m_vspacing;
  const std::int32_t fit = step > 0.0f ? std::max(1, static_cast<std::int32_t>((GetHeight() - top) / step)) : 1;
  if (row < m_firstVisible) {
    m_firstVisible = row;
  } else if (row >= m_firstVisible + fit) {
    m_firstVisible = row - fit + 1;
  } else {
    return;
  }
  m_layoutValid = false;
}

void N_GuiTable::ApplyLayout() {
  N_GuiPanel::ApplyLayout();
  if (!m_layoutValid) RefreshLayout();
}

void N_GuiTable::RefreshLayout() {
  m_visibleRows = 0;
  float y = m_vspacing;
  const std::uint32_t columns = GetColumnCount();
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    Row& row = m_rows[i];
    float x = 0.0f;
    for (std::uint32_t c = 0; c < columns; ++c) {
      x += m_columnSpaces[c];
      if (c < row.cells.size() && row.cells[c]) row.cells[c]->SetLeft(x);
      x += m_columnWidths[c];
    }
    if (i == 0 && m_hasHeader) {
      // The header keeps its own top and always shows.
      y += row.panel->GetHeight() + m_vspacing;
      row.panel->Show();
      continue;
    }
    if (static_cast<std::int64_t>(i - HeaderRows()) < m_firstVisible) {
      row.panel->Hide();
      continue;
    }
    row.panel->SetTop(y);
    row.panel->SetWidth(x);
    row.panel->ApplyLayout();
    y += m_rowHeight + m_vspacing;
    if (y <= GetHeight()) {
      row.panel->Show();
      ++m_visibleRows;
    } else {
      row.panel->Hide();
    }
  }
  if (m_scrollBar) m_scrollBar->SetRange(m_firstVisible, GetRowCount(), m_visibleRows);
  m_layoutValid = true;
}

void N_GuiTable::Render() {
  if (!IsVisible()) return;
  N_GuiPanel::Render();
  RenderLines();
}

void N_GuiTable::RenderLines() {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (!batch || m_lineShader < 0) return;
  const float x0 = GetScreenX(), y0 = GetScreenY();
  const std::uint32_t columns = GetColumnCount();
  const std::int32_t alpha = GetAlpha();
  const std::int32_t rows = m_visibleRows + (m_hasHeader ? 1 : 0);
  if (m_horzLines > 0.0f) {
    float width = 0.0f;
    for (std::uint32_t c = 0; c < columns; ++c) width += m_columnWidths[c] + m_columnSpaces[c];
    for (std::int32_t i = 0; i <= rows; ++i) {
      const float y = i == 0 ? y0 : y0 + static_cast<float>(i) * (m_rowHeight + m_vspacing) + m_vspacing * 0.5f;
      batch->AddQuad(m_lineShader, x0, y, width, m_horzLines, 1.0f, 1.0f, alpha);
    }
  }
  if (m_vertLines > 0.0f && columns > 0) {
    const float length = (m_rowHeight + m_vspacing) * static_cast<float>(rows) + m_vspacing * 0.5f;
    float x = x0;
    for (std::uint32_t c = 0; c <= columns; ++c) {
      batch->AddQuad(m_lineShader, x, y0, m_vertLines, length, 1.0f, 1.0f, alpha);
      if (c < columns) x += m_columnSpaces[c] + m_columnWidths[c];
    }
  }
}

int N_GuiTable::HandleEvent(const N_GuiEvent& event) {
  if (!IsEnabled()) return 0;
  if (event.type == N_GuiEventType::Scroll) {
    m_firstVisible = GuiEventAs<std::int32_t>(event.x);
    RefreshLayout();
  } else if (event.type == N_GuiEventType::Wheel && m_scrollBar) {
    // A step of the wheel moves the rows as a click on an arrow does: away, up the list.
    m_scrollBar->Step(-GuiEventAs<std::int32_t>(event.x));
  } else if (event.type == N_GuiEventType::Button && event.button == kGuiLeftButton && event.pressed &&
             m_selectable) {
    const float x = GuiEventAs<float>(event.x);
    const float y = GuiEventAs<float>(event.y);
    const N_GuiElement* hit = GetElementAt(x, y);
    const float scrollBarWidth = m_scrollBar ? m_scrollBar->GetWidth() : 0.0f;
    for (std::size_t i = HeaderRows(); i < m_rows.size() && hit; ++i) {
      Row& row = m_rows[i];
      if (row.panel != hit) continue;
      if (x < GetScreenX() + GetWidth() - scrollBarWidth && !row.marked) {
        if (m_selected) m_selected->SetShaderHandle(m_rowShader);
        m_selected = row.panel;
        m_selected->SetShaderHandle(SelectedShader());
      }
      break;
    }
  }
  return N_GuiPanel::HandleEvent(event);
}

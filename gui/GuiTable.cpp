// The table's rows: making them from row lines, their texts, selection, marks and
// removal. Layout, drawing and events are in GuiTableLayout.cpp, the attributes in
// GuiTableAttributes.cpp.
#include "gui/GuiTable.h"

#include "core/Tokenizer.h"
#include "gui/GuiEffect.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiServices.h"
#include "gui/GuiText.h"

#include <algorithm>

namespace {

/// The row counter of the whole program run: every table row (headers too) takes a
/// number, so row and cell names never repeat.
std::uint32_t& RowCounter() {
  static std::uint32_t counter = 0;
  return counter;
}

/// A number with a leading 0 below 10.
std::string TwoDigits(std::uint32_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

bool IsText(const N_GuiElement* element) { return element && element->GetTypeName() == N_GuiText::kTypeName; }

}  // namespace

N_GuiTable::N_GuiTable(std::string name) : N_GuiPanel(std::move(name)) {
  if (RegisterClass("N_GuiTable")) N_GuiTable::BuildAttributes();
}

const std::string& N_GuiTable::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

std::vector<std::string> N_GuiTable::SplitRowLine(const std::string& line) {
  std::vector<std::string> fields;
  N_Tokenizer tokens;
  tokens.OpenString(line.c_str());
  while (const char* field = tokens.NextToken(false)) fields.emplace_back(field);
  return fields;
}

bool N_GuiTable::ChildrenAreTemplates() const {
  const N_GuiMng* mng = g_guiServices.guiMng;
  return mng && mng->IsTemplate(this);
}

N_GuiTable::Row* N_GuiTable::RowAt(std::int32_t row) {
  if (row < 0 || row >= GetRowCount()) return nullptr;
  return &m_rows[static_cast<std::size_t>(row) + HeaderRows()];
}

const N_GuiTable::Row* N_GuiTable::RowAt(std::int32_t row) const {
  return const_cast<N_GuiTable*>(this)->RowAt(row);
}

std::int32_t N_GuiTable::GetRowCount() const {
  return static_cast<std::int32_t>(m_rows.size() - HeaderRows());
}

N_GuiPanel* N_GuiTable::GetRowPanel(std::int32_t row) const {
  const Row* r = RowAt(row);
  return r ? r->panel : nullptr;
}

N_GuiPanel* N_GuiTable::GetHeaderPanel() const { return m_hasHeader ? m_rows.front().panel : nullptr; }

std::vector<N_GuiElement*> N_GuiTable::GetRowCells(std::int32_t row) const {
  const Row* r = RowAt(row);
  return r ? r->cells : std::vector<N_GuiElement*>{};
}

void N_GuiTable::SetColumnCount(std::uint32_t count) {
  m_columnTypes.resize(count, kColumnUnset);
  m_columnWidths.resize(count, 0.0f);
  m_columnAligns.resize(count, 0);
  m_columnSpaces.resize(count, 0.0f);
  // Every column colour, the old ones too, starts again from "color".
  m_columnColours.assign(count, m_colour);
}

N_GuiElement* N_GuiTable::MakeCell(const std::string& field, std::uint32_t column, bool header,
                                   const std::string& name) {
  N_GuiMng* mng = g_guiServices.guiMng;
  // A column of no kind shows text, as every header cell does.
  const bool image = !header && m_columnTypes[column] == kColumnImage;
  N_GuiElement* cell = mng->CreateElement(image ? N_GuiPanel::kTypeName : N_GuiText::kTypeName, name,
                                          ChildrenAreTemplates());
  if (!cell) return nullptr;  // reported by the manager
  cell->SetCloneWithTemplate(false);
  float d = m_vspacing;
  if (image) {
    cell->SetShader(field);
    d = m_imageVSpacing >= 0.0f ? m_imageVSpacing : m_vspacing;
  } else if (IsText(cell)) {
    auto* text = static_cast<N_GuiText*>(cell);
    text->SetCaption(field);
    text->SetCharHeight(m_charHeight);
    text->SetFontName(m_fontName);
    text->SetColor(header ? m_headerColour : m_columnColours[column]);
    text->SetAlignment(m_columnAligns[column]);
    text->SetVAlignment(kAlignMiddle);
  }
  cell->SetTop(d);
  cell->SetHeight(m_rowHeight - 2.0f * d);
  cell->SetLeft(m_hspacing);
  cell->SetWidth(m_columnWidths[column] - 2.0f * m_hspacing);
  return cell;
}

void N_GuiTable::AddRow(const std::string& line, bool isHeader) {
  N_GuiMng* mng = g_guiServices.guiMng;
  if ((isHeader && m_hasHeader) || !mng) return;
  const std::uint32_t number = RowCounter()++;
  const std::string cellPrefix = GetName() + "/TableItem" + TwoDigits(RowCounter());
  const std::vector<std::string> fields = SplitRowLine(line);
  if (fields.size() > GetColumnCount()) SetColumnCount(static_cast<std::uint32_t>(fields.size()));

  const std::string name = (isHeader ? "#" : "") + GetName() + "/TablePanel" + TwoDigits(number);
  N_GuiElement* made = mng->CreateElement(N_GuiPanel::kTypeName, name, ChildrenAreTemplates());
  if (!made) return;  // reported by the manager
  Row row;
  row.panel = static_cast<N_GuiPanel*>(made);
  row.panel->SetCloneWithTemplate(false);
  row.panel->SetChildrenTakeInput(false);  // clicks land on the row
  row.panel->SetLeft(m_hspacing);
  row.panel->SetWidth(GetWidth() - m_hspacing - (m_scrollBar ? m_scrollBar->GetWidth() : 0.0f));
  row.panel->SetHeight(m_rowHeight);
  for (std::size_t c = 0; c < fields.size(); ++c) {
    const auto column = static_cast<std::uint32_t>(c);
    N_GuiElement* cell = MakeCell(fields[c], column, isHeader, cellPrefix + TwoDigits(column));
    if (cell) row.panel->Add(cell);
    row.cells.push_back(cell);
  }
  if (!isHeader) {
    if (!m_selected) {
      m_selected = row.panel;
      row.panel->SetShaderHandle(SelectedShader());
    } else {
      row.panel->SetShaderHandle(m_rowShader);
    }
  }
  Add(row.panel);
  m_layoutValid = false;
  if (m_scrollRows) {
    if (isHeader) {
      row.panel->SetLeft(kScrolledHeaderLeft);
    } else {
      StartRowSlide(row);
    }
  }
  if (isHeader) {
    m_hasHeader = true;
    m_rows.insert(m_rows.begin(), std::move(row));
  } else {
    m_rows.push_back(std::move(row));
  }
}

void N_GuiTable::StartRowSlide(Row& row) {
  // Without a page (a template, or not placed yet) or an element scroll to make, the
  // row simply stands at its place.
  N_GuiMng* mng = g_guiServices.guiMng;
  N_GuiPage* page = GetPage();
  if (!page || !mng->FindEffectFactory("Scroll")) return;
  N_GuiEffect* effect = mng->CreateEffect("Scroll");
  if (!effect) return;
  effect->SetAttribute("element", row.panel->GetName());
  effect->SetAttribute("direction", "right");
  effect->SetAttribute("speed", std::to_string(static_cast<int>(kRowScrollSpeed)));
  effect->Start();
  page->AddEffect(effect);
  row.effect = effect;
}

void N_GuiTable::SetCellTexts(Row& row, const std::string& line) {
  const std::vector<std::string> fields = SplitRowLine(line);
  if (fields.size() != GetColumnCount()) return;
  for (std::size_t c = 0; c < fields.size() && c < row.cells.size(); ++c) {
    N_GuiElement* cell = row.cells[c];
    if (!cell) continue;
    if (IsText(cell)) {
      cell->SetCaption(fields[c]);
    } else {
      cell->SetShader(fields[c]);
    }
  }
}

void N_GuiTable::SetRowText(const std::string& line, std::int32_t row) {
  if (Row* r = RowAt(row)) SetCellTexts(*r, line);
}

void N_GuiTable::SetHeaderText(const std::string& line) {
  if (m_hasHeader) SetCellTexts(m_rows.front(), line);
}

void N_GuiTable::DestroyRow(Row& row) {
  N_GuiMng* mng = g_guiServices.guiMng;
  if (!mng) return;
  const bool isTemplate = ChildrenAreTemplates();
  if (row.effect) mng->DestroyEffect(row.effect);  // it leaves its page too
  if (row.panel == m_selected) m_selected = nullptr;
  for (N_GuiElement* cell : row.cells) {
    if (cell) mng->DestroyElement(cell, isTemplate);
  }
  if (row.panel) {
    DetachChild(row.panel);
    mng->DestroyElement(row.panel, isTemplate);
  }
  m_layoutValid = false;
}

void N_GuiTable::DeleteRow(std::int32_t row) {
  if (!RowAt(row)) return;
  const auto at = m_rows.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) + HeaderRows());
  // Out of the list first: what the manager tells the table while it destroys the row
  // must not find it there.
  Row gone = std::move(*at);
  m_rows.erase(at);
  DestroyRow(gone);
}

void N_GuiTable::Clear() {
  std::vector<Row> gone(m_rows.begin() + static_cast<std::ptrdiff_t>(HeaderRows()), m_rows.end());
  m_rows.resize(HeaderRows());
  for (Row& row : gone) DestroyRow(row);
  m_selected = nullptr;
  m_firstVisible = 0;
  m_layoutValid = false;
}

void N_GuiTable::SelectRow(std::int32_t row) {
  if (row < 0) {
    if (m_selected) m_selected->SetShaderHandle(m_rowShader);
    m_selected = nullptr;
    return;
  }
  Row* r = RowAt(row);
  if (!r || r->marked) return;
  if (m_selected) m_selected->SetShaderHandle(m_rowShader);
  m_selected = r->panel;
  m_selected->SetShaderHandle(SelectedShader());
}

std::int32_t N_GuiTable::GetSelectedRow() const {
  if (!m_selected) return -1;
  for (std::int32_t i = 0; i < GetRowCount(); ++i) {
    if (RowAt(i)->panel == m_selected) return i;
  }
  return -1;
}

void N_GuiTable::SetTextCellColours(Row& row, std::int32_t colour) {
  for (N_GuiElement* cell : row.cells) {
    if (IsText(cell)) static_cast<N_GuiText*>(cell)->SetColor(colour);
  }
}

void N_GuiTable::MarkRow(std::int32_t row) {
  Row* r = RowAt(row);
  if (!r || r->marked) return;
  r->panel->SetShaderHandle(m_markedShader);
  if (r->panel == m_selected) m_selected = nullptr;
  SetTextCellColours(*r, m_markedColour);
  r->marked = true;
}

void N_GuiTable::UnmarkRow(std::int32_t row) {
  Row* r = RowAt(row);
  if (!r || !r->marked) return;
  r->panel->SetShaderHandle(m_rowShader);
  SetTextCellColours(*r, m_colour);
  r->marked = false;
}

void N_GuiTable::ClearMarks() {
  for (std::int32_t i = 0; i < GetRowCount(); ++i) UnmarkRow(i);
}

bool N_GuiTable::IsRowMarked(std::int32_t row) const {
  const Row* r = RowAt(row);
  return r && r->marked;
}

void N_GuiTable::ForgetElement(const N_GuiElement* gone) {
  N_GuiPanel::ForgetElement(gone);
  if (!gone) return;
  if (gone == m_selected) m_selected = nullptr;
  if (static_cast<const N_GuiElement*>(m_scrollBar) == gone) m_scrollBar = nullptr;
  // A row or cell destroyed by someone else leaves no pointer behind.
  for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
    if (it->panel == gone) {
      if (it == m_rows.begin() && m_hasHeader) m_hasHeader = false;
      m_rows.erase(it);
      m_layoutValid = false;
      return;
    }
    std::replace(it->cells.begin(), it->cells.end(), const_cast<N_GuiElement*>(gone), static_cast<N_GuiElement*>(nullptr));
  }
}

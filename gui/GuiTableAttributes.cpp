// The table's attributes: shaders, font, column lists and the row lines of scripts.
#include "core/Font.h"
#include "core/StringUtil.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"

#include <functional>

namespace {

constexpr N_GuiWords kAlignWords{{"left", "center", "right"}, N_GuiElement::kAlignLeft};

/// The shader name and a reference of its 2D shader; an empty name changes nothing.
void SetShaderName(const std::string& name, std::string& stored, std::int32_t& handle) {
  if (name.empty()) return;
  stored = name;
  handle = GuiAddShader(name);
}

template <class T>
std::string JoinColumns(const std::vector<T>& values, const std::function<std::string(const T&)>& print) {
  std::string text;
  for (const T& value : values) {
    if (!text.empty()) text += ' ';
    text += print(value);
  }
  return text;
}

}  // namespace

void N_GuiTable::SetRowShader(const std::string& name) { SetShaderName(name, m_rowShaderName, m_rowShader); }
void N_GuiTable::SetSelectedRowShader(const std::string& name) {
  SetShaderName(name, m_selectedShaderName, m_selectedShader);
}
void N_GuiTable::SetMarkedRowShader(const std::string& name) {
  SetShaderName(name, m_markedShaderName, m_markedShader);
}
void N_GuiTable::SetLineShader(const std::string& name) { SetShaderName(name, m_lineShaderName, m_lineShader); }

void N_GuiTable::SetFontName(const std::string& name) {
  if (name.empty()) return;
  m_fontName = name;
  GuiAddShader(name);
  if (g_guiServices.fonts) LoadFont(*g_guiServices.fonts, name.c_str());
}

std::vector<std::string> N_GuiTable::ColumnEntries(const std::string& text) {
  std::vector<std::string> entries;
  SplitString(text, entries, " \t\n", 0);
  if (entries.size() > GetColumnCount()) SetColumnCount(static_cast<std::uint32_t>(entries.size()));
  m_layoutValid = false;
  return entries;
}

void N_GuiTable::SetColumnTypes(const std::string& text) {
  const std::vector<std::string> entries = ColumnEntries(text);
  for (std::size_t c = 0; c < entries.size(); ++c) {
    m_columnTypes[c] = entries[c] == "text" ? kColumnText : entries[c] == "image" ? kColumnImage : kColumnUnset;
  }
}

std::string N_GuiTable::GetColumnTypes() const {
  // A column of no kind reads as a word of its own, so a copy keeps every column in place.
  return JoinColumns<std::uint32_t>(m_columnTypes, [](const std::uint32_t& type) {
    return std::string(type == kColumnText ? "text" : type == kColumnImage ? "image" : "none");
  });
}

void N_GuiTable::SetColumnWidths(const std::string& text) {
  const std::vector<std::string> entries = ColumnEntries(text);
  for (std::size_t c = 0; c < entries.size(); ++c) m_columnWidths[c] = GuiFloat(entries[c]);
}

std::string N_GuiTable::GetColumnWidths() const {
  return JoinColumns<float>(m_columnWidths, [](const float& v) { return FloatToString(v); });
}

void N_GuiTable::SetColumnAligns(const std::string& text) {
  const std::vector<std::string> entries = ColumnEntries(text);
  // Only "center" and "right" mean something; any other word is left.
  for (std::size_t c = 0; c < entries.size(); ++c) {
    m_columnAligns[c] = entries[c] == "center" ? kAlignCenter : entries[c] == "right" ? kAlignRight : kAlignLeft;
  }
}

std::string N_GuiTable::GetColumnAligns() const {
  return JoinColumns<std::int32_t>(m_columnAligns, [](const std::int32_t& v) { return kAlignWords.Print(v); });
}

void N_GuiTable::SetColumnColors(const std::string& text) {
  const std::vector<std::string> entries = ColumnEntries(text);
  for (std::size_t c = 0; c < entries.size(); ++c) m_columnColours[c] = GuiInt(entries[c]);
}

std::string N_GuiTable::GetColumnColors() const {
  return JoinColumns<std::int32_t>(m_columnColours, [](const std::int32_t& v) { return IntToString(v); });
}

void N_GuiTable::SetColumnSpaces(const std::string& text) {
  const std::vector<std::string> entries = ColumnEntries(text);
  for (std::size_t c = 0; c < entries.size(); ++c) m_columnSpaces[c] = GuiFloat(entries[c]);
}

std::string N_GuiTable::GetColumnSpaces() const {
  return JoinColumns<float>(m_columnSpaces, [](const float& v) { return FloatToString(v); });
}

namespace {

using X = N_GuiTable;
using T = N_GuiAttributeType;

/// "row" and "header" read back empty, and an empty value adds nothing: a copy of a
/// table makes no rows.
template <bool Header>
constexpr N_GuiAttributeAccessor RowLineAccessor() {
  return {[](const N_GuiObject&) { return std::string(); },
          [](N_GuiObject& o, const std::string& v) {
            if (!v.empty()) static_cast<X&>(o).AddRow(v, Header);
          }};
}

const N_GuiAttributeRow kTableRows[] = {
    {"scrollbar", "The name of the scroll bar template", T::Text,
     TextAccessor<X, &X::GetScrollBarTemplate, &X::SetScrollBarTemplate>()},
    {"hspacing", "The horizontal spacing of the elements from the edge of the table", T::Number,
     NumberAccessor<X, &X::GetHSpacing, &X::SetHSpacing>()},
    {"vspacing", "The vertical spacing of the elements", T::Number,
     NumberAccessor<X, &X::GetVSpacing, &X::SetVSpacing>()},
    {"imagevspacing", "The vertical spacing of the image elements", T::Number,
     NumberAccessor<X, &X::GetImageVSpacing, &X::SetImageVSpacing>()},
    {"rowshader", "The shader of the item panel", T::Text,
     TextAccessor<X, &X::GetRowShaderName, &X::SetRowShader>()},
    {"rowshaderselected", "The shader of the item panel when it is selected", T::Text,
     TextAccessor<X, &X::GetSelectedRowShaderName, &X::SetSelectedRowShader>()},
    {"rowshadermarked", "The shader of the item panel when it is marked", T::Text,
     TextAccessor<X, &X::GetMarkedRowShaderName, &X::SetMarkedRowShader>()},
    {"charheight", "Sets the height of the characters in relation to the screen.", T::Number,
     NumberAccessor<X, &X::GetCharHeight, &X::SetCharHeight>()},
    {"fontname", "Sets the name of the font to use.", T::Text, TextAccessor<X, &X::GetFontName, &X::SetFontName>()},
    {"color", "Sets the color of the text in the table.", T::Integer, IntegerAccessor<X, &X::GetColor, &X::SetColor>()},
    {"headercolor", "Sets the color of the table's header.", T::Integer,
     IntegerAccessor<X, &X::GetHeaderColor, &X::SetHeaderColor>()},
    {"markedcolor", "Sets the color of the marked text in the table.", T::Integer,
     IntegerAccessor<X, &X::GetMarkedColor, &X::SetMarkedColor>()},
    {"columntypes", "The types of the columns in the table", T::Text,
     TextAccessor<X, &X::GetColumnTypes, &X::SetColumnTypes>()},
    {"columnwidths", "The widths of the columns in the table", T::Text,
     TextAccessor<X, &X::GetColumnWidths, &X::SetColumnWidths>()},
    {"columnaligns", "The text aligns of the columns in the table", T::Text,
     TextAccessor<X, &X::GetColumnAligns, &X::SetColumnAligns>()},
    {"columncolors", "The text colors of the columns in the table", T::Text,
     TextAccessor<X, &X::GetColumnColors, &X::SetColumnColors>()},
    {"columnspaces", "The spacings of the columns in the table", T::Text,
     TextAccessor<X, &X::GetColumnSpaces, &X::SetColumnSpaces>()},
    {"rowheight", "The height of each row in the table", T::Number,
     NumberAccessor<X, &X::GetRowHeight, &X::SetRowHeight>()},
    {"row", "Adds a new row at the bottom of the table", T::Text, RowLineAccessor<false>()},
    {"header", "Sets a header at the top of the table", T::Text, RowLineAccessor<true>()},
    {"selectable", "Determine whether the rows inside the table are selectable by user", T::Boolean,
     BoolAccessor<X, &X::IsSelectable, &X::SetSelectable>()},
    {"lineshader", "Sets the line shader", T::Text, TextAccessor<X, &X::GetLineShaderName, &X::SetLineShader>()},
    {"horzlines", "Sets the height of horizontal lines between the table rows", T::Number,
     NumberAccessor<X, &X::GetHorzLines, &X::SetHorzLines>()},
    {"vertlines", "Sets the width of vertical lines between the table columns", T::Number,
     NumberAccessor<X, &X::GetVertLines, &X::SetVertLines>()},
    {"scrollrows", "Sets wether to scroll new rows", T::Boolean,
     BoolAccessor<X, &X::GetScrollRows, &X::SetScrollRows>()},
};

}  // namespace

void N_GuiTable::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kTableRows);
}

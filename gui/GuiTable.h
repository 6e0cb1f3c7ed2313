#pragma once
// N_GuiTable: the list and grid of the menus and race boards (start lists, results,
// split boards, high scores, athlete lists). A panel whose rows are row panels made
// by the table, each holding one cell per column: a text for a text column, a panel
// showing a picture for an image column. A row comes from one line of blank-separated
// fields ("1 Name \"First Last\" +0.5": a quoted field keeps its blanks). A table has
// at most one header row, one selected row, any number of marked rows, an optional
// vertical scroll bar made from a template, and optional grid lines. Factory type
// "Table".
//
// Names: rows "<table>/TablePanel<N>", the header "#<table>/TablePanel<N>" (sorting
// first), cells "<table>/TableItem<R><C>" and the scroll bar "<table>/ScrollBar". N
// and R come from one counter of the program run that every row takes a number from
// (R is the number after the row's own), so names never repeat; numbers below 10 get
// a leading 0. Rows, cells and the scroll bar are never copied with a template.
//
// Every row change marks the layout stale; the page's next layout pass places the
// rows: those before the first visible row and those that do not fit are hidden.
// Row indices count from 0 below the header; indices out of range change nothing.
#include "gui/GuiPanel.h"

#include <cstdint>
#include <string>
#include <vector>

class N_GuiEffect;
class N_GuiScrollBar;

class N_GuiTable : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "Table";
  enum ColumnType : std::uint32_t { kColumnUnset = 0, kColumnText = 1, kColumnImage = 2 };
  /// Where a scrolled-in header row stands.
  static constexpr float kScrolledHeaderLeft = 13.0f;
  /// The slide of a new row with "scrollrows".
  static constexpr float kRowScrollSpeed = 400.0f;

  explicit N_GuiTable(std::string name);
  ~N_GuiTable() override = default;

  /// With a scroll bar, it takes the new height less the spacing above and below.
  void SetHeight(float height) override;
  /// With a scroll bar, it moves to the new right edge: a template's scroll bar was
  /// placed by the template's width, before the page gave the table its own.
  void SetWidth(float width) override;
  /// The element's pass, then the rows' layout when it is stale.
  void ApplyLayout() override;
  /// As a panel (background, border, children, particles), then the grid lines.
  void Render() override;
  const std::string& GetTypeName() const override;
  /// Nothing while disabled. A scroll event makes its position the first visible row
  /// and lays the rows out at once; the wheel over the table steps its scroll bar a
  /// row a step; a left press on a selectable table selects the unmarked row under
  /// the point (left of the scroll bar). Then the element's own handling.
  int HandleEvent(const N_GuiEvent& event) override;
  void ForgetElement(const N_GuiElement* gone) override;
  void BuildAttributes() override;
  /// "color": the text colour of the cells and of new columns; only stored.
  virtual void SetColor(std::int32_t colour) { m_colour = colour; }
  virtual std::int32_t GetColor() const { return m_colour; }

  // Rows.
  /// Appends a row (the header goes first; a second header is ignored). More fields
  /// than columns add columns. A normal row is selected when none is (even in a table
  /// that is not selectable).
  void AddRow(const std::string& line, bool isHeader);
  /// New texts (or pictures) for a row's cells; only a line of one field per column.
  void SetRowText(const std::string& line, std::int32_t row);
  void SetHeaderText(const std::string& line);
  /// The row, its cells and its slide go; its mark goes with it, later marks move with
  /// their rows.
  void DeleteRow(std::int32_t row);
  /// Every row but the header goes, with the marks and the selection; the first
  /// visible row is 0 again.
  void Clear();
  /// Selects an unmarked row; a negative index selects none.
  void SelectRow(std::int32_t row);
  /// -1 when no row is selected.
  std::int32_t GetSelectedRow() const;
  /// The rows below the header.
  std::int32_t GetRowCount() const;
  /// Marks and deselects the row; its texts take the marked colour.
  void MarkRow(std::int32_t row);
  /// Its texts take the table's colour again (not the column's).
  void UnmarkRow(std::int32_t row);
  void ClearMarks();
  bool IsRowMarked(std::int32_t row) const;

  /// A row's panel and cells (one per column of its line, null where one could not be
  /// made); null or empty out of range.
  N_GuiPanel* GetRowPanel(std::int32_t row) const;
  N_GuiPanel* GetHeaderPanel() const;
  std::vector<N_GuiElement*> GetRowCells(std::int32_t row) const;
  N_GuiScrollBar* GetScrollBar() const { return m_scrollBar; }
  std::int32_t GetFirstVisibleRow() const { return m_firstVisible; }
  /// Scrolls as little as needed for the row to be laid out in view.
  void ShowRow(std::int32_t row);
  /// Rows shown by the last layout.
  std::int32_t GetVisibleRowCount() const { return m_visibleRows; }
  bool HasHeader() const { return m_hasHeader; }

  // Columns.
  std::uint32_t GetColumnCount() const { return static_cast<std::uint32_t>(m_columnTypes.size()); }
  /// Every column list gets n entries (new ones 0), then every column colour is "color".
  void SetColumnCount(std::uint32_t count);
  std::uint32_t GetColumnType(std::uint32_t column) const { return m_columnTypes[column]; }

  /// The fields of a row line: blank- or tab-separated, quotes keep blanks and go,
  /// "//" ends it, so does the first newline.
  static std::vector<std::string> SplitRowLine(const std::string& line);

  // The attributes.
  /// Replaces the scroll bar with one made from the template; empty is ignored.
  void SetScrollBarTemplate(const std::string& name);
  const std::string& GetScrollBarTemplate() const { return m_scrollBarTemplate; }
  void SetHSpacing(float spacing) { m_hspacing = spacing; }
  float GetHSpacing() const { return m_hspacing; }
  void SetVSpacing(float spacing) { m_vspacing = spacing; }
  float GetVSpacing() const { return m_vspacing; }
  void SetImageVSpacing(float spacing) { m_imageVSpacing = spacing; }
  float GetImageVSpacing() const { return m_imageVSpacing; }
  void SetRowHeight(float height) { m_rowHeight = height; }
  float GetRowHeight() const { return m_rowHeight; }
  void SetCharHeight(float height) { m_charHeight = height; }
  float GetCharHeight() const { return m_charHeight; }
  /// Empty names are ignored; else the name and a reference of its 2D shader.
  void SetRowShader(const std::string& name);
  void SetSelectedRowShader(const std::string& name);
  void SetMarkedRowShader(const std::string& name);
  void SetLineShader(const std::string& name);
  const std::string& GetRowShaderName() const { return m_rowShaderName; }
  const std::string& GetSelectedRowShaderName() const { return m_selectedShaderName; }
  const std::string& GetMarkedRowShaderName() const { return m_markedShaderName; }
  const std::string& GetLineShaderName() const { return m_lineShaderName; }
  /// An empty name is ignored; else the font for the text cells, loaded now.
  void SetFontName(const std::string& name);
  const std::string& GetFontName() const { return m_fontName; }
  void SetHeaderColor(std::int32_t colour) { m_headerColour = colour; }
  std::int32_t GetHeaderColor() const { return m_headerColour; }
  void SetMarkedColor(std::int32_t colour) { m_markedColour = colour; }
  std::int32_t GetMarkedColor() const { return m_markedColour; }
  void SetSelectable(bool selectable) { m_selectable = selectable; }
  bool IsSelectable() const { return m_selectable; }
  void SetScrollRows(bool scroll) { m_scrollRows = scroll; }
  bool GetScrollRows() const { return m_scrollRows; }
  void SetHorzLines(float height) { m_horzLines = height; }
  float GetHorzLines() const { return m_horzLines; }
  void SetVertLines(float width) { m_vertLines = width; }
  float GetVertLines() const { return m_vertLines; }
  /// The column lists as words or numbers separated by blanks, tabs or newlines.
  void SetColumnTypes(const std::string& text);
  std::string GetColumnTypes() const;
  void SetColumnWidths(const std::string& text);
  std::string GetColumnWidths() const;
  void SetColumnAligns(const std::string& text);
  std::string GetColumnAligns() const;
  void SetColumnColors(const std::string& text);
  std::string GetColumnColors() const;
  void SetColumnSpaces(const std::string& text);
  std::string GetColumnSpaces() const;

 private:
  struct Row {
    N_GuiPanel* panel = nullptr;
    std::vector<N_GuiElement*> cells;  ///< by column; null where none was made
    bool marked = false;
    N_GuiEffect* effect = nullptr;  ///< its slide with "scrollrows"
  };

  /// The row of a row index (header excluded), or null.
  Row* RowAt(std::int32_t row);
  const Row* RowAt(std::int32_t row) const;
  std::size_t HeaderRows() const { return m_hasHeader ? 1 : 0; }
  /// Whether the table's own children go into the templates (it is a template).
  bool ChildrenAreTemplates() const;
  N_GuiElement* MakeCell(const std::string& field, std::uint32_t column, bool header, const std::string& name);
  void StartRowSlide(Row& row);
  /// The row's slide, cells and panel go through the GUI manager.
  void DestroyRow(Row& row);
  void SetCellTexts(Row& row, const std::string& line);
  void SetTextCellColours(Row& row, std::int32_t colour);
  std::int32_t SelectedShader() const { return m_selectedShader >= 0 ? m_selectedShader : m_rowShader; }
  /// Places the rows and their cells; see the class comment.
  void RefreshLayout();
  void RenderLines();
  /// Splits a column list, growing the columns to its length; the entries.
  std::vector<std::string> ColumnEntries(const std::string& text);

  std::int32_t m_firstVisible = 0;
  std::int32_t m_visibleRows = 0;
  float m_vspacing = 5.0f;
  float m_hspacing = 5.0f;
  float m_imageVSpacing = -1.0f;  ///< negative: the vertical spacing
  float m_rowHeight = 20.0f;
  bool m_hasHeader = false;
  bool m_selectable = true;
  bool m_scrollRows = false;
  bool m_layoutValid = false;
  std::string m_rowShaderName;
  std::string m_selectedShaderName;
  std::string m_markedShaderName;
  std::string m_lineShaderName;
  std::int32_t m_rowShader = -1;
  std::int32_t m_selectedShader = -1;
  std::int32_t m_markedShader = -1;
  std::int32_t m_lineShader = -1;
  std::string m_fontName;
  float m_charHeight = 0.5f;
  std::int32_t m_colour = 0;
  std::int32_t m_headerColour = 0;
  std::int32_t m_markedColour = 0;
  float m_horzLines = 0.0f;  ///< line height; 0 none
  float m_vertLines = 0.0f;  ///< line width; 0 none
  std::string m_scrollBarTemplate;
  N_GuiScrollBar* m_scrollBar = nullptr;
  N_GuiPanel* m_selected = nullptr;
  std::vector<Row> m_rows;  ///< the header first, when there is one
  std::vector<std::uint32_t> m_columnTypes;
  std::vector<float> m_columnWidths;
  std::vector<std::int32_t> m_columnAligns;
  std::vector<std::int32_t> m_columnColours;
  std::vector<float> m_columnSpaces;
};

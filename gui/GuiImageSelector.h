#pragma once
// N_GuiImageSelector: a panel that shows one picture out of a list and steps to the
// next on every left click, wrapping at the end. Each item has a picture and a
// highlight picture shown while the cursor is over the element (its own picture when
// none is given). Menu code reads the selected index. Drawing is the panel's: the
// element's shader is the picture shown. Factory type "ImageSelector"; the base of the
// image scroller.
#include "gui/GuiPanel.h"

#include <cstdint>
#include <string>
#include <vector>

class N_GuiImageSelector : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "ImageSelector";

  explicit N_GuiImageSelector(std::string name);
  ~N_GuiImageSelector() override = default;

  const std::string& GetTypeName() const override;
  /// Nothing while disabled. With items: enter shows the selected item's highlight,
  /// exit its picture, a left press steps to the next item (0 after the last) and shows
  /// its highlight. Then the element's handling, so the onclick callback sees the new
  /// selection. Right clicks do not step.
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  /// Appends an item: the picture's 2D shader and the highlight's (the picture's own
  /// when the name is empty). An empty name, or one without a handle, adds nothing. The
  /// first item is shown.
  virtual void AddItem(const std::string& shader, const std::string& highlight);
  /// The same, inserted before the index; only for an index up to the item count.
  virtual void InsertItem(std::uint32_t index, const std::string& shader, const std::string& highlight);
  /// Removes an item below the count. Removing the selected item, or the item that made
  /// the selection the last, selects item 0 (shown, when items remain).
  virtual void RemoveItem(std::uint32_t index);
  /// An index below the count becomes the selection and is shown; others change nothing.
  virtual void SetSelected(std::uint32_t index);
  virtual std::uint32_t GetSelected() const { return m_selected; }

  std::size_t ItemCount() const { return m_items.size(); }
  /// The shader handles of an item (index below the count).
  std::int32_t ItemShader(std::size_t index) const { return m_items[index]; }
  std::int32_t ItemHighlight(std::size_t index) const { return m_highlights[index]; }

  /// "item": one or two names, split at blanks, tabs and line feeds.
  void SetItemText(const std::string& text);

 protected:
  /// Shows a handle: it becomes the current and the normal shader.
  void ShowShader(std::int32_t handle) { SetShaderHandle(handle); }
  void SetSelectedIndex(std::uint32_t index) { m_selected = index; }

 private:
  void Insert(std::size_t index, const std::string& shader, const std::string& highlight);

  std::vector<std::int32_t> m_items;       ///< shader handles
  std::vector<std::int32_t> m_highlights;  ///< the same length
  std::uint32_t m_selected = 0;
};

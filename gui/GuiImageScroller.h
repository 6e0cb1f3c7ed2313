#pragma once
// N_GuiImageScroller: a row of pictures taken from an image selector's item list,
// between a left and a right arrow. An arrow's click moves the current item by one
// (wrapping round with "cycle", else stopping at the ends), the pictures follow, and
// the element's "onclick" is called. The current item stands in the middle picture,
// in its highlight. With a single picture a change cross-fades: the previous item
// fades out above the new one in 0.5 s; every scroller takes one arrow click per
// 0.5 s. Factory type "ImageScroller".
//
// Its children are made through the GUI manager into the map the scroller lives in and
// are never copied with a template (a copy makes its own from the copied attributes):
// "<name>/Image0" ... (panels, "visibleitems" of them, at most kMaxVisibleItems),
// "<name>/LeftButton" and "<name>/RightButton" (copies of the arrow templates). Setting
// one of those attributes again destroys what the last setting made first.
//
// Render (its page or parent, after ApplyLayout): with pictures and items, the layout
// when it is due (after a change of the items), then the panel with its children, the
// cross-fade quad, and the transition runs down by the frame time.
#include "gui/GuiImageSelector.h"

#include <cstdint>
#include <string>
#include <vector>

class N_GuiImageScroller : public N_GuiImageSelector {
 public:
  static constexpr const char* kTypeName = "ImageScroller";
  /// The most pictures a script can ask for.
  static constexpr std::int32_t kMaxVisibleItems = 100;
  /// Transition units a second: a change takes 0.5 s.
  static constexpr float kTransitionRate = 2.0f;

  explicit N_GuiImageScroller(std::string name);
  ~N_GuiImageScroller() override = default;

  void Render() override;
  const std::string& GetTypeName() const override;
  /// Nothing while disabled. The element's own handling first (so a press bubbling up
  /// from an arrow calls "onclick"); then an arrow's held notification steps the
  /// current item, while no transition runs and there are pictures and items, and
  /// calls "onclick" again.
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;
  void ForgetElement(const N_GuiElement* gone) override;

  /// The selector's operations, then the layout is built again at the next render.
  void AddItem(const std::string& shader, const std::string& highlight) override;
  void InsertItem(std::uint32_t index, const std::string& shader, const std::string& highlight) override;
  void RemoveItem(std::uint32_t index) override;
  /// An index below the item count becomes the current item; the pictures follow.
  void SetSelected(std::uint32_t index) override;
  std::uint32_t GetSelected() const override { return m_current; }

  void SetSpacing(float spacing) { m_spacing = spacing; }
  float GetSpacing() const { return m_spacing; }
  /// Destroys the pictures made before, then makes n (none when negative, at most
  /// kMaxVisibleItems).
  void SetVisibleItems(std::int32_t count);
  std::int32_t GetVisibleItems() const { return m_visibleItems; }
  /// An empty name is ignored; else the arrow made before is destroyed and a copy of
  /// the template made in its place, aligned left and centred vertically.
  void SetLeftButton(const std::string& templateName);
  const std::string& GetLeftButtonTemplate() const { return m_leftTemplate; }
  void SetRightButton(const std::string& templateName);
  const std::string& GetRightButtonTemplate() const { return m_rightTemplate; }
  void SetCycle(bool cycle) { m_cycle = cycle; }
  bool GetCycle() const { return m_cycle; }

  const std::vector<N_GuiElement*>& Images() const { return m_images; }
  N_GuiElement* GetLeftButton() const { return m_leftButton; }
  N_GuiElement* GetRightButton() const { return m_rightButton; }
  float GetTransition() const { return m_transition; }
  std::uint32_t GetPrevious() const { return m_previous; }
  /// The item a picture position shows: -1 for none.
  std::int32_t ItemAt(std::size_t position) const;

 private:
  /// Pictures and items both exist: otherwise layout, refresh, cross-fade and arrows
  /// are all skipped.
  bool HasContent() const { return !m_images.empty() && ItemCount() > 0; }
  /// The pictures' places and sizes inside the element between the arrows, then Refresh.
  void BuildLayout();
  /// Every picture shows the item of its position; the middle one the current item's
  /// highlight (its picture when it has none).
  void Refresh();
  /// Steps the current item for a click on that arrow.
  void Step(bool left);
  /// Makes an arrow from a template; the one before is destroyed first.
  void MakeButton(N_GuiElement*& button, std::string& templateName, const std::string& name, const char* suffix);
  /// Destroys a child it made (through the manager, in the scroller's own map).
  void DestroyChild(N_GuiElement* child);
  bool ChildrenAreTemplates() const;

  float m_spacing = 5.0f;
  std::int32_t m_visibleItems = 0;
  std::uint32_t m_current = 0;
  bool m_layoutBuilt = false;
  bool m_cycle = true;
  std::uint32_t m_previous = 0;
  float m_transition = 0.0f;  ///< 1 after a change, down to 0
  float m_firstX = 0.0f;      ///< left of the first picture inside the element
  float m_imageWidth = 0.0f;
  std::string m_leftTemplate;
  std::string m_rightTemplate;
  N_GuiElement* m_leftButton = nullptr;
  N_GuiElement* m_rightButton = nullptr;
  std::vector<N_GuiElement*> m_images;  ///< "Panel" children
};

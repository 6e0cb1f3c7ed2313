#pragma once
// N_GuiScrollBar: a panel with an up (or left) button, a down (or right) button and a
// sliding bit, each made from a template the script names. It holds an integer
// position within a total and shows a bit whose length is the visible share of the
// total; a held arrow steps the position by one on every held repeat, and the held
// left button drags the bit; a drag begun on the track or the bit keeps the pointer
// (the GUI manager sends it the held repeats and the release wherever the pointer is),
// so the bit dragged past an end of the track stops at that end. Every step or drag
// tells the parent (a scroll event with the position) and may write the position as
// text into another element. Its clicks are its own: the parent does not take them as
// clicks of its own. The table makes one as its vertical scroll bar; option pages use
// free ones as sliders.
// Factory type "ScrollBar".
//
// Its children are "<name>/UpButton", "<name>/DownButton" and "<name>/ScrollBit",
// made by the bar itself: they are not copied with a template (a copy makes its own
// from the template attributes), and naming a template again replaces the child.
//
// Render lays the children out when the sizes or limits changed, places the bit when
// the position changed, then draws as a panel.
#include "gui/GuiPanel.h"

#include <cstdint>
#include <string>

class N_GuiScrollBar : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "ScrollBar";

  explicit N_GuiScrollBar(std::string name);
  ~N_GuiScrollBar() override = default;

  void Render() override;
  const std::string& GetTypeName() const override;
  /// Nothing while disabled. A held child (an arrow's repeat) steps the position by
  /// one within the limits; the held left button drags the bit. After either the text
  /// element shows the position and the parent gets a scroll event with it. Then the
  /// element's own handling.
  int HandleEvent(const N_GuiEvent& event) override;
  /// Not the clicks and held repeats on the bar or its children.
  bool PassesToParent(const N_GuiEvent& event) const override;
  /// From a left press on the track or the bit to its release: the bit follows the
  /// pointer past either end of the track and stops there.
  bool KeepsHeldPointer() const override { return m_dragging; }
  /// Moves the position by the steps as the arrows do (negative toward the start), as
  /// far as the limits let it, then tells the parent as a step of an arrow does.
  void Step(std::int32_t steps);
  /// A new size or place lays the children out again.
  void Invalidate() override;
  void ForgetElement(const N_GuiElement* gone) override;
  void BuildAttributes() override;

  /// Stores the limits; the children are laid out again.
  void SetRange(std::int32_t position, std::int32_t total, std::int32_t visible);
  /// Stores the position (the bit moves at the next drawing) and writes it into the
  /// text element, when one is named (a name not found is reported each time).
  void SetValue(std::int32_t position);
  /// The position, as the owning code reads it.
  std::int32_t GetValue() const { return m_position; }
  std::int32_t GetTotal() const { return m_total; }
  std::int32_t GetVisible() const { return m_visible; }

  /// An empty name is ignored. Otherwise the child made by the name before goes
  /// (through the GUI manager), and a new one is made from the template.
  void SetUpButtonTemplate(const std::string& name);
  void SetDownButtonTemplate(const std::string& name);
  void SetBitTemplate(const std::string& name);
  const std::string& GetUpButtonTemplate() const { return m_upTemplate; }
  const std::string& GetDownButtonTemplate() const { return m_downTemplate; }
  const std::string& GetBitTemplate() const { return m_bitTemplate; }
  /// "limits": up to three integers, position, total and visible (missing ones stay).
  void SetLimitsText(const std::string& text);
  std::string GetLimitsText() const;
  /// "type": 0 horizontal, 1 vertical.
  void SetType(std::int32_t type);
  std::int32_t GetType() const { return m_horizontal ? 0 : 1; }
  bool IsHorizontal() const { return m_horizontal; }
  void SetSpacing(float spacing);
  float GetSpacing() const { return m_spacing; }
  void SetTextElement(const std::string& name) { m_textElement = name; }
  const std::string& GetTextElement() const { return m_textElement; }
  /// The lowest and highest positions the bit may take; -1 none.
  void SetMinimum(std::int32_t minimum);
  std::int32_t GetMinimum() const { return m_minimum; }
  void SetMaximum(std::int32_t maximum);
  std::int32_t GetMaximum() const { return m_maximum; }

  N_GuiElement* GetUpButton() const { return m_up; }
  N_GuiElement* GetDownButton() const { return m_down; }
  N_GuiElement* GetBit() const { return m_bit; }

 private:
  /// The child named "<name>/<suffix>" made from the template anew (see the setters).
  N_GuiElement* MakeChild(N_GuiElement* old, const std::string& templateName, const char* suffix);
  /// Buttons and bit placed from the sizes, the spacing and the limits.
  void Layout();
  void PlaceChildren();
  /// The position kept to the minimum and maximum, the bit moved along the track.
  void UpdateBit();
  /// The bit's start along the track for the position.
  float BitStart() const;
  /// Button side, track start and track length along the axis.
  void Track(float& button, float& start, float& length) const;
  /// Where the drag runs along the axis, relative to the bar: from lo to hi, the
  /// track's length without the buttons and spacings; false without a bit or a track.
  bool DragSpan(float& lo, float& hi, float& track) const;
  /// The pointer's place along the axis, relative to the bar.
  float AlongBar(float x, float y);
  void Drag(float x, float y);
  /// The position moved by the steps, one at a time, while the arrows' limits allow.
  void MoveBy(std::int32_t steps);
  void ClampPosition();
  /// The text element shows the position; the parent hears of it.
  void Announce();

  std::string m_upTemplate;
  std::string m_downTemplate;
  std::string m_bitTemplate;
  std::string m_textElement;
  N_GuiElement* m_up = nullptr;
  N_GuiElement* m_down = nullptr;
  N_GuiElement* m_bit = nullptr;
  bool m_horizontal = true;
  std::int32_t m_total = 100;
  std::int32_t m_position = 0;
  std::int32_t m_visible = 10;
  float m_spacing = 5.0f;
  bool m_layoutValid = false;
  bool m_bitValid = false;
  std::int32_t m_minimum = -1;
  std::int32_t m_maximum = -1;
  bool m_dragging = false;  ///< the left button went down on the track or the bit
};

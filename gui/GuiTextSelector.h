#pragma once
// N_GuiTextSelector: a text element that cycles through a list of texts: a left click
// shows the next item, a right click the previous one (both wrap), and the change
// slides the old text down and out while the new one comes in from above, clipped to
// the element and fading towards the clip's edges. The settings and top-times pages
// set and read the selected item. Sized to its text (autosize is on from the start).
// Factory type "TextSelector".
//
// Render (its page each frame): during a slide the batch is flushed around the two
// texts and the renderer's scissor rectangle clips them; otherwise the caption is
// queued as a text element queues it.
#include "gui/GuiText.h"

#include <cstdint>
#include <string>
#include <vector>

class N_GuiTextSelector : public N_GuiText {
 public:
  static constexpr const char* kTypeName = "TextSelector";
  /// Screen units a slide moves each second.
  static constexpr float kSlideSpeed = 30.0f;

  explicit N_GuiTextSelector(std::string name);
  ~N_GuiTextSelector() override = default;

  /// Nothing while hidden or without a caption.
  void Render() override;
  const std::string& GetTypeName() const override;
  /// While enabled and not sliding, a press of the left or right button on a selector
  /// with items steps the selection and starts the slide. Then the text element's
  /// handling (the onclick callback reads the new selection).
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  /// Appends an item; an empty text is ignored. The first item becomes the caption.
  void AddItem(const std::string& text);
  /// The index when it is below the item count, else 0; the caption shows that item.
  void SetSelected(std::uint32_t index);
  /// The selected item, as the owning code reads it (0 for the first).
  std::uint32_t GetSelected() const { return m_selected; }
  const std::vector<std::string>& Items() const { return m_items; }

  bool IsSliding() const { return m_sliding; }
  float GetSlideOffset() const { return m_slideOffset; }
  float GetClipWidth() const { return m_clipWidth; }
  /// The rectangle that clips a slide, in screen units: the clip width by the height,
  /// placed by the text's alignments as the text itself is.
  void ClipRect(float& left, float& top, float& right, float& bottom);

 private:
  void RenderSlide(float x, float y);
  /// The shadow (when set), then the text, fading towards the clip's top and bottom.
  void QueueFading(const std::string& text, float x, float y, float top, float bottom) const;

  std::vector<std::string> m_items;
  std::uint32_t m_selected = 0;
  std::string m_previous;  ///< the text that slides out
  bool m_sliding = false;
  float m_slideOffset = 0.0f;  ///< how far both texts have moved down
  float m_clipWidth = 0.0f;
};

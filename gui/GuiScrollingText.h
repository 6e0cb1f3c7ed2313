#pragma once
// N_GuiScrollingText: a text whose caption moves through its rectangle without end,
// clipped to it and faded near its edges: it enters from the far side, crosses, and
// starts again from the far side once it has wholly left. "scrollx" and "scrolly" are
// its speeds in screen units a second (negative: left, up). Factory type
// "ScrollingText", which is also its type word for template copies.
//
// Render (its page or parent, after ApplyLayout): the batch is flushed and clipped to
// the element; the text moves by the frame time, wraps, and is queued (the shadow
// first) with the fading calls of the batcher, across when it moves across, else up
// and down; then flushed, and the clip switched off. The motion starts at the first
// render and is not restarted by a new caption.
#include "gui/GuiText.h"

#include <string>

class N_GuiScrollingText : public N_GuiText {
 public:
  static constexpr const char* kTypeName = "ScrollingText";
  /// Offsets below this have not started yet.
  static constexpr float kNotStarted = -9999.0f;

  explicit N_GuiScrollingText(std::string name);
  ~N_GuiScrollingText() override = default;

  void Render() override;
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;

  void SetScrollX(float speed) { m_scrollX = speed; }
  float GetScrollX() const { return m_scrollX; }
  void SetScrollY(float speed) { m_scrollY = speed; }
  float GetScrollY() const { return m_scrollY; }
  /// The text's left and top as last drawn (its first line's; kNotStarted before).
  float GetOffsetX() const { return m_offsetX; }
  float GetOffsetY() const { return m_offsetY; }

 private:
  /// Starts the offsets when they have not, moves them by the frame time and wraps
  /// them: the anchor, the element's size and the text's.
  void Advance(float ax, float ay, float w, float h, float textWidth, float lineHeight, float textHeight);
  /// One line at the place: the shadow, then the text, fading as it moves.
  void QueueScrolledLine(const std::string& line, float x, float y);

  float m_scrollX = 0.0f;  ///< units per second; negative to the left
  float m_scrollY = 0.0f;  ///< units per second; negative upwards
  float m_offsetX = -9999.9f;
  float m_offsetY = -9999.9f;
};

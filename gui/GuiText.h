#pragma once
// N_GuiText: the element that shows its caption in a font, on one line or wrapped
// into lines, aligned inside its rectangle, in a palette colour of the text batcher
// that follows the highlight and disabled states, with an optional drop shadow, and
// optionally sized to its text. Factory type "Text"; the base of buttons, check
// boxes, edit boxes, scrolling texts and text selectors.
//
// Render (called by its page or parent container each frame after ApplyLayout):
// queues each line (the shadow first, when set) with the element's alpha.
#include "gui/GuiElement.h"

#include <string>
#include <vector>

class N_Font;

class N_GuiText : public N_GuiElement {
 public:
  static constexpr const char* kTypeName = "Text";

  explicit N_GuiText(std::string name);
  ~N_GuiText() override = default;

  /// Base behaviour, then the colour: disabling with a disabled colour set shows it;
  /// otherwise the normal colour.
  void SetEnabled(bool enabled) override;
  void Render() override;
  const std::string& GetTypeName() const override;
  /// Stores the caption, then splits it into lines and sizes the element to it (when
  /// those are switched on).
  void SetCaption(const std::string& caption) override;
  /// Relative metrics also set the char height to relative char height x 480.
  void SetMetricsMode(std::int32_t mode) override;
  /// Highlight colour on enter, normal colour on exit; then the element's handling.
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  /// An empty name is ignored; else the font's shader (of the font's own name) and its
  /// glyphs from the world's font list.
  void SetFontName(const std::string& name);
  const std::string& GetFontName() const { return m_fontName; }
  const N_Font* GetFont() const { return m_font; }
  std::int32_t GetFontShader() const { return m_fontShader; }

  /// "charheight": the char height in pixel metrics, the relative one otherwise.
  void SetCharHeightAttribute(float height);
  float GetCharHeight() const { return m_charHeight; }
  void SetCharHeight(float height) { m_charHeight = height; }
  float GetRelativeCharHeight() const { return m_relativeCharHeight; }

  void SetAlignment(std::int32_t align) { m_alignment = align; }
  std::int32_t GetAlignment() const { return m_alignment; }
  void SetVAlignment(std::int32_t align) { m_valignment = align; }
  std::int32_t GetVAlignment() const { return m_valignment; }

  /// "color": the normal and the current colour.
  void SetColor(std::int32_t colour);
  std::int32_t GetColor() const { return m_normalColour; }
  std::int32_t GetCurrentColor() const { return m_currentColour; }
  void SetDisabledColor(std::int32_t colour) { m_disabledColour = colour; }
  std::int32_t GetDisabledColor() const { return m_disabledColour; }
  void SetHighlightColor(std::int32_t colour) { m_highlightColour = colour; }
  std::int32_t GetHighlightColor() const { return m_highlightColour; }

  /// Switches wrapping, then splits the caption again.
  void SetMultiline(bool multiline);
  bool GetMultiline() const { return m_multiline; }
  /// Switches autosize, then sizes the element again.
  void SetAutoSize(bool autosize);
  bool GetAutoSize() const { return m_autosize; }
  void SetShadow(float offset) { m_shadow = offset; }
  float GetShadow() const { return m_shadow; }
  void SetShadowColor(std::int32_t colour) { m_shadowColour = colour; }
  std::int32_t GetShadowColor() const { return m_shadowColour; }

  /// The wrapped lines (multiline only).
  const std::vector<std::string>& Lines() const { return m_lines; }

 protected:
  /// Wraps the caption into lines at the element's pixel width; a "\n" word breaks.
  void SplitLines();
  /// Sizes the element to its text.
  void AutoSize();
  /// The point the batcher aligns the text to: the screen position moved by the
  /// alignments (left or top edge, centre, right or bottom edge).
  void TextAnchor(float& x, float& y);
  /// Width and height of a text in the element's font and size (0, 0 without a batcher).
  void Measure(const std::string& text, float& width, float& height) const;
  /// One line at the point with the element's font, size, alignment and alpha.
  void QueueLine(const std::string& text, float x, float y, std::int32_t valign, std::int32_t colour) const;

 private:

  std::int32_t m_alignment = kAlignLeft;
  std::int32_t m_valignment = kAlignTop;
  std::string m_fontName;
  std::int32_t m_fontShader = -1;
  const N_Font* m_font = nullptr;  ///< owned by the world's font list
  float m_charHeight = 0.5f;       ///< the batcher's text scale
  float m_relativeCharHeight = 0.015f;  ///< fraction of the screen height
  std::int32_t m_currentColour = 0;  ///< palette indices of the batcher; -1 none
  std::int32_t m_normalColour = 0;
  std::int32_t m_highlightColour = -1;
  std::int32_t m_disabledColour = -1;
  bool m_multiline = false;
  std::vector<std::string> m_lines;
  bool m_autosize = false;
  float m_shadow = 0.0f;  ///< offset in pixels on both axes; 0 none
  std::int32_t m_shadowColour = 7;
};

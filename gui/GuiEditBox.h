#pragma once
// N_GuiEditBox: the one-line text entry of the menus (player names and the like). A
// text element that takes the keyboard focus: the GUI manager gives it the focus on a
// left click, copies its text into the input manager's text buffer (at most
// "maxchars" long), and then sends it the buffer every frame as a text event until
// Enter or a click elsewhere. The keys are edited in that buffer; the box shows it,
// as stars with "password", and a caret that blinks every half second while focused.
// Factory type "EditBox".
//
// Render (its page each frame): its picture over the whole rectangle, the text, then
// the caret.
#include "gui/GuiText.h"

#include <cstdint>
#include <string>

class N_GuiEditBox : public N_GuiText {
 public:
  static constexpr const char* kTypeName = "EditBox";
  /// Seconds of each blink phase: the caret flips once its timer exceeds this.
  static constexpr float kBlinkTime = 0.5f;

  explicit N_GuiEditBox(std::string name);
  ~N_GuiEditBox() override = default;

  void Render() override;
  const std::string& GetTypeName() const override;
  /// The real text takes the value; the shown caption is the text, or as many stars
  /// with "password"; the caret goes to its end.
  void SetCaption(const std::string& caption) override;
  /// The real text, not the shown one.
  std::string GetCaption() const override { return m_text; }
  /// Nothing while disabled. Otherwise the text element's handling, then a text event
  /// sets the caption from the input text and the caret from its position (at most
  /// the end of the shown text).
  int HandleEvent(const N_GuiEvent& event) override;
  bool AcceptsFocus() const override { return true; }
  std::int32_t GetMaxChars() const override { return m_maxChars; }
  void SetFocus(bool focus) override { m_focused = focus; }
  void BuildAttributes() override;

  void SetMaxChars(std::int32_t maxChars) { m_maxChars = maxChars; }
  /// Shows the text again in the new way.
  void SetPassword(bool password);
  bool GetPassword() const { return m_password; }
  /// What the box shows: the text, or its stars.
  const std::string& GetShownText() const { return StoredCaption(); }
  bool IsFocused() const { return m_focused; }
  std::uint32_t GetCaret() const { return m_caret; }
  bool IsCaretShown() const { return m_caretShown; }

 private:
  void RenderCaret();

  std::string m_text;  ///< what was typed; the caption may show stars instead
  std::uint32_t m_caret = 0;  ///< in characters of the shown caption
  float m_blinkTimer = 0.0f;
  bool m_focused = false;
  bool m_caretShown = false;
  std::int32_t m_maxChars = -1;  ///< -1 no limit
  bool m_password = false;
};

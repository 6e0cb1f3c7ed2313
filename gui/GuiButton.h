#pragma once
// N_GuiButton: a text element over a background quad whose shader follows the mouse
// (an up and a down look, each with a highlighted variant); its text grows a little
// while the cursor is over it. A left press may switch pages by itself ("gotopage"),
// and while the left button is held the button tells its parent container which
// button it is (a ChildHeld event). Factory type "Button"; the base of the check box.
#include "gui/GuiText.h"

#include <string>

class N_GuiButton : public N_GuiText {
 public:
  static constexpr const char* kTypeName = "Button";
  /// The fade rate of the pages a "gotopage" button closes and shows, per second.
  static constexpr float kPageFadeRate = 2.0f;
  /// How much the text grows while highlighted.
  static constexpr float kHighlightGrowth = 0.02f;

  explicit N_GuiButton(std::string name);
  ~N_GuiButton() override = default;

  /// The background quad (the disabled shader while disabled, when set; else the
  /// current one), then the caption when there is one.
  void Render() override;
  const std::string& GetTypeName() const override;
  int HandleEvent(const N_GuiEvent& event) override;
  void BuildAttributes() override;

  /// Empty names are ignored. The up shader is also the normal and current one.
  void SetDownShader(const std::string& name);
  void SetUpShader(const std::string& name);
  void SetHighlightDownShader(const std::string& name);
  void SetHighlightUpShader(const std::string& name);
  const std::string& GetDownShaderName() const { return m_downShaderName; }
  const std::string& GetUpShaderName() const { return m_upShaderName; }
  const std::string& GetHighlightDownShaderName() const { return m_highlightDownShaderName; }
  const std::string& GetHighlightUpShaderName() const { return m_highlightUpShaderName; }
  /// A page name to show on a left press (after closing the button's page), or "hide"
  /// to only close it.
  void SetGotoPage(const std::string& page) { m_gotoPage = page; }
  const std::string& GetGotoPage() const { return m_gotoPage; }

  bool IsPressed() const { return m_pressed; }
  bool IsHighlighted() const { return m_highlighted; }

 protected:
  std::int32_t GetDownShaderHandle() const { return m_downShader; }
  std::int32_t GetUpShaderHandle() const { return m_upShader; }
  std::int32_t GetHighlightDownShaderHandle() const { return m_highlightDownShader; }
  std::int32_t GetHighlightUpShaderHandle() const { return m_highlightUpShader; }

 private:
  void FollowGotoPage();
  void UpdateShader();

  bool m_pressed = false;      ///< the left button is down on the button
  bool m_highlighted = false;  ///< the cursor is over it
  float m_savedCharHeight;     ///< the char height before the cursor entered
  std::string m_downShaderName;
  std::string m_upShaderName;
  std::string m_highlightDownShaderName;
  std::string m_highlightUpShaderName;
  std::string m_gotoPage;
  std::int32_t m_downShader = -1;
  std::int32_t m_upShader = -1;
  std::int32_t m_highlightDownShader = -1;
  std::int32_t m_highlightUpShader = -1;
};

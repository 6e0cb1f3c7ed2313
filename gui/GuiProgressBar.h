#pragma once
// N_GuiProgressBar: a value within a range shown as a bar that fills from the left
// (or, vertical, from the top down) over an optional back picture of the whole bar.
// The loading page's bar and the HUD's gauges are progress bars whose value the game
// sets every frame. Factory type "ProgressBar".
//
// The element's own rectangle is the whole bar (what scripts set and read back, so a
// copy of a template gets the same bar); its full length is the width, or the height
// when vertical, as the last layout pass left it. The fill is the panel's background
// cut to value / range of that length, its texture repeat on that axis scaled alike,
// so the picture is cut, not squeezed. The fraction is not clamped: a value above the
// range draws a longer bar; a range of 0 draws no fill.
#include "gui/GuiPanel.h"

#include <cstdint>
#include <string>

class N_GuiProgressBar : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "ProgressBar";

  explicit N_GuiProgressBar(std::string name);
  ~N_GuiProgressBar() override = default;

  /// Nothing while hidden. The back over the whole bar (full length by the element's
  /// height, or its width by the full length), then the fill with its border, the
  /// children and the particles as a panel draws them.
  void Render() override;
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;

  void SetValue(float value) { m_value = value; }
  float GetValue() const { return m_value; }
  void SetRange(float range) { m_range = range; }
  float GetRange() const { return m_range; }
  /// "type": 0 horizontal, 1 vertical.
  void SetType(std::int32_t type) { m_vertical = type != 0; }
  std::int32_t GetType() const { return m_vertical ? 1 : 0; }
  bool IsVertical() const { return m_vertical; }
  /// An empty name is ignored; else the picture of the whole bar (a reference is kept).
  void SetBackShader(const std::string& name);
  const std::string& GetBackShaderName() const { return m_backShaderName; }
  /// The back picture's shader handle, -1 for none.
  std::int32_t GetBackShader() const { return m_backShader; }

  /// Value / range; 0 for a range of 0.
  float Fraction() const;
  /// The whole bar along its axis: the width, or the height when vertical.
  float FullLength() const { return m_vertical ? GetHeight() : GetWidth(); }

 private:
  bool m_vertical = false;
  float m_range = 100.0f;
  float m_value = 0.0f;
  std::string m_backShaderName;
  std::int32_t m_backShader = -1;  ///< -1: no back
};

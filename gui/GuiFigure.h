#pragma once
// N_GuiFigure: a transparent panel that draws two pictures over its whole area, a
// figure and its outline, each tinted with a colour of its own (the figure blue, the
// outline invisible by default). Factory type "Figure"; made only by page scripts.
// The two colour lists of the scripts ("figurecolors", "outlinecolors") are kept and
// read back; the tints drawn stay their defaults.
//
// Render (its page or parent, after ApplyLayout): the panel (children and particles),
// then the figure quad and the outline quad, each only when its picture is set.
#include "gui/GuiPanel.h"

#include <array>
#include <cstdint>
#include <string>

class N_GuiFigure : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "Figure";
  using Tint = std::array<float, 4>;      ///< red, green, blue, alpha 0..1
  using Colours = std::array<float, 8>;   ///< two RGBA colours

  explicit N_GuiFigure(std::string name);
  ~N_GuiFigure() override = default;

  void Render() override;
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;

  /// An empty name is ignored; else the picture's 2D shader (a reference is kept).
  void SetFigureShader(const std::string& name);
  const std::string& GetFigureShaderName() const { return m_figureShaderName; }
  void SetOutlineShader(const std::string& name);
  const std::string& GetOutlineShaderName() const { return m_outlineShaderName; }
  /// Up to eight numbers split at blanks and tabs: the first entries are replaced,
  /// the others kept; numbers after the eighth are ignored.
  void SetFigureColours(const std::string& text);
  std::string GetFigureColours() const;
  void SetOutlineColours(const std::string& text);
  std::string GetOutlineColours() const;

  std::int32_t GetFigureShader() const { return m_figureShader; }
  std::int32_t GetOutlineShader() const { return m_outlineShader; }
  const Tint& FigureTint() const { return m_figureTint; }
  const Tint& OutlineTint() const { return m_outlineTint; }
  const Colours& FigureColours() const { return m_figureColours; }
  const Colours& OutlineColours() const { return m_outlineColours; }

 private:
  /// One quad over the element in the tint (as bytes: alpha, red, green, blue).
  void QueueTinted(std::int32_t shader, const Tint& tint);

  std::string m_figureShaderName;
  std::string m_outlineShaderName;
  std::int32_t m_figureShader = -1;  ///< -1 none
  std::int32_t m_outlineShader = -1;
  Tint m_figureTint{0.2f, 0.2f, 1.0f, 1.0f};
  Colours m_figureColours{0.2f, 0.2f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f};
  Tint m_outlineTint{0.0f, 0.0f, 0.0f, 0.0f};
  Colours m_outlineColours{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
};

#include "gui/GuiFigure.h"

#include "core/Convert.h"
#include "core/StringUtil.h"
#include "gui/GuiServices.h"
#include "render/TextBatch.h"

#include <algorithm>
#include <vector>

namespace {

std::uint8_t ColourByte(float component) {
  return static_cast<std::uint8_t>(std::clamp(SaturatingTruncate(double(component) * 255.0), 0, 255));
}

void ParseColours(const std::string& text, N_GuiFigure::Colours& colours) {
  std::vector<std::string> fields;
  SplitString(text, fields, " \t", 0);
  for (std::size_t i = 0; i < fields.size() && i < colours.size(); ++i) colours[i] = GuiFloat(fields[i]);
}

std::string PrintColours(const N_GuiFigure::Colours& colours) {
  std::string text;
  for (float c : colours) text += (text.empty() ? "" : " ") + FloatToString(c);
  return text;
}

}  // namespace

N_GuiFigure::N_GuiFigure(std::string name) : N_GuiPanel(std::move(name)) {
  SetTransparent(true);
  if (RegisterClass("N_GuiFigure")) N_GuiFigure::BuildAttributes();
}

const std::string& N_GuiFigure::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiFigure::SetFigureShader(const std::string& name) {
  if (name.empty()) return;
  m_figureShaderName = name;
  m_figureShader = GuiAddShader(name);
}

void N_GuiFigure::SetOutlineShader(const std::string& name) {
  if (name.empty()) return;
  m_outlineShaderName = name;
  m_outlineShader = GuiAddShader(name);
}

void N_GuiFigure::SetFigureColours(const std::string& text) { ParseColours(text, m_figureColours); }
std::string N_GuiFigure::GetFigureColours() const { return PrintColours(m_figureColours); }
void N_GuiFigure::SetOutlineColours(const std::string& text) { ParseColours(text, m_outlineColours); }
std::string N_GuiFigure::GetOutlineColours() const { return PrintColours(m_outlineColours); }

void N_GuiFigure::Render() {
  N_GuiPanel::Render();
  if (!IsVisible()) return;
  if (m_figureShader >= 0) QueueTinted(m_figureShader, m_figureTint);
  if (m_outlineShader >= 0) QueueTinted(m_outlineShader, m_outlineTint);
}

void N_GuiFigure::QueueTinted(std::int32_t shader, const Tint& tint) {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (!batch) return;
  const std::uint8_t colour[4] = {ColourByte(tint[3]), ColourByte(tint[0]), ColourByte(tint[1]), ColourByte(tint[2])};
  batch->AddColorQuad(shader, GetScreenX(), GetScreenY(), GetWidth(), GetHeight(), GetTilingX(), GetTilingY(), colour);
}

namespace {

using G = N_GuiFigure;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kFigureRows[] = {
    {"figureshader", "Sets the figure shader name.", T::Text,
     TextAccessor<G, &G::GetFigureShaderName, &G::SetFigureShader>()},
    {"outlineshader", "Sets the outline shader name.", T::Text,
     TextAccessor<G, &G::GetOutlineShaderName, &G::SetOutlineShader>()},
    {"figurecolors", "Sets the figure colors.", T::Text,
     TextAccessor<G, &G::GetFigureColours, &G::SetFigureColours>()},
    {"outlinecolors", "Sets the outline colors.", T::Text,
     TextAccessor<G, &G::GetOutlineColours, &G::SetOutlineColours>()},
};

}  // namespace

void N_GuiFigure::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kFigureRows);
}

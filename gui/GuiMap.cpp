#include "gui/GuiMap.h"

#include "gui/GuiServices.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"

N_GuiMap::N_GuiMap(std::string name) : N_GuiPanel(std::move(name)) {
  if (RegisterClass("N_GuiMap")) N_GuiMap::BuildAttributes();
}

const std::string& N_GuiMap::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiMap::SetShader(const std::string& name) {
  if (name.empty()) return;
  // The normal shader is the one the previous name took; the current one may be the
  // highlight while the cursor is over the map.
  if (GetNormalShader() >= 0 && g_guiServices.shaderMng) g_guiServices.shaderMng->ReleaseShader(GetNormalShader());
  SetShaderHandle(-1);
  N_GuiPanel::SetShader(name);
}

void N_GuiMap::SetMarkShader(const std::string& name) {
  if (name.empty()) return;
  m_markShaderName = name;
  m_markShader = GuiAddShader(name);
}

void N_GuiMap::SetPlayerMarkShader(const std::string& name) {
  if (name.empty()) return;
  m_playerMarkShaderName = name;
  m_playerMarkShader = GuiAddShader(name);
}

void N_GuiMap::SetMarks(std::span<const N_Vector3> points) {
  m_marks.resize(points.size());
  const float x = GetScreenX(), y = GetScreenY();
  for (std::size_t i = 0; i < points.size(); ++i) {
    m_marks[i] = {GetWidth() * points[i].x + x, points[i].y * GetHeight() + y};
  }
}

void N_GuiMap::Render() {
  if (!IsVisible()) return;
  N_GuiPanel::Render();
  N_TextBatch* batch = g_guiServices.textBatch;
  if (!batch) return;
  const float s = m_markSize;
  for (std::size_t i = 0; i < m_marks.size(); ++i) {
    const std::int32_t shader = i == m_playerIndex ? m_playerMarkShader : m_markShader;
    if (shader < 0) continue;
    batch->AddQuad(shader, m_marks[i].x - s, m_marks[i].y - s, 2.0f * s, 2.0f * s, 1.0f, 1.0f, GetAlpha());
  }
}

namespace {

using M = N_GuiMap;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kMapRows[] = {
    {"markshader", "Sets the marks shader name.", T::Text,
     TextAccessor<M, &M::GetMarkShaderName, &M::SetMarkShader>()},
    {"playermarkshader", "Sets the player mark shader name.", T::Text,
     TextAccessor<M, &M::GetPlayerMarkShaderName, &M::SetPlayerMarkShader>()},
    {"marksize", "Sets the size of marks.", T::Number, NumberAccessor<M, &M::GetMarkSize, &M::SetMarkSize>()},
};

}  // namespace

void N_GuiMap::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kMapRows);
}

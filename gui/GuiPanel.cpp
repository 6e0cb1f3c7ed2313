#include "gui/GuiPanel.h"

#include "core/StringUtil.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/ShaderNames.h"
#include "render/TextBatch.h"

#include <algorithm>

namespace {

/// Whether a quad of the material leaves every pixel as it was at vertex alpha 0:
/// each stage takes its alpha from the vertices, blends it over the picture and
/// writes no depth (a full-screen fade at 0 would cost every pixel for nothing).
bool InvisibleAtZeroAlpha(std::int32_t shader) {
  const N_Shader* material = g_guiServices.shaderMng ? g_guiServices.shaderMng->GetShader(shader) : nullptr;
  if (!material || material->stageCount == 0 || (material->flags & ShaderFlag::kEffect)) return false;
  for (int i = 0; i < material->stageCount; ++i) {
    const N_ShaderStage* stage = material->Stage(i);
    if (!stage || stage->alphaGen != AlphaGen::Vertex || stage->blendSrc != GlValue::kSrcAlpha ||
        stage->blendDst != GlValue::kOneMinusSrcAlpha || stage->depthWrite) {
      return false;
    }
  }
  return true;
}

/// Whether a quad of the material hides what is under it at any vertex alpha: its first
/// stage replaces the picture (no blending, no alpha test) and passes the depth test
/// against the depth the batcher clears before it draws.
bool OpaqueMaterial(std::int32_t shader) {
  const N_Shader* material = g_guiServices.shaderMng ? g_guiServices.shaderMng->GetShader(shader) : nullptr;
  if (!material || material->stageCount == 0 || (material->flags & ShaderFlag::kEffect)) return false;
  const N_ShaderStage* first = material->Stage(0);
  return first && first->blendSrc == GlValue::kOne && first->blendDst == GlValue::kZero &&
         first->alphaFunc == GlValue::kAlways &&
         (first->depthFunc == GlValue::kLequal || first->depthFunc == GlValue::kAlways);
}

}  // namespace

N_GuiPanel::N_GuiPanel(std::string name) : N_GuiContainer(std::move(name)) {
  if (RegisterClass("N_GuiPanel")) N_GuiPanel::BuildAttributes();
}

const std::string& N_GuiPanel::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiPanel::SetTiling(const std::string& text) {
  std::vector<std::string> fields;
  SplitString(text, fields, " \t\n", 0);
  const float x = fields.size() > 0 ? GuiFloat(fields[0]) : 0.0f;
  const float y = fields.size() > 1 ? GuiFloat(fields[1]) : 0.0f;
  if (x != 0.0f) m_tilingX = x;
  if (y != 0.0f) m_tilingY = y;
}

std::string N_GuiPanel::GetTiling() const { return FloatToString(m_tilingX) + " " + FloatToString(m_tilingY); }

void N_GuiPanel::SetBorderShader(const std::string& name) {
  if (name.empty()) return;
  m_borderShaderName = name;
  m_borderShader = GuiAddShader(name);
}

void N_GuiPanel::SetParticleShader(const std::string& name) {
  if (name.empty()) return;
  m_particleShaderName = name;
  m_particleShader = GuiAddShader(name);
}

void N_GuiPanel::SetParticleCount(std::int32_t count) {
  m_particles.assign(static_cast<std::size_t>(std::clamp(count, 0, kMaxParticles)), Particle{});
  ResetParticles();
  // After a count change the trail starts on the top edge, running left.
  const float top = GetScreenY();
  for (Particle& p : m_particles) {
    p.y = top;
    p.vx = -m_particleSpeed;
    p.vy = 0.0f;
  }
}

void N_GuiPanel::SetParticleSize(float size) {
  m_particleSize = size;
  ResetParticles();
}

void N_GuiPanel::SetParticleSpeed(float speed) {
  m_particleSpeed = speed;
  ResetParticles();
}

void N_GuiPanel::ResetParticles() {
  // Particle 0 is the largest and leads; the others trail behind it, ever smaller.
  const float n = static_cast<float>(m_particles.size());
  const float left = GetScreenX();
  const float bottom = GetScreenY() + GetHeight();
  for (std::size_t i = 0; i < m_particles.size(); ++i) {
    Particle& p = m_particles[i];
    const float rank = static_cast<float>(i + 1);
    p.opacity = n / rank;
    p.halfSize = m_particleSize / (rank * 0.75f);
    p.x = left + (n - static_cast<float>(i)) * p.halfSize * 0.1f;
    p.y = bottom;
    p.vx = m_particleSpeed;
    p.vy = 0.0f;
  }
}

void N_GuiPanel::Render() {
  if (!IsVisible()) return;
  RenderFrame();
  RenderChildren();
  RenderParticles();
}

std::int32_t N_GuiPanel::BackgroundShader() const {
  return !IsEnabled() && GetDisabledShader() >= 0 ? GetDisabledShader() : GetShader();
}

bool N_GuiPanel::CoversScreen() {
  N_GuiPage* page = GetPage();
  if (!IsVisible() || GetParent() || !page || !page->IsVisible() || page->GetFade() < 0 || m_transparent) return false;
  const std::int32_t background = BackgroundShader();
  if (background < 0 || !OpaqueMaterial(background)) return false;
  // The page's matrix scales and moves, never turns: the corners map axis by axis.
  const float* m = page->GetMatrix().m;
  const float x = GetScreenX(), y = GetScreenY();
  const float left = x * m[0] + m[12], right = (x + GetWidth()) * m[0] + m[12];
  const float top = y * m[5] + m[13], bottom = (y + GetHeight()) * m[5] + m[13];
  return std::min(left, right) <= 0.0f && std::max(left, right) >= kScreenWidth && std::min(top, bottom) <= 0.0f &&
         std::max(top, bottom) >= kScreenHeight;
}

void N_GuiPanel::RenderFrame() { RenderFrame(GetWidth(), GetHeight(), m_tilingX, m_tilingY); }

void N_GuiPanel::RenderFrame(float w, float h, float tilingX, float tilingY) {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (m_transparent || !batch) return;
  const float x = GetScreenX(), y = GetScreenY();
  const std::int32_t alpha = GetAlpha();
  const std::int32_t background = BackgroundShader();
  if (background >= 0 && !(alpha == 0 && InvisibleAtZeroAlpha(background))) {
    batch->AddQuad(background, x, y, w, h, tilingX, tilingY, alpha);
  }
  if (m_borderShader < 0) return;
  // The right and bottom strips start one unit inside the right and bottom edges.
  const float b = m_borderSize;
  batch->AddQuad(m_borderShader, x, y + b, b, h - 2.0f * b, 1.0f, 1.0f, alpha);
  batch->AddQuad(m_borderShader, x + w - 1.0f, y + b, b, h - 2.0f * b, 1.0f, 1.0f, alpha);
  batch->AddQuad(m_borderShader, x, y, w, b, 1.0f, 1.0f, alpha);
  batch->AddQuad(m_borderShader, x, y + h - 1.0f, w, b, 1.0f, 1.0f, alpha);
}

void N_GuiPanel::RenderChildren() {
  for (const auto& [name, child] : Children()) child->Render();
}

void N_GuiPanel::RenderParticles() {
  N_TextBatch* batch = g_guiServices.textBatch;
  if (m_particles.empty() || m_particleShader < 0 || !batch) return;
  const float dt = GuiFrameTime();
  const float s = m_particleSpeed;
  const float left = GetScreenX(), top = GetScreenY();
  const float right = left + GetWidth(), bottom = top + GetHeight();
  // Round the border clockwise on the screen: right along the bottom, up the right
  // edge, left along the top, down the left edge.
  for (Particle& p : m_particles) {
    if (p.x > right) {
      p.x = right;
      p.vx = 0.0f;
      p.vy = -s;
    } else if (p.x < left) {
      p.x = left;
      p.vx = 0.0f;
      p.vy = s;
    } else if (p.y > bottom) {
      p.y = bottom;
      p.vx = s;
      p.vy = 0.0f;
    } else if (p.y < top) {
      p.y = top;
      p.vx = -s;
      p.vy = 0.0f;
    }
    // The factor exceeds 1 for all but the last particle: the batcher takes a byte.
    const float opacity = std::clamp(static_cast<float>(GetAlpha()) * p.opacity, 0.0f, 255.0f);
    batch->AddQuad(m_particleShader, p.x - p.halfSize, p.y - p.halfSize, 2.0f * p.halfSize, 2.0f * p.halfSize, 1.0f,
                   1.0f, static_cast<std::int32_t>(opacity));
    p.x += dt * p.vx;
    p.y += dt * p.vy;
  }
}

namespace {

using P = N_GuiPanel;
using T = N_GuiAttributeType;

std::string GetParticleCountText(const N_GuiObject& o) { return UIntToString(static_cast<const P&>(o).GetParticleCount()); }
void SetParticleCountText(N_GuiObject& o, const std::string& v) { static_cast<P&>(o).SetParticleCount(GuiInt(v)); }

const N_GuiAttributeRow kPanelRows[] = {
    {"tiling", "The number of times to repeat the background texture.", T::Text,
     TextAccessor<P, &P::GetTiling, &P::SetTiling>()},
    {"transparent",
     "Sets whether the panel is transparent, i.e. invisible itself but it's contents are still displayed.",
     T::Boolean, BoolAccessor<P, &P::IsTransparent, &P::SetTransparent>()},
    {"bordershader", "Sets the shader name of panel's borders.", T::Text,
     TextAccessor<P, &P::GetBorderShaderName, &P::SetBorderShader>()},
    {"bordersize", "Sets the size of panel's borders.", T::Number,
     NumberAccessor<P, &P::GetBorderSize, &P::SetBorderSize>()},
    {"particleshader", "Sets the shader name of particles around the borders.", T::Text,
     TextAccessor<P, &P::GetParticleShaderName, &P::SetParticleShader>()},
    {"numparticles", "Sets the number of particles drawn around the borders.", T::Integer,
     {&GetParticleCountText, &SetParticleCountText}},
    {"particlesize", "Sets the size of particles.", T::Number,
     NumberAccessor<P, &P::GetParticleSize, &P::SetParticleSize>()},
    {"particlespeed", "Sets the speed of movement of the particles.", T::Number,
     NumberAccessor<P, &P::GetParticleSpeed, &P::SetParticleSpeed>()},
};

}  // namespace

void N_GuiPanel::BuildAttributes() {
  N_GuiContainer::BuildAttributes();
  AppendAttributes(kPanelRows);
}

// N_Render: particles' point lists drawn as screen-facing sprites with the stages of
// the bound shader, two stages a draw at most.
#include "render/FloatBits.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/Shader.h"
#include "render/StageTexture.h"

namespace {

// Sprite size = viewport height x size x sqrt(1 / (A + B d + C d^2)) at eye distance d.
constexpr float kPointScaleA = 0.075f;
constexpr float kPointScaleB = 1.0025f;
constexpr float kPointScaleC = 0.75f;

}  // namespace

void N_Render::DrawPointSprites(N_MeshSurface* surface) {
  N_RenderStateCache& cache = g_renderStateCache;
  // The stages are the bound shader's: without one (or while lost) nothing is drawn.
  if (!surface || m_deviceLost || cache.noShader || !cache.currentShader) return;
  const N_Shader& shader = *cache.currentShader;
  if (surface->binding) {
    ApplyVertexBufferBinding(surface->binding);
    cache.streamBinding = surface->binding;
  }
  m_device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
  m_device->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
  m_device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(kPointScaleA));
  m_device->SetRenderState(D3DRS_POINTSCALE_B, FloatBits(kPointScaleB));
  m_device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(kPointScaleC));
  SetVertexDecl(BuiltInDeclaration(BuiltInDecl::PointSprite));

  for (cache.currentLayer = 0; cache.currentLayer < shader.stageCount; ++cache.currentLayer) {
    const N_ShaderStage* stage = shader.Stage(cache.currentLayer);
    ApplyTexCoords(0, surface);
    ApplyStageStates(stage);
    BindStageTexture(stage, 0);
    const bool combined = (stage->flags & StageFlag::kMultiplied) && cache.currentLayer + 1 < shader.stageCount &&
                          TextureUnitCount() > 1;
    if (combined) {
      ++cache.currentLayer;
      ApplyTexCoords(1, surface);
      BindStageTexture(shader.Stage(cache.currentLayer), 1);
    }
    if (surface->vertexCount > 0) m_device->DrawPrimitive(D3DPT_POINTLIST, 0, surface->vertexCount);
    if (combined) {
      // Unit 1 goes off with nothing bound, so the cache's "none" holds on the device.
      m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
      m_device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
      m_device->SetTexture(1, nullptr);
      cache.boundTexture[1] = -1;
    }
  }
  m_shadowDeclCurrent = false;
  m_device->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);  // point scaling stays on
}

// The engine values handed to effect parameters by semantic before every draw, and
// the effect branch of surface drawing.
#include "core/Matrix34.h"
#include "platform/d3dx9.h"
#include "render/MatrixConvert.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/Shader.h"
#include "render/TexInfo.h"
#include "render/Wave.h"

#include <cstring>

namespace {

constexpr std::int32_t kDirectionalLight = 1;
constexpr int kStageTextures = 4;  ///< TEXTURE0 to TEXTURE3
constexpr const char* kTextureSemantics[kStageTextures] = {"TEXTURE0", "TEXTURE1", "TEXTURE2", "TEXTURE3"};

/// Sets the parameter of the semantic when the effect has one.
void SetMatrix(ID3DXEffect* effect, const char* semantic, const N_Matrix4& matrix) {
  if (D3DXHANDLE parameter = effect->GetParameterBySemantic(nullptr, semantic)) {
    D3DXMATRIX value;
    std::memcpy(&value.m[0][0], matrix.m, sizeof matrix.m);
    effect->SetMatrix(parameter, &value);
  }
}

void SetVector(ID3DXEffect* effect, const char* semantic, const D3DXVECTOR4& vector) {
  if (D3DXHANDLE parameter = effect->GetParameterBySemantic(nullptr, semantic)) effect->SetVector(parameter, &vector);
}

/// The affine inverse of a row-vector transform: its 3 x 4 part (rotation and the
/// translation of the fourth row) inverted; a projection's fourth column is dropped.
N_Matrix4 AffineInverse(const N_Matrix4& matrix) {
  // N_Matrix34 holds the column form (translation in elements 3, 7 and 11).
  N_Matrix4 columnForm, inverse, result;
  matrix.Transpose(columnForm);
  N_Matrix34(columnForm).Invert(inverse);
  return inverse.Transpose(result);
}

/// The device texture of stage n of the current shader; null for none. False when
/// the shader has no stage n (the parameter is then left alone).
bool StageTexture(int n, IDirect3DBaseTexture9*& texture) {
  const N_Shader* shader = g_renderStateCache.currentShader;
  const N_ShaderStage* stage = shader && shader->stageCount > n ? shader->Stage(n) : nullptr;
  if (!stage) return false;
  texture = nullptr;
  if (stage->flags & StageFlag::kLightmap) {
    const std::int32_t lightmap = g_renderStateCache.currentLightmap;
    if (lightmap > 0) texture = platform::TextureFromHandle(lightmap);
    return true;
  }
  if (stage->TextureCount() == 0) return true;
  const int frame = stage->TextureCount() <= 1 ? 0 : stage->GetFrame(RenderTime());
  const TexInfo* record = stage->textures[std::size_t(frame)];
  if (record) texture = platform::TextureFromHandle(record->texture);
  return true;
}

}  // namespace

void N_Render::BindEffectParameters(ID3DXEffect* effect) {
  if (!effect) return;
  const N_Matrix4 world = FromD3D(m_world);
  const N_Matrix4 view = FromD3D(m_view);
  const N_Matrix4 projection = FromD3D(m_projection);
  N_Matrix4 worldView, worldViewProjection, work;
  MatrixMultiply(worldView, world, view);
  MatrixMultiply(worldViewProjection, worldView, projection);

  SetMatrix(effect, "WORLD", world);
  SetMatrix(effect, "VIEW", view);
  SetMatrix(effect, "PROJECTION", projection);
  SetMatrix(effect, "WORLDVIEW", worldView);
  SetMatrix(effect, "WORLDVIEWT", worldView.Transpose(work));
  SetMatrix(effect, "WORLDVIEWI", AffineInverse(worldView));
  SetMatrix(effect, "WORLDVIEWPROJECTION", worldViewProjection);
  SetMatrix(effect, "WORLDVIEWPROJECTIONT", worldViewProjection.Transpose(work));
  SetMatrix(effect, "WORLDVIEWPROJECTIONI", AffineInverse(worldViewProjection));
  if (D3DXHANDLE time = effect->GetParameterBySemantic(nullptr, "TIME")) effect->SetFloat(time, RenderTime());
  for (std::int32_t slot = 0; slot < kLights; ++slot) {
    const N_RenderLight* light = GetLight(slot);
    if (!light || light->type != kDirectionalLight) continue;
    SetVector(effect, "LIGHTDIR", {light->direction[0], light->direction[1], light->direction[2], 0.0f});
    break;
  }
  const float fogNear = RenderVarFloat("foglinearnear");
  const float fogFar = RenderVarFloat("foglinearfar");
  SetVector(effect, "FOGPARAMS", {fogNear, fogFar, 1.0f / (fogFar - fogNear), 0.0f});
  SetVector(effect, "EYEPOS", {m_view.m[3][0], m_view.m[3][1], m_view.m[3][2], 1.0f});
  for (int n = 0; n < kStageTextures; ++n) {
    D3DXHANDLE parameter = effect->GetParameterBySemantic(nullptr, kTextureSemantics[n]);
    IDirect3DBaseTexture9* texture = nullptr;
    if (parameter && StageTexture(n, texture)) effect->SetTexture(parameter, texture);
  }
}

void N_Render::DrawEffectPasses(ID3DXEffect* effect, const std::function<void()>& draw) {
  if (!effect) return;  // a shader whose effect could not be made draws nothing
  m_stencilMayBeMarked = true;  // its passes may set any state, the stencil's included
  // The passes' programs read every field of the surface vertex, colour included.
  SetVertexDecl(BuiltInDeclaration(BuiltInDecl::Surface));
  m_shadowDeclCurrent = false;
  if (m_softwareVertexProcessing) m_device->SetFVF(kSurfaceFvf);
  BindEffectParameters(effect);
  UINT passes = 0;
  if (FAILED(effect->Begin(&passes, 0))) return;
  for (UINT pass = 0; pass < passes; ++pass) {
    effect->BeginPass(pass);
    draw();
    effect->EndPass();
  }
  effect->End();
}

// N_Render: what a stage generates per draw (texture coordinates and their modifiers,
// the colour source) and what a shader deforms (vertex programs with their constants).
#include "render/Camera.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/Shader.h"
#include "render/TexCoordTransform.h"
#include "render/VertexDecl.h"
#include "render/Wave.h"

namespace {

/// The unit's coordinate index for a tcgen (the cache's mode is the tcgen itself).
DWORD TexCoordIndexOf(std::int32_t tcgen) {
  if (tcgen == static_cast<std::int32_t>(TcGen::Environment)) return D3DTSS_TCI_SPHEREMAP;
  return tcgen == static_cast<std::int32_t>(TcGen::Lightmap) ? 1 : 0;
}

D3DCOLORVALUE Opaque(const std::array<float, 3>& rgb) { return {rgb[0], rgb[1], rgb[2], 1.0f}; }

}  // namespace

const N_ShaderStage* N_Render::CurrentStage() const {
  const N_RenderStateCache& cache = g_renderStateCache;
  return cache.currentShader ? cache.currentShader->Stage(cache.currentLayer) : nullptr;
}

void N_Render::ApplyTexCoords(std::uint32_t unit, const N_MeshSurface*) {
  N_RenderStateCache& cache = g_renderStateCache;
  const N_ShaderStage* stage = CurrentStage();
  if (!stage || unit >= N_RenderStateCache::kUnits) return;
  const auto tcgen = static_cast<std::int32_t>(stage->tcGen);
  if (tcgen != cache.texCoordMode[unit]) {
    m_device->SetTextureStageState(unit, D3DTSS_TEXCOORDINDEX, TexCoordIndexOf(tcgen));
    cache.texCoordMode[unit] = tcgen;
  }
  if (stage->tcMods.empty()) {
    if (cache.textureTransform[unit] != D3DTTFF_DISABLE) {
      m_device->SetTextureStageState(unit, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
      cache.textureTransform[unit] = D3DTTFF_DISABLE;
    }
    return;
  }
  const N_TexMatrix m = ComposeTexMods(stage->tcMods, RenderTime());
  D3DMATRIX transform{};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) transform.m[row][col] = m[std::size_t(3 * row + col)];
  }
  transform._44 = 1.0f;
  m_device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + unit), &transform);
  // Two coordinates: the translation is read from the third row.
  m_device->SetTextureStageState(unit, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
  cache.textureTransform[unit] = D3DTTFF_COUNT2;
}

void N_Render::SetLighting(bool on) {
  N_RenderStateCache& cache = g_renderStateCache;
  const std::uint32_t value = on ? TRUE : FALSE;
  if (cache.lighting == value) return;
  m_device->SetRenderState(D3DRS_LIGHTING, value);
  cache.lighting = value;
}

void N_Render::ApplyColourSource(const N_MeshSurface*) {
  const N_ShaderStage* stage = CurrentStage();
  if (!stage) return;
  SetLighting(false);
  if (stage->alphaGen == AlphaGen::Dot && HardwareVertexProcessing()) {
    LoadTransformConstants();
    const N_Vector3 forward = m_camera ? m_camera->forward : N_Vector3{};
    SetVertexConstant(4, forward.x, forward.y, forward.z, m_camera ? m_camera->viewPlaneDistance : 0.0f);
    SetVertexConstant(5, stage->alphaGenValues[0]);
    SetVertexConstant(6, stage->alphaGenValues[1]);
    BindVertexProgram(VertexProgram::AlphaDot);
  }
  switch (stage->rgbGen) {
    case RgbGen::Wave:
      if (MixedVertexProcessing()) m_device->SetSoftwareVertexProcessing(TRUE);
      LoadTransformConstants();
      SetVertexConstant(4, EvaluateWave(stage->rgbGenValues.data()));
      BindVertexProgram(VertexProgram::RgbGen);
      break;
    case RgbGen::Vertex:
      SetVertexDecl(BuiltInDeclaration(BuiltInDecl::Surface));
      m_shadowDeclCurrent = false;
      break;
    case RgbGen::LightingDiffuse: {
      const N_Shader& shader = *g_renderStateCache.currentShader;
      D3DMATERIAL9 material{Opaque(shader.diffuse), Opaque(shader.ambient), Opaque(shader.specular),
                            Opaque(shader.emissive), shader.specularPower};
      m_device->SetMaterial(&material);
      SetLighting(true);
      break;
    }
    default:
      // The flag also says that the declaration without colour is the current one.
      if (!m_shadowDeclCurrent) {
        SetVertexDecl(BuiltInDeclaration(BuiltInDecl::SurfaceWithoutColor));
        m_shadowDeclCurrent = true;
      }
      break;
  }
  if (m_softwareVertexProcessing) m_device->SetFVF(kSurfaceFvf);
}

void N_Render::SetVertexConstant(std::uint32_t reg, float x, float y, float z, float w) {
  const float values[4] = {x, y, z, w};
  m_device->SetVertexShaderConstantF(reg, values, 1);
}

void N_Render::BindVertexProgram(VertexProgram which) {
  // A missing program binds nothing, but its constants are loaded and the flag is set.
  if (IDirect3DVertexShader9* program = m_vertexPrograms[std::size_t(which)]) m_device->SetVertexShader(program);
  m_vertexProgramBound = true;
}

void N_Render::ApplyAutoSprite(const float* values, bool worldUp) {
  // The corners of a sprite about its centre: A along the camera's right axis, B along
  // its up axis (autosprite) or the world's vertical (autosprite2).
  if (MixedVertexProcessing()) m_device->SetSoftwareVertexProcessing(TRUE);
  const N_Vector3 right = m_camera ? m_camera->axisX : N_Vector3{};
  const N_Vector3 up = worldUp ? N_Vector3{0.0f, 0.0f, 1.0f} : (m_camera ? m_camera->axisY : N_Vector3{});
  const N_Vector3 a = right * values[0];
  const N_Vector3 b = worldUp ? N_Vector3{0.0f, 0.0f, values[1]} : up * values[1];
  LoadTransformConstants();
  const N_Vector3 corners[4] = {b - a, N_Vector3{} - a - b, a + b, a - b};
  for (std::uint32_t i = 0; i < 4; ++i) SetVertexConstant(4 + i, corners[i].x, corners[i].y, corners[i].z);
  BindVertexProgram(VertexProgram::AutoSprite);
}

void N_Render::ApplyDeforms(const N_Shader& shader) {
  const float time = RenderTime();
  for (int i = 0; i < shader.deformCount; ++i) {
    const N_ShaderDeform& deform = shader.deforms[std::size_t(i)];
    const float* v = deform.values.data();  // v[0] is the deform's value 1
    const float spread = v[0] != 0.0f ? 1.0f / v[0] : 0.0f;
    switch (deform.type) {
      case DeformType::Wave:
        if (!HardwareVertexProcessing()) break;
        LoadTransformConstants();
        SetVertexConstant(4, v[2], v[3], v[4], v[5]);  // base, amplitude, phase, frequency
        SetVertexConstant(5, spread);
        SetVertexConstant(6, time);
        BindVertexProgram(VertexProgram::Wave);
        break;
      case DeformType::Water:
        if (!HardwareVertexProcessing()) break;
        LoadTransformConstants();
        SetVertexConstant(4, v[1], v[2], v[3], v[4]);
        SetVertexConstant(5, spread);
        SetVertexConstant(6, time);
        SetVertexConstant(7, v[5], v[6], v[7]);
        BindVertexProgram(VertexProgram::Water);
        break;
      case DeformType::Autosprite: ApplyAutoSprite(v, false); break;
      case DeformType::Autosprite2: ApplyAutoSprite(v, true); break;
      default: break;
    }
  }
  if (m_vertexProgramBound) LoadFogConstants();
}

void N_Render::LoadFogConstants() {
  const N_Vector3 eye = m_camera ? m_camera->position : N_Vector3{};
  SetVertexConstant(9, eye.x, eye.y, eye.z, 0.0f);
  const float nearFog = RenderVarFloat("foglinearnear");
  const float farFog = RenderVarFloat("foglinearfar");
  SetVertexConstant(10, nearFog, farFog, farFog != nearFog ? 1.0f / (farFog - nearFog) : 0.0f);
}

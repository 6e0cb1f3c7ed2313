// N_Render: default device states, the frame start, clears, the clear colour, the
// transform setters and two small queries.
#include "render/MatrixConvert.h"
#include "render/PackedColor.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

#include <algorithm>
#include <cstdio>

namespace {

void SetSamplerFilters(IDirect3DDevice9* device, DWORD unitCount, int filter) {
  struct Filters {
    DWORD mag, min, mip;
  };
  static constexpr Filters kByFilter[] = {
      {D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE},
      {D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_POINT},
      {D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR},
      {D3DTEXF_ANISOTROPIC, D3DTEXF_ANISOTROPIC, D3DTEXF_ANISOTROPIC},
  };
  if (filter < 0 || filter > 3) return;  // any other value leaves the samplers alone
  const Filters& f = kByFilter[filter];
  for (DWORD unit = 0; unit < unitCount; ++unit) {
    device->SetSamplerState(unit, D3DSAMP_MAGFILTER, f.mag);
    device->SetSamplerState(unit, D3DSAMP_MINFILTER, f.min);
    device->SetSamplerState(unit, D3DSAMP_MIPFILTER, f.mip);
    if (filter == 3) device->SetSamplerState(unit, D3DSAMP_MAXANISOTROPY, 4);
  }
}

DWORD DepthBufferMode() { return RenderVarInt("r_useWBuffer") != 0 ? D3DZB_USEW : D3DZB_TRUE; }
DWORD FillMode() { return RenderVarInt("r_grid") != 0 ? D3DFILL_WIREFRAME : D3DFILL_SOLID; }

}  // namespace

void N_Render::SetDefaultRenderStates(IDirect3DDevice9* device) {
  N_RenderStateCache& cache = g_renderStateCache;
  cache.Reset(device);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);

  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  device->SetRenderState(D3DRS_DITHERENABLE, RenderVarInt("r_dither") != 0 ? TRUE : FALSE);

  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
  device->SetRenderState(D3DRS_ALPHAREF, 255);

  device->SetRenderState(D3DRS_ZENABLE, DepthBufferMode());
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  device->SetRenderState(D3DRS_DEPTHBIAS, 0);
  device->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, 0);
  device->SetRenderState(D3DRS_FILLMODE, FillMode());

  D3DCAPS9 caps{};
  device->GetDeviceCaps(&caps);
  const DWORD units = std::min<DWORD>(caps.MaxSimultaneousTextures, N_RenderStateCache::kUnits);
  SetSamplerFilters(device, units, RenderVarInt("r_filter"));
}

bool N_Render::BeginFrame(bool clearTarget) {
  g_renderStateCache.depthWrite = 1;
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);

  DWORD flags = (clearTarget ? D3DCLEAR_TARGET : 0) | D3DCLEAR_ZBUFFER;
  if (m_stencilBits != 0) flags |= D3DCLEAR_STENCIL;
  const D3DVIEWPORT9 viewport{0,
                              0,
                              static_cast<DWORD>(std::max(0, RenderVarInt("v_width"))),
                              static_cast<DWORD>(std::max(0, RenderVarInt("v_height"))),
                              0.0f,
                              1.0f};
  m_device->SetViewport(&viewport);
  m_device->Clear(0, nullptr, flags, m_clearColor, 1.0f, 0);
  // Switching targets only to clear one that the frame may not use would cost a software
  // renderer two passes over the whole picture; it is cleared when first drawn into.
  m_offscreenClearPending = m_offscreenSurface != nullptr;
  m_sceneInBackBuffer = false;
  m_stencilMayBeMarked = m_stencilBits == 0;

  m_device->BeginScene();
  m_polygonCount = 0;
  return true;
}

void N_Render::ClearDepth() {
  g_renderStateCache.depthWrite = 1;
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

void N_Render::SetClearColorRGBA(float r, float g, float b, float a) { m_clearColor = PackArgb(ColorByte(a), r, g, b); }

void N_Render::SetWorldMatrix(const N_Matrix4& matrix) {
  m_world = ToD3D(matrix);
  m_device->SetTransform(D3DTS_WORLD, &m_world);
  if (m_vertexProgramBound) LoadTransformConstants();
}

void N_Render::SetViewMatrix(const N_Matrix4& matrix) {
  m_view = ToD3D(matrix);
  m_device->SetTransform(D3DTS_VIEW, &m_view);
  if (m_vertexProgramBound) LoadTransformConstants();
}

void N_Render::SetProjectionMatrix(const N_Matrix4& matrix) {
  m_projection = ToD3D(matrix);
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);
  if (m_vertexProgramBound) LoadTransformConstants();
}

// Vertex programs read world x view x projection transposed from c0-c3 (one row each).
void N_Render::LoadTransformConstants() {
  N_Matrix4 worldView, wvp, transposed;
  MatrixMultiply(worldView, FromD3D(m_world), FromD3D(m_view));
  MatrixMultiply(wvp, worldView, FromD3D(m_projection));
  wvp.Transpose(transposed);
  m_device->SetVertexShaderConstantF(0, transposed.m, 4);
}

void N_Render::GetAdapterInfo(N_AdapterInfo* info) {
  info->word0 = 0;
  info->word1 = 1;
  info->driver[0] = '\0';
  D3DADAPTER_IDENTIFIER9 identifier{};
  if (m_d3d == nullptr || m_d3d->GetAdapterIdentifier(0, 0, &identifier) != D3D_OK) return;
  std::snprintf(info->driver, sizeof info->driver, "%s", identifier.Driver);
}

void N_Render::SetVector3(const float* vector) { m_vector = {vector[0], vector[1], vector[2]}; }

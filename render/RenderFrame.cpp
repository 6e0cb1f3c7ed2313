// The default device states and the start of a frame.
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

#include <algorithm>
#include <cstring>

N_RenderStateCache g_renderStateCache;

namespace {

DWORD FloatBits(float value) {
  DWORD bits;
  static_assert(sizeof bits == sizeof value);
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void SetSamplerFilters(IDirect3DDevice9* device, DWORD units, int filter) {
  struct Filters {
    DWORD mag, min, mip;
  };
  static constexpr Filters kByFilter[] = {
      {D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE},
      {D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_POINT},
      {D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR},
      {D3DTEXF_ANISOTROPIC, D3DTEXF_ANISOTROPIC, D3DTEXF_ANISOTROPIC},  // a mip value of 3 is the data's own
  };
  if (filter < 0 || filter > 3) return;  // any other value leaves the samplers as they are
  const Filters& f = kByFilter[filter];
  for (DWORD unit = 0; unit < units; ++unit) {
    device->SetSamplerState(unit, D3DSAMP_MAGFILTER, f.mag);
    device->SetSamplerState(unit, D3DSAMP_MINFILTER, f.min);
    device->SetSamplerState(unit, D3DSAMP_MIPFILTER, f.mip);
    if (filter == 3) device->SetSamplerState(unit, D3DSAMP_MAXANISOTROPY, 4);
  }
}

}  // namespace

void N_Render::SetDefaultRenderStates(IDirect3DDevice9* device) {
  N_RenderStateCache& cache = g_renderStateCache;
  cache.device = device;
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  cache.boundTexture.fill(-1);
  cache.texCoordMode.fill(0);
  cache.mipLodBias.fill(0.0f);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  cache.cull = 1;
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  device->SetRenderState(D3DRS_DITHERENABLE, RenderVarInt("r_dither") != 0 ? TRUE : FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  cache.sourceBlend = D3DBLEND_ONE;
  cache.destinationBlend = D3DBLEND_ZERO;
  device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
  device->SetRenderState(D3DRS_ALPHAREF, 255);
  cache.alphaFunction = D3DCMP_ALWAYS;
  cache.alphaReference = 255;
  device->SetRenderState(D3DRS_ZENABLE, RenderVarInt("r_useWBuffer") != 0 ? D3DZB_USEW : D3DZB_TRUE);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  cache.depthFunction = D3DCMP_LESSEQUAL;
  cache.depthWrite = 1;
  device->SetRenderState(D3DRS_DEPTHBIAS, FloatBits(0.0f));
  device->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, FloatBits(0.0f));
  cache.polygonOffset = 0;
  device->SetRenderState(D3DRS_FILLMODE, RenderVarInt("r_grid") != 0 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
  D3DCAPS9 caps{};
  device->GetDeviceCaps(&caps);
  SetSamplerFilters(device, std::min<DWORD>(caps.MaxSimultaneousTextures, 8), RenderVarInt("r_filter"));
}

bool N_Render::BeginFrame() {
  g_renderStateCache.depthWrite = 1;
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  DWORD flags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
  if (m_stencilBits > 0) flags |= D3DCLEAR_STENCIL;
  const D3DVIEWPORT9 viewport{0, 0, DWORD(RenderVarInt("v_width")), DWORD(RenderVarInt("v_height")), 0.0f, 1.0f};
  m_device->SetViewport(&viewport);
  m_device->Clear(0, nullptr, flags, m_clearColor, 1.0f, 0);
  if (m_offscreenSurface) {
    m_device->SetRenderTarget(0, m_offscreenSurface);
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET, m_clearColor, 1.0f, 0);
    IDirect3DSurface9* backBuffer = nullptr;
    if (SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
      m_device->SetRenderTarget(0, backBuffer);
      backBuffer->Release();
    }
  }
  m_device->BeginScene();
  m_polygonCount = 0;
  return true;
}

// The offscreen target the world draws its scene into, the post pass that copies it to
// the back buffer (with the horizontal double image of the post filter), and the
// screenshot of the back buffer.
#include "core/Matrix4.h"
#include "platform/d3dx9.h"
#include "render/Camera.h"
#include "render/MatrixConvert.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/VertexBuffer.h"

#include <algorithm>

namespace {

N_Matrix4 Translation(float x) {
  N_Matrix4 m;  // identity
  m.m[12] = x;
  return m;
}

/// Unit 0's minification and magnification filters from "r_filter" (other values
/// leave them as they are).
void ApplyFilterSetting(IDirect3DDevice9* device) {
  static constexpr DWORD kFilters[] = {D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_ANISOTROPIC};
  const int filter = RenderVarInt("r_filter");
  if (filter < 0 || filter > 3) return;
  device->SetSamplerState(0, D3DSAMP_MINFILTER, kFilters[filter]);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, kFilters[filter]);
}

}  // namespace

void N_Render::SetOffscreenTarget(std::uint8_t on) {
  if (!m_offscreenSurface) return;
  // Without a filter the post pass would copy the picture unchanged: a scene drawn
  // where it ends up saves a software renderer the copy and the target's clear.
  if (on && m_postFilterAmount > 0.0f) {
    m_device->SetRenderTarget(0, m_offscreenSurface);
    ClearPendingOffscreen();
    return;
  }
  if (on) m_sceneInBackBuffer = true;
  IDirect3DSurface9* backBuffer = nullptr;
  if (SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) && backBuffer) {
    m_device->SetRenderTarget(0, backBuffer);
    backBuffer->Release();
  }
}

void N_Render::ClearPendingOffscreen() {
  if (!m_offscreenClearPending) return;
  m_offscreenClearPending = false;
  // The whole target: setting a render target makes the viewport cover it.
  m_device->Clear(0, nullptr, D3DCLEAR_TARGET, m_clearColor, 1.0f, 0);
}

void N_Render::SetPostFilterAmount(float amount) { m_postFilterAmount = amount; }

void N_Render::DrawPostPass() {
  // The 2D set-up and the final viewport come from the current camera: without one
  // there is nowhere to draw.
  if (!m_offscreenSurface || !m_offscreenTexture || !m_camera) return;
  if (m_offscreenClearPending && !m_sceneInBackBuffer) {
    // Nothing was drawn into it this frame: the copy shows the clear colour.
    m_device->SetRenderTarget(0, m_offscreenSurface);
    ClearPendingOffscreen();
    SetOffscreenTarget(0);
  }
  SetupCamera(m_camera, 0);
  const D3DVIEWPORT9 full{0, 0, DWORD(std::max(0, RenderVarInt("v_width"))),
                          DWORD(std::max(0, RenderVarInt("v_height"))), 0.0f, 1.0f};
  m_device->SetViewport(&full);
  PreparePostPassStates();
  if (m_postFilterAmount > 0.0f) CopySceneToTexture();
  BindPostPassTexture();
  DrawPostPassQuads();
  ApplyFilterSetting(m_device);
  m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  N_RenderStateCache& cache = g_renderStateCache;
  cache.depthWrite = 0;
  cache.cull = 0;
  cache.alphaFunction = D3DCMP_ALWAYS;
  cache.depthFunction = D3DCMP_ALWAYS;
  const D3DVIEWPORT9 camera{DWORD(m_camera->viewportX), DWORD(m_camera->viewportY), DWORD(m_camera->viewportWidth),
                            DWORD(m_camera->viewportHeight), 0.0f, 1.0f};
  m_device->SetViewport(&camera);
  m_sceneInBackBuffer = false;
}

void N_Render::CopySceneToTexture() {
  IDirect3DSurface9* level = nullptr;
  if (FAILED(m_offscreenTexture->GetSurfaceLevel(0, &level)) || !level) return;
  IDirect3DSurface9* scene = m_offscreenSurface;
  IDirect3DSurface9* backBuffer = nullptr;
  if (m_sceneInBackBuffer && SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
    scene = backBuffer;
  }
  if (scene) m_device->StretchRect(scene, nullptr, level, nullptr, D3DTEXF_NONE);
  if (backBuffer) backBuffer->Release();
  level->Release();
}

void N_Render::PreparePostPassStates() {
  m_device->SetVertexShader(nullptr);
  m_vertexProgramBound = false;
  m_device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
  m_device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
  N_RenderStateCache& cache = g_renderStateCache;
  if (cache.polygonOffset != 0) {
    m_device->SetRenderState(D3DRS_DEPTHBIAS, 0);
    m_device->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, 0);
    cache.polygonOffset = 0;
  }
}

void N_Render::BindPostPassTexture() {
  N_RenderStateCache& cache = g_renderStateCache;
  m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  m_device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
  m_device->SetTexture(0, m_offscreenTexture);
  cache.boundTexture[0] = -1;
  for (DWORD unit = 1; unit < TextureUnitCount(); ++unit) {
    m_device->SetTextureStageState(unit, D3DTSS_COLOROP, D3DTOP_DISABLE);
    m_device->SetTextureStageState(unit, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    cache.boundTexture[unit] = -1;
  }
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
}

void N_Render::DrawPostPassQuads() {
  N_RenderStateCache& cache = g_renderStateCache;
  m_fullScreenQuad->Bind();
  SetVertexDecl(BuiltInDeclaration(BuiltInDecl::Surface));
  m_shadowDeclCurrent = false;
  const float amount = m_postFilterAmount;
  if (amount > 0.0f) {
    // The picture shifted right, at the quad's vertex alpha 0x7F, over the one shifted left.
    SetWorldMatrix(Translation(-2.0f * amount));
    m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    SetWorldMatrix(Translation(2.0f * amount));
    m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    SetWorldMatrix(N_Matrix4{});
    cache.sourceBlend = D3DBLEND_SRCALPHA;
    cache.destinationBlend = D3DBLEND_INVSRCALPHA;
  } else {
    // Nothing to filter: a scene drawn offscreen is copied to the back buffer as it
    // stands, a copy where a textured full-screen quad would cost a software renderer
    // every pixel; one drawn in the back buffer is already there.
    SetWorldMatrix(N_Matrix4{});
    IDirect3DSurface9* backBuffer = nullptr;
    if (!m_sceneInBackBuffer && SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) &&
        backBuffer) {
      m_device->StretchRect(m_offscreenSurface, nullptr, backBuffer, nullptr, D3DTEXF_NONE);
      backBuffer->Release();
    }
    cache.sourceBlend = D3DBLEND_ONE;
    cache.destinationBlend = D3DBLEND_ZERO;
  }
}

void N_Render::SaveScreenshot(const char* fileName, std::int32_t /*x*/, std::int32_t /*y*/, std::int32_t /*width*/,
                              std::int32_t /*height*/) {
  // The whole back buffer: the rectangle is not applied. Failures are silent.
  IDirect3DSurface9* backBuffer = nullptr;
  if (!fileName || FAILED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) || !backBuffer) return;
  D3DXSaveSurfaceToFileA(fileName, D3DXIFF_BMP, backBuffer, nullptr, nullptr);
  backBuffer->Release();
}

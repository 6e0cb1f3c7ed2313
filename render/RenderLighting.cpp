// N_Render: fog, ambient light, the light table, the stencil operations and the
// shadow overlay that darkens the pixels the shadow volumes marked.
#include "render/FloatBits.h"
#include "render/PackedColor.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/VertexBuffer.h"

#include <cstring>

namespace {

constexpr std::int32_t kLightSlots = N_Render::kLights;
constexpr DWORD kQuadColourOffset = 24;  // colour of the 44-byte surface vertex
constexpr DWORD kQuadVertices = 4;

/// Engine stencil function codes 0-7; higher codes reach the device unchanged.
DWORD StencilCompare(std::int32_t code) {
  static constexpr DWORD kCompare[] = {D3DCMP_NEVER, D3DCMP_ALWAYS,   D3DCMP_LESS,         D3DCMP_LESSEQUAL,
                                       D3DCMP_EQUAL, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_GREATER};
  if (code >= 0 && code < 8) return kCompare[code];
  return static_cast<DWORD>(code);
}

/// Engine stencil operation codes 0-5, or 0 for a code outside them.
DWORD StencilOperation(std::int32_t code) {
  static constexpr DWORD kOperation[] = {D3DSTENCILOP_KEEP, D3DSTENCILOP_ZERO, D3DSTENCILOP_REPLACE,
                                         D3DSTENCILOP_INCR, D3DSTENCILOP_DECR, D3DSTENCILOP_INVERT};
  if (code >= 0 && code < 6) return kOperation[code];
  return 0;
}

D3DCOLORVALUE ColourValue(const float* rgb) { return {rgb[0], rgb[1], rgb[2], 1.0f}; }

D3DLIGHT9 DeviceLight(const N_RenderLight& light) {
  D3DLIGHT9 d{};
  switch (light.type) {
    case 1:
      d.Type = D3DLIGHT_DIRECTIONAL;
      break;
    case 2:
      d.Type = D3DLIGHT_SPOT;
      d.Falloff = light.falloff;
      d.Theta = light.theta;
      d.Phi = light.phi;
      break;
    default:
      d.Type = D3DLIGHT_POINT;
      break;
  }
  d.Diffuse = ColourValue(light.diffuse);
  d.Specular = ColourValue(light.specular);
  d.Ambient = ColourValue(light.ambient);
  if (d.Type != D3DLIGHT_DIRECTIONAL) {
    d.Position = {light.position[0], light.position[1], light.position[2]};
    d.Range = light.range;
    d.Attenuation0 = light.attenuation[0];
    d.Attenuation1 = light.attenuation[1];
    d.Attenuation2 = light.attenuation[2];
  }
  if (d.Type != D3DLIGHT_POINT) d.Direction = {light.direction[0], light.direction[1], light.direction[2]};
  return d;
}

}  // namespace

void N_Render::SetFog(std::int32_t mode, const float* colour, float start, float end, float density) {
  static constexpr DWORD kModes[] = {D3DFOG_LINEAR, D3DFOG_EXP, D3DFOG_EXP2};
  m_device->SetRenderState(D3DRS_FOGVERTEXMODE, mode >= 0 && mode < 3 ? kModes[mode] : D3DFOG_NONE);
  m_device->SetRenderState(D3DRS_FOGCOLOR, PackArgb(0xFF, colour[0], colour[1], colour[2]));
  m_device->SetRenderState(D3DRS_FOGSTART, FloatBits(start));
  m_device->SetRenderState(D3DRS_FOGEND, FloatBits(end));
  m_device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(density));
  m_device->SetRenderState(D3DRS_FOGENABLE, TRUE);
}

void N_Render::DisableFog() { m_device->SetRenderState(D3DRS_FOGENABLE, FALSE); }

void N_Render::SetAmbient(float r, float g, float b) {
  m_device->SetRenderState(D3DRS_AMBIENT, PackArgb(0xFF, r, g, b));
}

void N_Render::SetLight(std::int32_t index, N_RenderLight* light) {
  if (index < 0 || index >= kLightSlots) {
    RenderPrint("!!! SetLight: no light slot %d\n", index);
    return;
  }
  const DWORD slot = static_cast<DWORD>(index);
  if (light == nullptr) {
    m_lights[slot].reset();
    m_device->LightEnable(slot, FALSE);
    return;
  }
  // A copy: the owner (a level, a GUI model) may be gone before the light is switched off.
  m_lights[slot] = *light;
  const D3DLIGHT9 deviceLight = DeviceLight(*light);
  m_device->SetLight(slot, &deviceLight);
  m_device->LightEnable(slot, TRUE);
  light->changed = 0;
}

const N_RenderLight* N_Render::GetLight(std::int32_t slot) const {
  if (slot < 0 || slot >= kLightSlots || !m_lights[static_cast<std::size_t>(slot)]) return nullptr;
  return &*m_lights[static_cast<std::size_t>(slot)];
}

void N_Render::DisableLights() {
  for (DWORD slot = 0; slot < kLightSlots; ++slot) {
    if (!m_lights[slot]) continue;
    if (m_device != nullptr) m_device->LightEnable(slot, FALSE);
    m_lights[slot].reset();
  }
}

void N_Render::EnableStencil(std::uint8_t on) {
  if (on != 0) m_stencilMayBeMarked = true;
  m_device->SetRenderState(D3DRS_STENCILENABLE, on != 0 ? TRUE : FALSE);
}

void N_Render::SetStencilMask(DWORD mask) { m_device->SetRenderState(D3DRS_STENCILMASK, mask); }

void N_Render::SetStencilFunc(std::int32_t func, DWORD ref, DWORD mask) {
  m_device->SetRenderState(D3DRS_STENCILMASK, mask);
  m_device->SetRenderState(D3DRS_STENCILREF, ref);
  m_device->SetRenderState(D3DRS_STENCILFUNC, StencilCompare(func));
}

void N_Render::SetStencilOp(std::int32_t fail, std::int32_t depthFail, std::int32_t pass) {
  const std::int32_t codes[] = {fail, depthFail, pass};
  const D3DRENDERSTATETYPE states[] = {D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL, D3DRS_STENCILPASS};
  for (int i = 0; i < 3; ++i) {
    const DWORD operation = StencilOperation(codes[i]);
    if (operation == 0) {
      RenderPrint("!!! Bad stencil operation %d\n", codes[i]);
      continue;
    }
    m_device->SetRenderState(states[i], operation);
  }
}

void N_Render::ClearStencil(DWORD value) {
  if (value != 0) m_stencilMayBeMarked = true;
  m_device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, value);
}

void N_Render::SetShadowColor(float r, float g, float b) {
  m_shadowColor[0] = r;
  m_shadowColor[1] = g;
  m_shadowColor[2] = b;
  if (m_fullScreenQuad == nullptr) return;
  const std::uint32_t colour = PackArgb(0x7F, r, g, b);
  auto* bytes = static_cast<unsigned char*>(m_fullScreenQuad->Lock(true, false));
  if (bytes == nullptr) return;
  for (DWORD i = 0; i < kQuadVertices; ++i) {
    std::memcpy(bytes + i * m_fullScreenQuad->GetStride() + kQuadColourOffset, &colour, sizeof colour);
  }
  m_fullScreenQuad->Unlock();
}

void N_Render::DrawShadowOverlay() {
  if (m_stencilBits == 0 || RenderVarInt("r_shadowsEnabled") == 0 || m_fullScreenQuad == nullptr) return;
  // A stencil buffer still as the frame cleared it marks no pixel: a full-screen pass
  // that changes nothing costs a software renderer the whole picture.
  if (!m_stencilMayBeMarked) return;
  N_RenderStateCache& cache = g_renderStateCache;
  m_fullScreenQuad->Bind();
  SetVertexDecl(BuiltInDeclaration(BuiltInDecl::Surface));
  m_shadowDeclCurrent = false;

  // Unit 0 off: the vertex colour (the shadow colour) passes through.
  m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  cache.boundTexture[0] = -1;

  // Only pixels with a non-zero stencil value are drawn.
  m_device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
  m_device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NOTEQUAL);
  m_device->SetRenderState(D3DRS_STENCILREF, 0);
  m_device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);

  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  if (cache.polygonOffset != 0) {
    m_device->SetRenderState(D3DRS_DEPTHBIAS, 0);
    m_device->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, 0);
    cache.polygonOffset = 0;
  }
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);

  // Each pixel keeps the smaller of its colour and the shadow colour, or without blend
  // operations is multiplied by the shadow colour.
  const bool blendOp = (m_caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP) != 0;
  if (blendOp) {
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
    m_device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MIN);
  } else {
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
  }
  m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);

  if (blendOp) m_device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
  cache.sourceBlend = D3DBLEND_ONE;
  cache.destinationBlend = D3DBLEND_ZERO;
  cache.cull = 0;
}

#include "platform/d3d9/DeviceState.h"

#include <cstring>

namespace platform::d3d9 {

float StateFloat(DWORD value) {
  float f;
  std::memcpy(&f, &value, sizeof f);
  return f;
}

DWORD FloatState(float value) {
  DWORD d;
  std::memcpy(&d, &value, sizeof d);
  return d;
}

D3DMATRIX IdentityMatrix() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

namespace {

void ResetRenderStates(std::array<DWORD, kD3DRenderStateCount>& rs, bool autoDepthStencil) {
  rs.fill(0);
  rs[D3DRS_ZENABLE] = autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
  rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
  rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  rs[D3DRS_ZWRITEENABLE] = TRUE;
  rs[D3DRS_LASTPIXEL] = TRUE;
  rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  rs[D3DRS_CULLMODE] = D3DCULL_CCW;
  rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_FOGEND] = FloatState(1.0f);
  rs[D3DRS_FOGDENSITY] = FloatState(1.0f);
  rs[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
  rs[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
  rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
  rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_STENCILMASK] = 0xFFFFFFFFu;
  rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
  rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
  rs[D3DRS_CLIPPING] = TRUE;
  rs[D3DRS_LIGHTING] = TRUE;
  rs[D3DRS_COLORVERTEX] = TRUE;
  rs[D3DRS_LOCALVIEWER] = TRUE;
  rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
  rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
  rs[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
  rs[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
  rs[D3DRS_POINTSIZE] = FloatState(1.0f);
  rs[D3DRS_POINTSIZE_MIN] = FloatState(1.0f);
  rs[D3DRS_POINTSCALE_A] = FloatState(1.0f);
  rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
  rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
  rs[D3DRS_POINTSIZE_MAX] = FloatState(64.0f);
  rs[D3DRS_COLORWRITEENABLE] = 0xF;
  rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  rs[D3DRS_CCW_STENCILFAIL] = D3DSTENCILOP_KEEP;
  rs[D3DRS_CCW_STENCILZFAIL] = D3DSTENCILOP_KEEP;
  rs[D3DRS_CCW_STENCILPASS] = D3DSTENCILOP_KEEP;
  rs[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_BLENDFACTOR] = 0xFFFFFFFFu;
  rs[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  rs[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
}

void ResetStage(std::array<DWORD, kD3DTextureStageStateCount>& ts, DWORD stage) {
  ts.fill(0);
  ts[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
  ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
  ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
  ts[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
  ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
  ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
  ts[D3DTSS_TEXCOORDINDEX] = stage;
  ts[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
  ts[D3DTSS_COLORARG0] = D3DTA_CURRENT;
  ts[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
  ts[D3DTSS_RESULTARG] = D3DTA_CURRENT;
}

void ResetSampler(std::array<DWORD, kD3DSamplerStateCount>& ss) {
  ss.fill(0);
  ss[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
  ss[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
  ss[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
  ss[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
  ss[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
  ss[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
  ss[D3DSAMP_MAXANISOTROPY] = 1;
}

}  // namespace

void DeviceState::Reset(UINT width, UINT height, bool autoDepthStencil) {
  ResetRenderStates(render, autoDepthStencil);
  for (DWORD i = 0; i < kMaxStages; ++i) {
    ResetStage(stage[i], i);
    ResetSampler(sampler[i]);
    textureMatrix[i] = IdentityMatrix();
  }
  world = view = projection = IdentityMatrix();
  material = {};
  lights.clear();
  viewport = {0, 0, width, height, 0.0f, 1.0f};
  scissor = {0, 0, LONG(width), LONG(height)};
  textures.fill(nullptr);
  streams.fill({});
  indices = nullptr;
  declaration = nullptr;
  fvf = 0;
  vertexShader = nullptr;
  vertexConstants.fill(0.0f);
  softwareVertexProcessing = FALSE;
}

void DeviceState::Unbind(IUnknown* resource) {
  for (auto& texture : textures) {
    if (static_cast<IUnknown*>(texture) == resource) texture = nullptr;
  }
  for (auto& stream : streams) {
    if (static_cast<IUnknown*>(stream.buffer) == resource) stream = {};
  }
  if (static_cast<IUnknown*>(indices) == resource) indices = nullptr;
  if (static_cast<IUnknown*>(declaration) == resource) declaration = nullptr;
  if (static_cast<IUnknown*>(vertexShader) == resource) vertexShader = nullptr;
}

D3DMATRIX* DeviceState::Transform(D3DTRANSFORMSTATETYPE state) {
  switch (state) {
    case D3DTS_WORLD: return &world;
    case D3DTS_VIEW: return &view;
    case D3DTS_PROJECTION: return &projection;
    default: break;
  }
  if (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) return &textureMatrix[state - D3DTS_TEXTURE0];
  return nullptr;
}

}  // namespace platform::d3d9

#include "platform/d3d9/StateDevice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace platform::d3d9 {

namespace {

std::string MatrixText(const D3DMATRIX& m) {
  std::string text = "[";
  char number[32];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(number, sizeof number, i ? " %g" : "%g", double(m.m[i / 4][i % 4]));
    text += number;
  }
  return text + "]";
}

template <class T>
HRESULT Hand(T* object, T** out) {
  if (!out) return D3DERR_INVALIDCALL;
  *out = object;
  if (object) object->AddRef();
  return D3D_OK;
}

}  // namespace

StateDevice::~StateDevice() {
  for (auto& [self, tracked] : m_resources) tracked.resource->Link().Cut();
}

void StateDevice::Track(TrackedResource& resource, IUnknown* self, const char* kind) {
  resource.Link().Attach(this, self);
  const int number = ++m_nameCounters[kind];
  m_resources[self] = {&resource, std::string(kind) + std::to_string(number)};
}

void StateDevice::OnResourceDestroyed(IUnknown* resource) {
  OnUntracked(resource);
  m_state.Unbind(resource);
  m_resources.erase(resource);
  m_dirty = kDirtyAll;
}

std::string StateDevice::NameOf(IUnknown* resource) const {
  if (!resource) return "null";
  auto it = m_resources.find(resource);
  return it == m_resources.end() ? "unknown" : it->second.name;
}

void StateDevice::Record(const char* format, ...) {
  if (!m_recording) return;
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  m_calls.emplace_back(line);
}

std::vector<std::string> StateDevice::TakeCalls() {
  std::vector<std::string> calls;
  calls.swap(m_calls);
  return calls;
}

HRESULT StateDevice::SetViewport(const D3DVIEWPORT9* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  Record("SetViewport(%u, %u, %u, %u, %g, %g)", viewport->X, viewport->Y, viewport->Width, viewport->Height,
         double(viewport->MinZ), double(viewport->MaxZ));
  m_state.viewport = *viewport;
  m_dirty |= kDirtyViewport | kDirtyTransforms;  // the half-pixel offset follows the viewport
  return D3D_OK;
}

HRESULT StateDevice::GetViewport(D3DVIEWPORT9* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  *viewport = m_state.viewport;
  return D3D_OK;
}

HRESULT StateDevice::SetScissorRect(const RECT* rect) {
  if (!rect) return D3DERR_INVALIDCALL;
  Record("SetScissorRect(%d, %d, %d, %d)", rect->left, rect->top, rect->right, rect->bottom);
  m_state.scissor = *rect;
  m_dirty |= kDirtyScissor;
  return D3D_OK;
}

HRESULT StateDevice::GetScissorRect(RECT* rect) {
  if (!rect) return D3DERR_INVALIDCALL;
  *rect = m_state.scissor;
  return D3D_OK;
}

HRESULT StateDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  D3DMATRIX* slot = m_state.Transform(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  if (m_recording) Record("SetTransform(%u, %s)", DWORD(state), MatrixText(*matrix).c_str());
  *slot = *matrix;
  m_dirty |= kDirtyTransforms;
  if (state == D3DTS_VIEW) m_dirty |= kDirtyLights;  // lights are given in world space: they follow the view
  return D3D_OK;
}

HRESULT StateDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  D3DMATRIX* slot = m_state.Transform(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  *matrix = *slot;
  return D3D_OK;
}

HRESULT StateDevice::SetMaterial(const D3DMATERIAL9* material) {
  if (!material) return D3DERR_INVALIDCALL;
  Record("SetMaterial(diffuse %g %g %g %g, power %g)", double(material->Diffuse.r), double(material->Diffuse.g),
         double(material->Diffuse.b), double(material->Diffuse.a), double(material->Power));
  m_state.material = *material;
  m_dirty |= kDirtyMaterial;
  return D3D_OK;
}

HRESULT StateDevice::GetMaterial(D3DMATERIAL9* material) {
  if (!material) return D3DERR_INVALIDCALL;
  *material = m_state.material;
  return D3D_OK;
}

HRESULT StateDevice::SetLight(DWORD index, const D3DLIGHT9* light) {
  if (!light || light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL) return D3DERR_INVALIDCALL;
  Record("SetLight(%u, type %u)", index, DWORD(light->Type));
  m_state.lights[index].light = *light;
  m_dirty |= kDirtyLights;
  return D3D_OK;
}

HRESULT StateDevice::GetLight(DWORD index, D3DLIGHT9* light) {
  auto it = m_state.lights.find(index);
  if (!light || it == m_state.lights.end()) return D3DERR_INVALIDCALL;
  *light = it->second.light;
  return D3D_OK;
}

HRESULT StateDevice::LightEnable(DWORD index, BOOL enable) {
  Record("LightEnable(%u, %d)", index, enable);
  auto [it, added] = m_state.lights.try_emplace(index);
  if (added) {
    // A light enabled before it was set is Direct3D's default: white, directional, along +z.
    it->second.light.Type = D3DLIGHT_DIRECTIONAL;
    it->second.light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    it->second.light.Direction = {0.0f, 0.0f, 1.0f};
  }
  it->second.enabled = enable != FALSE;
  m_dirty |= kDirtyLights;
  return D3D_OK;
}

HRESULT StateDevice::GetLightEnable(DWORD index, BOOL* enable) {
  auto it = m_state.lights.find(index);
  if (!enable || it == m_state.lights.end()) return D3DERR_INVALIDCALL;
  *enable = it->second.enabled ? TRUE : FALSE;
  return D3D_OK;
}

HRESULT StateDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= kD3DRenderStateCount) return D3DERR_INVALIDCALL;
  Record("SetRenderState(%u, %u)", DWORD(state), value);
  m_state.render[state] = value;
  m_dirty |= kDirtyRender;
  return D3D_OK;
}

HRESULT StateDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (state >= kD3DRenderStateCount || !value) return D3DERR_INVALIDCALL;
  *value = m_state.render[state];
  return D3D_OK;
}

HRESULT StateDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (stage >= kMaxStages) return D3DERR_INVALIDCALL;
  if (m_recording) Record("SetTexture(%u, %s)", stage, NameOf(texture).c_str());
  m_state.textures[stage] = texture;
  m_dirty |= kDirtyTextures | kDirtyTransforms;  // render-target textures flip v in the texture matrix
  return D3D_OK;
}

HRESULT StateDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
  if (stage >= kMaxStages) return D3DERR_INVALIDCALL;
  return Hand(m_state.textures[stage], texture);
}

HRESULT StateDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= kMaxStages || type >= kD3DTextureStageStateCount) return D3DERR_INVALIDCALL;
  Record("SetTextureStageState(%u, %u, %u)", stage, DWORD(type), value);
  m_state.stage[stage][type] = value;
  m_dirty |= kDirtyStages;
  m_dirtyStageMask |= 1u << stage;
  if (type == D3DTSS_TEXCOORDINDEX) m_dirty |= kDirtyVertexInput;
  if (type == D3DTSS_TEXTURETRANSFORMFLAGS || type == D3DTSS_TEXCOORDINDEX) m_dirty |= kDirtyTransforms;
  return D3D_OK;
}

HRESULT StateDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  if (stage >= kMaxStages || type >= kD3DTextureStageStateCount || !value) return D3DERR_INVALIDCALL;
  *value = m_state.stage[stage][type];
  return D3D_OK;
}

HRESULT StateDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (sampler >= kMaxStages || type >= kD3DSamplerStateCount) return D3DERR_INVALIDCALL;
  Record("SetSamplerState(%u, %u, %u)", sampler, DWORD(type), value);
  m_state.sampler[sampler][type] = value;
  m_dirty |= kDirtySamplers;
  return D3D_OK;
}

HRESULT StateDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (sampler >= kMaxStages || type >= kD3DSamplerStateCount || !value) return D3DERR_INVALIDCALL;
  *value = m_state.sampler[sampler][type];
  return D3D_OK;
}

HRESULT StateDevice::SetSoftwareVertexProcessing(BOOL software) {
  Record("SetSoftwareVertexProcessing(%d)", software);
  m_state.softwareVertexProcessing = software;
  return D3D_OK;
}

BOOL StateDevice::GetSoftwareVertexProcessing() { return m_state.softwareVertexProcessing; }

HRESULT StateDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
  if (m_recording) Record("SetVertexDeclaration(%s)", NameOf(declaration).c_str());
  m_state.declaration = declaration;
  m_state.fvf = 0;
  m_dirty |= kDirtyVertexInput;
  return D3D_OK;
}

HRESULT StateDevice::GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) {
  return Hand(m_state.declaration, declaration);
}

HRESULT StateDevice::SetFVF(DWORD fvf) {
  Record("SetFVF(0x%X)", fvf);
  m_state.fvf = fvf;
  m_state.declaration = nullptr;
  m_dirty |= kDirtyVertexInput;
  return D3D_OK;
}

HRESULT StateDevice::GetFVF(DWORD* fvf) {
  if (!fvf) return D3DERR_INVALIDCALL;
  *fvf = m_state.fvf;
  return D3D_OK;
}

HRESULT StateDevice::SetVertexShader(IDirect3DVertexShader9* shader) {
  if (m_recording) Record("SetVertexShader(%s)", NameOf(shader).c_str());
  m_state.vertexShader = shader;
  m_dirty |= kDirtyVertexShader | kDirtyVertexInput | kDirtyConstants;
  return D3D_OK;
}

HRESULT StateDevice::GetVertexShader(IDirect3DVertexShader9** shader) { return Hand(m_state.vertexShader, shader); }

HRESULT StateDevice::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
  if (!data || start >= kVertexConstants || count > kVertexConstants - start) return D3DERR_INVALIDCALL;
  if (m_recording) {
    std::string values;
    char number[32];
    for (UINT i = 0; i < count * 4; ++i) {
      std::snprintf(number, sizeof number, i ? " %g" : "%g", double(data[i]));
      values += number;
    }
    Record("SetVertexShaderConstantF(%u, [%s], %u)", start, values.c_str(), count);
  }
  std::memcpy(&m_state.vertexConstants[std::size_t(start) * 4], data, sizeof(float) * 4 * count);
  m_dirty |= kDirtyConstants;
  return D3D_OK;
}

HRESULT StateDevice::GetVertexShaderConstantF(UINT start, float* data, UINT count) {
  if (!data || start >= kVertexConstants || count > kVertexConstants - start) return D3DERR_INVALIDCALL;
  std::memcpy(data, &m_state.vertexConstants[std::size_t(start) * 4], sizeof(float) * 4 * count);
  return D3D_OK;
}

HRESULT StateDevice::SetPixelShader(IDirect3DPixelShader9* shader) {
  if (m_recording) Record("SetPixelShader(%s)", NameOf(shader).c_str());
  return shader ? D3DERR_INVALIDCALL : D3D_OK;  // the pixel stage is always fixed-function
}

HRESULT StateDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
  if (stream >= kMaxStreams) return D3DERR_INVALIDCALL;
  if (m_recording) Record("SetStreamSource(%u, %s, %u, %u)", stream, NameOf(buffer).c_str(), offset, stride);
  m_state.streams[stream] = {buffer, offset, stride};
  m_dirty |= kDirtyVertexInput;
  return D3D_OK;
}

HRESULT StateDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) {
  if (stream >= kMaxStreams || !offset || !stride) return D3DERR_INVALIDCALL;
  *offset = m_state.streams[stream].offset;
  *stride = m_state.streams[stream].stride;
  return Hand(m_state.streams[stream].buffer, buffer);
}

HRESULT StateDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
  if (m_recording) Record("SetIndices(%s)", NameOf(buffer).c_str());
  m_state.indices = buffer;
  m_dirty |= kDirtyVertexInput;
  return D3D_OK;
}

HRESULT StateDevice::GetIndices(IDirect3DIndexBuffer9** buffer) { return Hand(m_state.indices, buffer); }

}  // namespace platform::d3d9

#pragma once
// Inside the layer: the part of a device that only keeps state. Both devices derive
// from it: the recording device records every call, the OpenGL device turns the kept
// state into GL state before it draws (the dirty bits say which groups changed).
#include "platform/d3d9/Common.h"
#include "platform/d3d9/DeviceState.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace platform::d3d9 {

/// Groups of state changed since the OpenGL device last applied them.
enum DirtyBit : DWORD {
  kDirtyRender = 1u << 0,
  kDirtyStages = 1u << 1,
  kDirtySamplers = 1u << 2,
  kDirtyTransforms = 1u << 3,
  kDirtyLights = 1u << 4,
  kDirtyMaterial = 1u << 5,
  kDirtyViewport = 1u << 6,
  kDirtyScissor = 1u << 7,
  kDirtyTextures = 1u << 8,
  kDirtyVertexInput = 1u << 9,
  kDirtyVertexShader = 1u << 10,
  kDirtyConstants = 1u << 11,
  kDirtyAll = 0xFFFFFFFFu,
};

class StateDevice : public RefCounted<IDirect3DDevice9>, public ResourceOwner {
 public:
  StateDevice() = default;
  ~StateDevice() override;
  StateDevice(const StateDevice&) = delete;
  StateDevice& operator=(const StateDevice&) = delete;

  HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
  HRESULT SetScissorRect(const RECT* rect) override;
  HRESULT GetScissorRect(RECT* rect) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT SetMaterial(const D3DMATERIAL9* material) override;
  HRESULT GetMaterial(D3DMATERIAL9* material) override;
  HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
  HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
  HRESULT LightEnable(DWORD index, BOOL enable) override;
  HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
  HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
  HRESULT SetSoftwareVertexProcessing(BOOL software) override;
  BOOL GetSoftwareVertexProcessing() override;
  HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
  HRESULT GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) override;
  HRESULT SetFVF(DWORD fvf) override;
  HRESULT GetFVF(DWORD* fvf) override;
  HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
  HRESULT GetVertexShader(IDirect3DVertexShader9** shader) override;
  HRESULT SetVertexShaderConstantF(UINT start, const float* data, UINT count) override;
  HRESULT GetVertexShaderConstantF(UINT start, float* data, UINT count) override;
  HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
  HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) override;
  HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
  HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) override;

  void OnResourceDestroyed(IUnknown* resource) override;

  const DeviceState& State() const { return m_state; }

  /// Calls recorded since the last TakeCalls, one line each ("SetRenderState(7, 1)"),
  /// when recording is on.
  std::vector<std::string> TakeCalls();
  /// Short name of a resource in recorded calls ("vb3", "tex1", "null").
  std::string NameOf(IUnknown* resource) const;

 protected:
  /// Links a new resource to this device and gives it a name for recorded calls.
  void Track(TrackedResource& resource, IUnknown* self, const char* kind);
  /// A tracked resource is going away (the GL device drops its cached bindings).
  virtual void OnUntracked(IUnknown* resource) { (void)resource; }
  [[gnu::format(printf, 2, 3)]] void Record(const char* format, ...);

  DeviceState m_state;
  DWORD m_dirty = kDirtyAll;
  DWORD m_dirtyStageMask = 0xFF;  ///< stages whose texture-stage states changed
  bool m_recording = false;

 private:
  struct Tracked {
    TrackedResource* resource;
    std::string name;
  };
  std::unordered_map<IUnknown*, Tracked> m_resources;
  std::unordered_map<std::string, int> m_nameCounters;
  std::vector<std::string> m_calls;
};

}  // namespace platform::d3d9

#pragma once
// Inside the layer: everything a device holds between calls (states, transforms,
// lights, bindings), starting at Direct3D 9's documented defaults. Both devices keep
// one; the OpenGL device turns it into GL state at one choke point before it draws.
#include "platform/d3d9/Interfaces.h"

#include <array>
#include <map>

namespace platform::d3d9 {

constexpr DWORD kMaxStages = 8;     ///< texture stages and samplers the device offers
constexpr DWORD kMaxStreams = 16;
constexpr DWORD kMaxLights = 8;     ///< lights that can be on at once
constexpr DWORD kVertexConstants = 256;

struct StreamBinding {
  IDirect3DVertexBuffer9* buffer = nullptr;
  UINT offset = 0;
  UINT stride = 0;
};

struct LightSlot {
  D3DLIGHT9 light{};
  bool enabled = false;
};

D3DMATRIX IdentityMatrix();

struct DeviceState {
  std::array<DWORD, kD3DRenderStateCount> render{};
  std::array<std::array<DWORD, kD3DTextureStageStateCount>, kMaxStages> stage{};
  std::array<std::array<DWORD, kD3DSamplerStateCount>, kMaxStages> sampler{};
  D3DMATRIX world{};
  D3DMATRIX view{};
  D3DMATRIX projection{};
  std::array<D3DMATRIX, kMaxStages> textureMatrix{};
  D3DMATERIAL9 material{};
  std::map<DWORD, LightSlot> lights;  ///< any index may be set; at most kMaxLights on
  D3DVIEWPORT9 viewport{};
  RECT scissor{};
  std::array<IDirect3DBaseTexture9*, kMaxStages> textures{};
  std::array<StreamBinding, kMaxStreams> streams{};
  IDirect3DIndexBuffer9* indices = nullptr;
  IDirect3DVertexDeclaration9* declaration = nullptr;
  DWORD fvf = 0;
  IDirect3DVertexShader9* vertexShader = nullptr;
  std::array<float, kVertexConstants * 4> vertexConstants{};
  BOOL softwareVertexProcessing = FALSE;

  /// Direct3D 9's defaults for a target of width x height; the Z-buffer is on when the
  /// device has an automatic depth-stencil buffer. Bindings are cleared.
  void Reset(UINT width, UINT height, bool autoDepthStencil);

  /// Null every binding of a resource that is going away.
  void Unbind(IUnknown* resource);

  /// A matrix slot of SetTransform, or null for an unknown state.
  D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE state);
};

/// Reinterprets a float render-state value (POINTSIZE, FOGSTART, DEPTHBIAS, ...).
float StateFloat(DWORD value);
DWORD FloatState(float value);

}  // namespace platform::d3d9

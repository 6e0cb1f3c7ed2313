#pragma once
// The render states last set on the device, so material binding only calls the device
// for differences. One record for the whole program; N_Render::SetDefaultRenderStates
// resets it after device creation and every reset (leaving the no-shader flag, the
// lightmap and the layer as they are, and forgetting the current shader and the
// streams); N_Render::EndFrame forgets the current shader so the first SetShader of a
// frame always binds. A shader manager forgets its records here when it frees them.
#include "platform/d3d9.h"

#include <array>
#include <cstdint>
#include <optional>

class N_Shader;
class N_VertexBufferBinding;
class N_IndexBuffer;

struct N_RenderStateCache {
  static constexpr int kUnits = 8;

  std::uint32_t alphaFunction = D3DCMP_ALWAYS;  ///< ALWAYS means alpha test off
  std::uint32_t alphaReference = 255;
  std::uint32_t polygonOffset = 0;              ///< 0 off, 4 on
  std::int32_t cull = 1;                        ///< 1 device CCW, -1 device CW, 0 none
  std::uint32_t depthWrite = 1;
  std::uint32_t depthFunction = D3DCMP_LESSEQUAL;
  std::uint32_t sourceBlend = D3DBLEND_ONE;
  std::uint32_t destinationBlend = D3DBLEND_ZERO;
  std::array<std::int32_t, kUnits> boundTexture{-1, -1, -1, -1, -1, -1, -1, -1};  ///< handles, -1 none known
  /// Texture-coordinate generation last applied per unit: 0 base set, 1 environment,
  /// 2 lightmap set; -1 unknown (matches no mode, so the next stage sets it).
  std::array<std::int32_t, kUnits> texCoordMode{};
  std::array<float, kUnits> mipLodBias{};
  /// Texture-transform flags material binding last set per unit (0 off, 2 COUNT2), so a
  /// stage without modifiers switches the transform off only once.
  std::array<std::uint32_t, kUnits> textureTransform{};
  /// Lighting (0 off, 1 on) as last set by the renderer: every operation that sets it
  /// keeps this in step.
  std::uint32_t lighting = 0;
  N_Shader* currentShader = nullptr;
  std::uint32_t noShader = 0;
  std::int32_t currentLightmap = 0;  ///< texture handle
  std::int32_t currentLayer = 0;
  IDirect3DDevice9* device = nullptr;
  /// The stream binding and index buffer the device draws from, as DrawSurface bound
  /// them; unknown (nullopt) after a reset and after any other draw that changed the
  /// streams or the indices (ForgetStreams), so DrawSurface never draws from stale ones.
  std::optional<N_VertexBufferBinding*> streamBinding;
  std::optional<N_IndexBuffer*> indexBuffer;

  /// The values after the default device states: every field but the no-shader flag,
  /// the lightmap and the layer, which stay as they are. The current shader is
  /// forgotten: after a new device or a replaced shader manager it may be gone.
  void Reset(IDirect3DDevice9* newDevice);
  /// The shader is being freed: when it is the current one, no shader is current, so
  /// the next SetShader binds whatever it is given (even a new shader at that address).
  void ForgetShader(const N_Shader* shader);
  /// Another draw set streams or indices of its own (or an UP draw left them unset).
  void ForgetStreams() {
    streamBinding.reset();
    indexBuffer.reset();
  }
};

extern N_RenderStateCache g_renderStateCache;

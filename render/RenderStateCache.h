#pragma once
// The render states last set on the device, so material binding only calls the device
// for differences. One record for the whole program; N_Render::SetDefaultRenderStates
// resets it after device creation and every reset (leaving the current shader, the
// no-shader flag, the lightmap and the layer as they are); N_Render::EndFrame forgets
// the current shader so the first SetShader of a frame always binds.
#include "platform/d3d9.h"

#include <array>
#include <cstdint>

class N_Shader;

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
  N_Shader* currentShader = nullptr;
  std::uint32_t noShader = 0;
  std::int32_t currentLightmap = 0;  ///< texture handle
  std::int32_t currentLayer = 0;
  IDirect3DDevice9* device = nullptr;

  /// The values after the default device states: every field but the current shader,
  /// the no-shader flag, the lightmap and the layer, which stay as they are.
  void Reset(IDirect3DDevice9* newDevice);
  /// The shader is being freed: when it is the current one, no shader is current, so
  /// the next SetShader binds whatever it is given (even a new shader at that address).
  void ForgetShader(const N_Shader* shader);
};

extern N_RenderStateCache g_renderStateCache;

#pragma once
// The render states last given to the device, mirrored so that material binding calls
// the device only when a wanted value differs. One record for the whole program: the
// renderer's set-up (SetDefaultRenderStates) resets it after device creation and after
// every reset; every renderer operation that changes a mirrored state keeps it in step.
// Nothing outside the renderer writes it, except that the shader manager tells it when
// a shader is freed (ForgetShader).
#include "platform/d3d9.h"

#include <array>
#include <cstdint>

class N_Shader;

struct N_RenderStateCache {
  static constexpr int kUnits = 8;  ///< units tracked: the most a device offers

  DWORD alphaFunc = D3DCMP_ALWAYS;   ///< ALWAYS means the alpha test is off
  DWORD alphaRef = 255;
  DWORD polygonOffset = 0;           ///< 0 off, 4 on (the shader flag value)
  std::int32_t cull = 1;             ///< 1 device CCW, -1 device CW, 0 none
  DWORD depthWrite = 1;
  DWORD depthFunc = D3DCMP_LESSEQUAL;
  DWORD srcBlend = D3DBLEND_ONE;     ///< (ONE, ZERO) means blending is off
  DWORD dstBlend = D3DBLEND_ZERO;
  /// Texture handle bound per unit (platform::TextureHandleOf); -1 = none known.
  std::array<std::int32_t, kUnits> boundTexture{};
  /// Texture-coordinate generation last applied per unit: 0 base set, 1 environment,
  /// 2 lightmap set; -1 = unknown (matches no mode, so the next stage sets it).
  std::array<std::int32_t, kUnits> texCoordMode{};
  std::array<float, kUnits> mipLodBias{};

  /// Shader bound by SetShader; null at program start and after every frame's end.
  N_Shader* currentShader = nullptr;
  DWORD noShader = 0;                ///< set when SetShader was given no shader
  std::int32_t currentLightmap = 0;  ///< texture handle of the last SetShader
  std::int32_t currentLayer = 0;     ///< stage being drawn by DrawSurface
  IDirect3DDevice9* device = nullptr;

  /// The values after the default device states: every field but the current shader,
  /// the no-shader flag, the lightmap and the layer, which stay as they are.
  void Reset(IDirect3DDevice9* newDevice);
  /// The shader is being freed: when it is the current one, no shader is current, so
  /// the next SetShader binds whatever it is given (even a new shader at that address).
  void ForgetShader(const N_Shader* shader);
};

/// The one cache of the program.
extern N_RenderStateCache g_renderStateCache;

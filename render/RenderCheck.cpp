// N_Render: the two diagnostics of the render-state cache. DumpRenderState prints the
// device's states beside the cached ones; CheckRenderState logs every difference.
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"

#include <cstdint>

namespace {

constexpr const char* kRule = "--------------------------------------------\n";

DWORD RenderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
  DWORD value = 0;
  device->GetRenderState(state, &value);
  return value;
}

DWORD StageState(IDirect3DDevice9* device, DWORD unit, D3DTEXTURESTAGESTATETYPE type) {
  DWORD value = 0;
  device->GetTextureStageState(unit, type, &value);
  return value;
}

/// The handle of the texture bound on a unit (0 for none).
std::int32_t BoundTexture(IDirect3DDevice9* device, DWORD unit) {
  IDirect3DBaseTexture9* texture = nullptr;
  device->GetTexture(unit, &texture);
  const std::int32_t handle = platform::TextureHandleOf(texture);
  if (texture != nullptr) texture->Release();
  return handle;
}

void DumpMatrix(IDirect3DDevice9* device, D3DTRANSFORMSTATETYPE state) {
  D3DMATRIX m{};
  device->GetTransform(state, &m);
  for (int row = 0; row < 4; ++row) {
    RenderPrint("  %05.02f %05.02f %05.02f %05.02f\n", m.m[row][0], m.m[row][1], m.m[row][2], m.m[row][3]);
  }
}

void* HandleAsPointer(std::int32_t handle) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(handle)); }

void DumpTextureUnits(IDirect3DDevice9* device, DWORD unitCount) {
  static constexpr struct {
    const char* format;
    D3DTEXTURESTAGESTATETYPE type;
  } kStageLines[] = {
      {"  ColorOp[%d]: %d\n", D3DTSS_COLOROP},           {"  ColorArg1[%d]: %d\n", D3DTSS_COLORARG1},
      {"  ColorArg2[%d]: %d\n", D3DTSS_COLORARG2},       {"  AlphaOp[%d]: %d\n", D3DTSS_ALPHAOP},
      {"  AlphaArg1[%d]: %d\n", D3DTSS_ALPHAARG1},       {"  AlphaArg2[%d]: %d\n", D3DTSS_ALPHAARG2},
      {"  TexCoordIdx[%d]: %d\n", D3DTSS_TEXCOORDINDEX}, {"  Transforms[%d]: %d\n", D3DTSS_TEXTURETRANSFORMFLAGS},
  };
  RenderPrint("Texture units:\n");
  for (DWORD unit = 0; unit < unitCount; ++unit) {
    for (const auto& line : kStageLines) {
      RenderPrint(line.format, static_cast<int>(unit), static_cast<int>(StageState(device, unit, line.type)));
    }
    // Both as texture handles, so the two can be compared.
    RenderPrint("  Texture[%d]: %p (%p)\n", static_cast<int>(unit), HandleAsPointer(BoundTexture(device, unit)),
                HandleAsPointer(g_renderStateCache.boundTexture[unit]));
  }
}

/// The context line after every reported difference.
void LogShaderLine() {
  const N_RenderStateCache& cache = g_renderStateCache;
  RenderPrint("    Shader: %p, layer %d\n", static_cast<const void*>(cache.currentShader), cache.currentLayer);
}

void CheckBlendAndAlphaTest(IDirect3DDevice9* device) {
  const N_RenderStateCache& cache = g_renderStateCache;
  const DWORD blendOn = RenderState(device, D3DRS_ALPHABLENDENABLE);
  if (cache.sourceBlend == D3DBLEND_ONE && cache.destinationBlend == D3DBLEND_ZERO) {
    if (blendOn != FALSE) {
      RenderPrint("!!! Bad alpha blend enable state: %d (%d, %d)\n", static_cast<int>(blendOn),
                  static_cast<int>(cache.sourceBlend), static_cast<int>(cache.destinationBlend));
      LogShaderLine();
    }
  } else {
    const DWORD src = RenderState(device, D3DRS_SRCBLEND);
    const DWORD dst = RenderState(device, D3DRS_DESTBLEND);
    if (src != cache.sourceBlend || dst != cache.destinationBlend) {
      RenderPrint("!!! Bad alpha blend state: %d, %d (%d, %d)\n", static_cast<int>(src), static_cast<int>(dst),
                  static_cast<int>(cache.sourceBlend), static_cast<int>(cache.destinationBlend));
      LogShaderLine();
    }
  }

  const DWORD testOn = RenderState(device, D3DRS_ALPHATESTENABLE);
  if (cache.alphaFunction == D3DCMP_ALWAYS) {
    if (testOn != FALSE) {
      RenderPrint("!!! Bad alpha test enable state: %d (%d)\n", static_cast<int>(testOn),
                  static_cast<int>(cache.alphaFunction));
      LogShaderLine();
    }
  } else {
    const DWORD func = RenderState(device, D3DRS_ALPHAFUNC);
    const DWORD ref = RenderState(device, D3DRS_ALPHAREF);
    if (func != cache.alphaFunction || ref != cache.alphaReference) {
      RenderPrint("!!! Bad alpha test state: %d, %d (%d, %d)\n", static_cast<int>(func), static_cast<int>(ref),
                  static_cast<int>(cache.alphaFunction), static_cast<int>(cache.alphaReference));
      LogShaderLine();
    }
  }
}

// A unit must be disabled exactly when no texture is known to be bound on it; when
// that holds, the bound texture must be the cached one (none matches -1).
void CheckTextureUnits(IDirect3DDevice9* device, DWORD unitCount) {
  const N_RenderStateCache& cache = g_renderStateCache;
  for (DWORD unit = 0; unit < unitCount; ++unit) {
    const DWORD colourOp = StageState(device, unit, D3DTSS_COLOROP);
    const std::int32_t cached = cache.boundTexture[unit];
    const bool disabled = colourOp == D3DTOP_DISABLE;
    if ((disabled && cached > 0) || (!disabled && cached == -1)) {
      RenderPrint("!!! Bad textureOp[%d] state: %d (%d)\n", static_cast<int>(unit), static_cast<int>(colourOp), cached);
      LogShaderLine();
      continue;
    }
    const std::int32_t bound = BoundTexture(device, unit);
    const bool matches = bound == cached || (bound == 0 && cached == -1);
    if (!matches) {
      RenderPrint("!!! Bad texture[%d] bind state: %d (%d)\n", static_cast<int>(unit), bound, cached);
      LogShaderLine();
    }
  }
}

}  // namespace

void N_Render::DumpRenderState() {
  const N_RenderStateCache& cache = g_renderStateCache;
  IDirect3DDevice9* d = m_device;
  RenderPrint("%s", kRule);
  const DWORD cull = RenderState(d, D3DRS_CULLMODE);
  RenderPrint("Cull:\n");
  RenderPrint("  Enabled: %d (%d)\n", cull != D3DCULL_NONE, cache.cull != 0);
  if (cull != D3DCULL_NONE) {
    RenderPrint("  Mode: %s (%s)\n", cull == D3DCULL_CCW ? "Front" : "Back", cache.cull == 1 ? "Front" : "Back");
  }
  RenderPrint("Depth test:\n");
  RenderPrint("  Enabled: %d\n", static_cast<int>(RenderState(d, D3DRS_ZENABLE)));
  RenderPrint("  Func: %d (%d)\n", static_cast<int>(RenderState(d, D3DRS_ZFUNC)),
              static_cast<int>(cache.depthFunction));
  RenderPrint("  Write: %d (%d)\n", static_cast<int>(RenderState(d, D3DRS_ZWRITEENABLE)),
              static_cast<int>(cache.depthWrite));
  RenderPrint("Polygon offset:\n");
  RenderPrint(" Enabled: (%d)\n", static_cast<int>(cache.polygonOffset));
  RenderPrint("  Slope: %d\n", static_cast<int>(RenderState(d, D3DRS_SLOPESCALEDEPTHBIAS)));
  RenderPrint("  Bias: %d\n", static_cast<int>(RenderState(d, D3DRS_DEPTHBIAS)));
  RenderPrint("Alpha blend:\n");
  RenderPrint("  Enabled: %d\n", static_cast<int>(RenderState(d, D3DRS_ALPHABLENDENABLE)));
  RenderPrint("  Src blend: %d (%d)\n", static_cast<int>(RenderState(d, D3DRS_SRCBLEND)),
              static_cast<int>(cache.sourceBlend));
  RenderPrint("  Dst blend: %d (%d)\n", static_cast<int>(RenderState(d, D3DRS_DESTBLEND)),
              static_cast<int>(cache.destinationBlend));
  RenderPrint("Alpha test:\n");
  RenderPrint("  Enabled: %d\n", static_cast<int>(RenderState(d, D3DRS_ALPHATESTENABLE)));
  RenderPrint("  Func: %d (%d)\n", static_cast<int>(RenderState(d, D3DRS_ALPHAFUNC)),
              static_cast<int>(cache.alphaFunction));
  RenderPrint("  Ref: %d (%d)\n", static_cast<int>(RenderState(d, D3DRS_ALPHAREF)),
              static_cast<int>(cache.alphaReference));
  DumpTextureUnits(d, TextureUnitCount());
  RenderPrint("World matrix:\n");
  DumpMatrix(d, D3DTS_WORLD);
  RenderPrint("View matrix:\n");
  DumpMatrix(d, D3DTS_VIEW);
  RenderPrint("Projection matrix:\n");
  DumpMatrix(d, D3DTS_PROJECTION);
  for (DWORD unit = 0; unit < TextureUnitCount(); ++unit) {
    RenderPrint("Texture[%d] matrix:\n", static_cast<int>(unit));
    DumpMatrix(d, static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + unit));
  }
  RenderPrint("%s", kRule);
}

void N_Render::CheckRenderState() {
  const N_RenderStateCache& cache = g_renderStateCache;
  IDirect3DDevice9* d = m_device;

  const DWORD cull = RenderState(d, D3DRS_CULLMODE);
  const bool cullBad = (cull == D3DCULL_NONE && cache.cull != 0) || (cull == D3DCULL_CCW && cache.cull != 1) ||
                       (cull == D3DCULL_CW && cache.cull != -1);
  if (cullBad) {
    RenderPrint("!!! Bad cull state: %d (%d)\n", static_cast<int>(cull), cache.cull);
    LogShaderLine();
  }

  const DWORD depthFunction = RenderState(d, D3DRS_ZFUNC);
  if (depthFunction != cache.depthFunction) {
    RenderPrint("!!! Bad depth func state: %d (%d)\n", static_cast<int>(depthFunction),
                static_cast<int>(cache.depthFunction));
    LogShaderLine();
  }
  const DWORD depthWrite = RenderState(d, D3DRS_ZWRITEENABLE);
  if (depthWrite != cache.depthWrite) {
    RenderPrint("!!! Bad depth write state: %d (%d)\n", static_cast<int>(depthWrite),
                static_cast<int>(cache.depthWrite));
    LogShaderLine();
  }

  const DWORD slope = RenderState(d, D3DRS_SLOPESCALEDEPTHBIAS);
  const DWORD bias = RenderState(d, D3DRS_DEPTHBIAS);
  const bool biased = slope != 0 || bias != 0;
  if (biased != (cache.polygonOffset != 0)) {
    RenderPrint("!!! Bad poly offset state: %d, %d (%d)\n", static_cast<int>(slope), static_cast<int>(bias),
                static_cast<int>(cache.polygonOffset));
    LogShaderLine();
  }

  CheckBlendAndAlphaTest(d);
  CheckTextureUnits(d, TextureUnitCount());
}

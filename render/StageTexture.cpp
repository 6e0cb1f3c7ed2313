#include "render/StageTexture.h"

#include "core/ErrorLog.h"
#include "render/FloatBits.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/ShaderStage.h"
#include "render/TexInfo.h"
#include "render/Wave.h"


namespace {

void SwitchUnitOff(IDirect3DDevice9* device, DWORD unit) {
  device->SetTextureStageState(unit, D3DTSS_COLOROP, D3DTOP_DISABLE);
  device->SetTextureStageState(unit, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  device->SetTexture(unit, nullptr);
}

/// The handle the stage binds; false for a stage without textures.
bool StageHandle(const N_ShaderStage& stage, std::int32_t& handle) {
  if (stage.flags & StageFlag::kLightmap) {
    handle = g_renderStateCache.currentLightmap;
    return true;
  }
  if (stage.TextureCount() == 0) return false;
  const int frame = stage.TextureCount() > 1 ? stage.GetFrame(RenderTime()) : 0;
  const TexInfo* texture = stage.textures[std::size_t(frame)];
  handle = texture ? texture->texture : 0;  // a null entry binds nothing
  return true;
}

}  // namespace

void BindStageTexture(const N_ShaderStage* stage, std::uint32_t unit) {
  N_RenderStateCache& cache = g_renderStateCache;
  IDirect3DDevice9* device = cache.device;
  if (!stage || !device || unit >= N_RenderStateCache::kUnits) return;
  std::int32_t handle = 0;
  if (!StageHandle(*stage, handle)) {
    if (g_renderServices && g_renderServices->errorLog) {
      g_renderServices->errorLog->Report(12, "Zero textures in layer!\n");
    }
    SwitchUnitOff(device, unit);
    cache.boundTexture[unit] = 0;
    return;
  }
  if (handle == cache.boundTexture[unit]) return;
  cache.boundTexture[unit] = handle;
  if (handle <= 0) {
    SwitchUnitOff(device, unit);
    return;
  }
  device->SetTexture(unit, platform::TextureFromHandle(handle));
  device->SetTextureStageState(unit, D3DTSS_COLOROP, stage->colorOp);
  device->SetTextureStageState(unit, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  const DWORD address = (stage->flags & StageFlag::kClamp) ? D3DTADDRESS_CLAMP : D3DTADDRESS_WRAP;
  device->SetSamplerState(unit, D3DSAMP_ADDRESSU, address);
  device->SetSamplerState(unit, D3DSAMP_ADDRESSV, address);
  if (stage->mipmapBias != cache.mipLodBias[unit]) {
    device->SetSamplerState(unit, D3DSAMP_MIPMAPLODBIAS, FloatBits(stage->mipmapBias));
    cache.mipLodBias[unit] = stage->mipmapBias;
  }
}

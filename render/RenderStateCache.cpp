#include "render/RenderStateCache.h"

N_RenderStateCache g_renderStateCache;

void N_RenderStateCache::Reset(IDirect3DDevice9* newDevice) {
  device = newDevice;
  alphaFunction = D3DCMP_ALWAYS;
  alphaReference = 255;
  polygonOffset = 0;
  cull = 1;
  depthWrite = 1;
  depthFunction = D3DCMP_LESSEQUAL;
  sourceBlend = D3DBLEND_ONE;
  destinationBlend = D3DBLEND_ZERO;
  boundTexture.fill(-1);
  mipLodBias.fill(0.0f);
  textureTransform.fill(D3DTTFF_DISABLE);
  lighting = FALSE;
  currentShader = nullptr;
  ForgetStreams();
  // The device's default coordinate set of unit n is n: unit 0 reads the base set (mode
  // 0) and unit 1 the lightmap set (mode 2); sets 2-7 match no mode.
  texCoordMode.fill(-1);
  texCoordMode[0] = 0;
  texCoordMode[1] = 2;
}

void N_RenderStateCache::ForgetShader(const N_Shader* shader) {
  if (shader != nullptr && currentShader == shader) currentShader = nullptr;
}

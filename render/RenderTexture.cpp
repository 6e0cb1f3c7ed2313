// N_Render::CreateTexture and ReleaseTexture: device textures for the texture manager.
#include "platform/d3dx9.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/TexInfo.h"
#include "render/TextureCreation.h"

namespace {

/// The created texture's level-0 description.
struct Level0 {
  UINT width = 0, height = 0, depth = 1;
  D3DFORMAT format = D3DFMT_UNKNOWN;
};

/// Creates the texture of the record's kind; null when the file is of another kind,
/// the kind is unknown or the loader fails.
IDirect3DBaseTexture9* CreateOfKind(IDirect3DDevice9* device, const char* path, std::uint32_t kind,
                                    const D3DXIMAGE_INFO& info, const TexturePlan& plan, Level0& level0) {
  constexpr DWORD kFilter = D3DX_DEFAULT;
  if (kind == 0 && info.ResourceType == D3DRTYPE_TEXTURE) {
    IDirect3DTexture9* t = nullptr;
    if (FAILED(D3DXCreateTextureFromFileExA(device, path, plan.width, plan.height, plan.mipLevels, 0, plan.format,
                                            D3DPOOL_MANAGED, kFilter, kFilter, 0, nullptr, nullptr, &t)))
      return nullptr;
    D3DSURFACE_DESC desc{};
    t->GetLevelDesc(0, &desc);
    level0 = {desc.Width, desc.Height, 1, desc.Format};
    return t;
  }
  if (kind == 1 && info.ResourceType == D3DRTYPE_CUBETEXTURE) {
    IDirect3DCubeTexture9* t = nullptr;
    if (FAILED(D3DXCreateCubeTextureFromFileExA(device, path, plan.width, plan.mipLevels, 0, plan.format,
                                                D3DPOOL_MANAGED, kFilter, kFilter, 0, nullptr, nullptr, &t)))
      return nullptr;
    D3DSURFACE_DESC desc{};
    t->GetLevelDesc(0, &desc);
    level0 = {desc.Width, desc.Height, 1, desc.Format};
    return t;
  }
  if (kind == 2 && info.ResourceType == D3DRTYPE_VOLUMETEXTURE) {
    IDirect3DVolumeTexture9* t = nullptr;
    if (FAILED(D3DXCreateVolumeTextureFromFileExA(device, path, plan.width, plan.height, plan.depth, plan.mipLevels,
                                                  0, plan.format, D3DPOOL_MANAGED, kFilter, kFilter, 0, nullptr,
                                                  nullptr, &t)))
      return nullptr;
    D3DVOLUME_DESC desc{};
    t->GetLevelDesc(0, &desc);
    level0 = {desc.Width, desc.Height, desc.Depth, desc.Format};
    return t;
  }
  return nullptr;
}

}  // namespace

std::uint32_t N_Render::CreateTexture(const char* path, TexInfo* record, std::uint32_t parameter) {
  if (!record) return 0;
  record->texture = 0;
  D3DXIMAGE_INFO info{};
  if (!m_device || !path || FAILED(D3DXGetImageInfoFromFileA(path, &info))) return 0;

  TextureQuality quality;
  quality.picmip = RenderVarInt("r_picmip");
  quality.textureBits = RenderVarInt("r_textureBits");
  quality.textureCompression = RenderVarInt("r_textureCompression");
  quality.deviceCompression = m_textureCompression;
  quality.maxTextureWidth = m_caps.MaxTextureWidth;
  quality.maxTextureHeight = m_caps.MaxTextureHeight;
  quality.maxVolumeExtent = m_caps.MaxVolumeExtent;
  const TexturePlan plan =
      PlanTexture(info.Width, info.Height, info.Depth, info.MipLevels, info.Format, record->kind, parameter, quality);

  Level0 level0;
  IDirect3DBaseTexture9* texture = CreateOfKind(m_device, path, record->kind, info, plan, level0);
  if (!texture) return 0;
  record->width = level0.width;
  record->height = level0.height;
  record->bytesPerPixel = TextureBytesPerPixel(level0.format);
  const std::uint32_t level0Bytes =
      TextureLevel0Bytes(level0.format, record->kind, level0.width, level0.height, level0.depth);
  texture->PreLoad();
  const std::uint32_t total = TextureMemoryBytes(level0Bytes, plan.mipLevels);
  record->memory = total;
  m_textureMemory += total;
  record->texture = platform::TextureHandleOf(texture);
  m_textureRegistry[record->texture] = path;
  return total;
}

void N_Render::ReleaseTexture(TexInfo* record) {
  if (!record) return;
  IDirect3DBaseTexture9* texture = platform::TextureFromHandle(record->texture);
  if (!texture) return;
  m_textureRegistry.erase(record->texture);
  m_textureMemory -= record->memory;
  // The layer hands this handle to the next texture it makes, while the device keeps no
  // texture on the units it was bound to: the cache must not take the new one as bound.
  for (std::int32_t& bound : g_renderStateCache.boundTexture) {
    if (bound == record->texture) bound = -1;
  }
  texture->Release();
}

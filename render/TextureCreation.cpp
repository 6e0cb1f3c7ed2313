#include "render/TextureCreation.h"

#include "platform/d3dx9.h"

#include <algorithm>

namespace {

bool IsDxt(D3DFORMAT f) {
  return f == D3DFMT_DXT1 || f == D3DFMT_DXT2 || f == D3DFMT_DXT3 || f == D3DFMT_DXT4 || f == D3DFMT_DXT5;
}

UINT Reduce(UINT size, DWORD limit, int picmip) {
  const UINT limited = limit > 0 ? std::min<UINT>(size, limit) : size;
  // Never 0: the loader would read 0 as "the file's size".
  return std::max<UINT>(1, limited >> picmip);
}

}  // namespace

int TexturePicmip(std::uint32_t parameter, int picmipSetting) {
  if (parameter & 0x2) return 0;
  return std::clamp(picmipSetting, 0, 31);
}

UINT TextureMipLevels(std::uint32_t parameter, UINT fileLevels) {
  if (parameter & 0x1) return 1;
  return fileLevels > 1 ? fileLevels : D3DX_DEFAULT;
}

D3DFORMAT TextureTargetFormat(D3DFORMAT file, const TextureQuality& q) {
  D3DFORMAT f = file;
  const bool bits16 = q.textureBits == 16;
  if (!q.deviceCompression) {
    if (f == D3DFMT_DXT1 || f == D3DFMT_DXT2 || f == D3DFMT_DXT3) f = bits16 ? D3DFMT_R5G6B5 : D3DFMT_R8G8B8;
    else if (f == D3DFMT_DXT4 || f == D3DFMT_DXT5) f = bits16 ? D3DFMT_A4R4G4B4 : D3DFMT_A8R8G8B8;
  }
  if (q.textureCompression != 0 && q.deviceCompression) {
    if (f == D3DFMT_R5G6B5 || f == D3DFMT_X4R4G4B4 || f == D3DFMT_R8G8B8 || f == D3DFMT_X8R8G8B8) return D3DFMT_DXT1;
    if (f == D3DFMT_A4R4G4B4 || f == D3DFMT_A8R8G8B8) return D3DFMT_DXT5;
    return f;
  }
  if (bits16) {
    if (f == D3DFMT_R8G8B8) return D3DFMT_R5G6B5;
    if (f == D3DFMT_A8R8G8B8) return D3DFMT_A4R4G4B4;
    if (f == D3DFMT_X8R8G8B8) return D3DFMT_X4R4G4B4;
  }
  return f;
}

TexturePlan PlanTexture(UINT fileWidth, UINT fileHeight, UINT fileDepth, UINT fileLevels, D3DFORMAT fileFormat,
                        std::uint32_t kind, std::uint32_t parameter, const TextureQuality& q) {
  const int picmip = TexturePicmip(parameter, q.picmip);
  TexturePlan plan;
  plan.mipLevels = TextureMipLevels(parameter, fileLevels);
  plan.format = TextureTargetFormat(fileFormat, q);
  switch (kind) {
    case 0:
      plan.width = Reduce(fileWidth, q.maxTextureWidth, picmip);
      plan.height = Reduce(fileHeight, q.maxTextureHeight, picmip);
      break;
    case 1:
      plan.width = plan.height = Reduce(fileWidth, q.maxTextureWidth, picmip);
      break;
    default:
      plan.width = Reduce(fileWidth, q.maxVolumeExtent, picmip);
      plan.height = Reduce(fileHeight, q.maxVolumeExtent, picmip);
      plan.depth = Reduce(fileDepth, q.maxVolumeExtent, picmip);
      break;
  }
  return plan;
}

std::uint32_t TextureBytesPerPixel(D3DFORMAT format) {
  if (format == D3DFMT_R8G8B8) return 3;
  if (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) return 4;
  return 2;
}

std::uint32_t TextureLevel0Bytes(D3DFORMAT format, std::uint32_t kind, UINT width, UINT height, UINT depth) {
  std::uint32_t bytes;
  if (IsDxt(format)) {
    bytes = std::max<UINT>(1, width / 4) * std::max<UINT>(1, height / 4) * (format == D3DFMT_DXT1 ? 8 : 16);
  } else {
    bytes = TextureBytesPerPixel(format) * width * height;
  }
  if (kind == 1) return bytes * 6;
  if (kind == 2) return bytes * depth;
  return bytes;
}

std::uint32_t TextureMemoryBytes(std::uint32_t level0Bytes, UINT chosenLevels) {
  std::uint32_t total = level0Bytes;
  if (chosenLevels == D3DX_DEFAULT) return total;  // a generated chain adds nothing
  for (UINT i = 1; i < chosenLevels; ++i) total += level0Bytes / (4 * i);
  return total;
}

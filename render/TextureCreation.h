#pragma once
// The decisions N_Render::CreateTexture makes before and after it loads a texture:
// the target format from the texture-quality settings, the mip levels, the sizes
// within the device's limits reduced by the picmip, and the bytes the texture is
// counted with in the memory statistics.
#include "platform/d3d9.h"

#include <cstdint>

/// The texture-quality variables and the device facts the decisions read.
struct TextureQuality {
  int picmip = 0;                 ///< "r_picmip"
  int textureBits = 32;           ///< "r_textureBits"
  int textureCompression = 0;     ///< "r_textureCompression"
  bool deviceCompression = false; ///< the device takes DXT textures
  DWORD maxTextureWidth = 0, maxTextureHeight = 0, maxVolumeExtent = 0;
};

/// What to create from a file: sizes (depth 1 but for volumes), levels, format.
struct TexturePlan {
  UINT width = 0, height = 0, depth = 1;
  UINT mipLevels = 0;  ///< 1, the file's count, or D3DX_DEFAULT for a generated chain
  D3DFORMAT format = D3DFMT_UNKNOWN;
};

/// The picmip that applies: 0 when the parameter says "no picmip" (bit 1), else the
/// setting (a negative setting counts as 0, a huge one as 31).
int TexturePicmip(std::uint32_t parameter, int picmipSetting);

/// 1 when the parameter asks for one level (bit 0); else the file's count when it
/// has more than one; else a full chain made by the loader (D3DX_DEFAULT).
UINT TextureMipLevels(std::uint32_t parameter, UINT fileLevels);

/// The format a file's texture is created in.
D3DFORMAT TextureTargetFormat(D3DFORMAT fileFormat, const TextureQuality& quality);

/// The plan for a file of the given kind (0 two-dimensional, 1 cube, 2 volume).
TexturePlan PlanTexture(UINT fileWidth, UINT fileHeight, UINT fileDepth, UINT fileLevels, D3DFORMAT fileFormat,
                        std::uint32_t kind, std::uint32_t parameter, const TextureQuality& quality);

/// Bytes per pixel as the texture records give them: 3, 4, or 2 for everything else.
std::uint32_t TextureBytesPerPixel(D3DFORMAT format);

/// Bytes of level 0: for DXT1-DXT5 max(1, w/4) x max(1, h/4) x (8 or 16); otherwise
/// bytes per pixel x w x h. Cube textures count it six times, volumes depth times.
std::uint32_t TextureLevel0Bytes(D3DFORMAT format, std::uint32_t kind, UINT width, UINT height, UINT depth);

/// The bytes counted for a texture: level 0, plus level 0 / (4 x i) for each level i
/// from 1 when more than one level was asked for (a generated chain adds nothing).
std::uint32_t TextureMemoryBytes(std::uint32_t level0Bytes, UINT chosenLevels);

#pragma once
// D3DX texture loading over our own DDS reader: image information, two-dimensional,
// cube and volume textures from DDS files, and a surface filled from a DDS resource
// of the program. Only DDS files are read; sizes, level counts and formats may differ
// from the file's (levels are converted, resampled and generated as needed).
//
// Files are engine paths (backslashes, any letter case), resolved by the file layer.
// A refused file is reported on the debugger output with its reason and answered
// with D3DXERR_INVALIDDATA; a missing one with D3DXERR_INVALIDDATA as well.
#include "platform/d3d9.h"

#include <cstdint>

using LPCSTR = const char*;
using HMODULE = HINSTANCE;

/// A resource named by number, as the program's resources are.
inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id)); }

struct PALETTEENTRY {
  BYTE peRed, peGreen, peBlue, peFlags;
};

/// "Take it from the file" for sizes, levels (a full chain) and formats.
constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;
constexpr D3DFORMAT D3DFMT_FROM_FILE = static_cast<D3DFORMAT>(0xFFFFFFFDu);

/// Filters: every resampling here is an area average, whatever is asked.
constexpr DWORD D3DX_FILTER_NONE = 1;
constexpr DWORD D3DX_FILTER_POINT = 2;
constexpr DWORD D3DX_FILTER_LINEAR = 3;
constexpr DWORD D3DX_FILTER_TRIANGLE = 4;
constexpr DWORD D3DX_FILTER_BOX = 5;

enum D3DXIMAGE_FILEFORMAT : DWORD { D3DXIFF_BMP = 0, D3DXIFF_JPG = 1, D3DXIFF_TGA = 2, D3DXIFF_PNG = 3,
                                    D3DXIFF_DDS = 4 };

struct D3DXIMAGE_INFO {
  UINT Width;
  UINT Height;
  UINT Depth;
  UINT MipLevels;
  D3DFORMAT Format;
  D3DRESOURCETYPE ResourceType;  ///< D3DRTYPE_TEXTURE, D3DRTYPE_CUBETEXTURE or D3DRTYPE_VOLUMETEXTURE
  D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

constexpr HRESULT D3DXERR_INVALIDDATA = MakeD3DHResult(2905);

HRESULT D3DXGetImageInfoFromFileA(LPCSTR file, D3DXIMAGE_INFO* info);
HRESULT D3DXGetImageInfoFromFileInMemory(const void* data, UINT size, D3DXIMAGE_INFO* info);
/// Module null or any value: the program's own resources (RCDATA by number).
HRESULT D3DXGetImageInfoFromResourceA(HMODULE module, LPCSTR resource, D3DXIMAGE_INFO* info);

/// Width, height, depth and size: 0 or D3DX_DEFAULT take the file's. Levels: 0 or
/// D3DX_DEFAULT make a full chain; more than a full chain are cut to one. Format:
/// D3DFMT_UNKNOWN or D3DFMT_FROM_FILE take the file's. The file must hold the kind
/// of texture asked for. Colour keys and palettes are not supported (ignored).
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT width, UINT height, UINT mipLevels,
                                     DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                     D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                     IDirect3DTexture9** texture);
HRESULT D3DXCreateCubeTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT size, UINT mipLevels,
                                         DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                         D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                         IDirect3DCubeTexture9** texture);
HRESULT D3DXCreateVolumeTextureFromFileExA(IDirect3DDevice9* device, LPCSTR file, UINT width, UINT height,
                                           UINT depth, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                           D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                           IDirect3DVolumeTexture9** texture);

/// Fills the surface (or its destination rectangle) with the top level of a DDS
/// resource of the program (or its source rectangle), resampled when the sizes differ.
HRESULT D3DXLoadSurfaceFromResourceA(IDirect3DSurface9* dest, const PALETTEENTRY* destPalette, const RECT* destRect,
                                     HMODULE module, LPCSTR resource, const RECT* srcRect, DWORD filter,
                                     D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo);

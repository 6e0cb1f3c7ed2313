#pragma once
// D3DX surface saving: BMP files only (24 bits per pixel, no palette).
#include "platform/d3d9.h"
#include "platform/d3dx9/Textures.h"

/// Writes the surface (or its rectangle; null for the whole surface) to the file (an
/// engine path) in the format, which must be D3DXIFF_BMP. The surface must lock for
/// reading: plain surfaces, render targets and the back buffer do. The palette is
/// not used. The file is replaced whole (platform/win32/FileReplace.h). D3DERR_INVALIDCALL
/// when the file cannot be written or the surface read.
HRESULT D3DXSaveSurfaceToFileA(LPCSTR file, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                               const PALETTEENTRY* palette, const RECT* rect);

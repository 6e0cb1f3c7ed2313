#include "platform/d3dx9/SaveSurface.h"

#include "platform/d3dx9/BmpWriter.h"
#include "platform/win32/FileReplace.h"

#include <string_view>

HRESULT D3DXSaveSurfaceToFileA(LPCSTR file, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                               const PALETTEENTRY* /*palette*/, const RECT* rect) {
  if (!file || !surface || format != D3DXIFF_BMP) return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC desc{};
  if (FAILED(surface->GetDesc(&desc))) return D3DERR_INVALIDCALL;
  const auto pixelFormat = static_cast<platform::PixelFormat>(desc.Format);
  if (platform::IsBlockCompressed(pixelFormat) || platform::BytesPerPixel(pixelFormat) == 0) {
    return D3DERR_INVALIDCALL;
  }
  if (rect && (rect->right <= rect->left || rect->bottom <= rect->top)) return D3DERR_INVALIDCALL;
  const UINT width = rect ? UINT(rect->right - rect->left) : desc.Width;
  const UINT height = rect ? UINT(rect->bottom - rect->top) : desc.Height;
  D3DLOCKED_RECT locked{};
  if (FAILED(surface->LockRect(&locked, rect, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
  std::vector<platform::Rgba8> pixels(std::size_t(width) * height);
  for (UINT y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + std::size_t(y) * locked.Pitch;
    platform::UnpackRow(pixelFormat, row, std::span(pixels).subspan(std::size_t(y) * width, width));
  }
  surface->UnlockRect();
  const std::vector<std::uint8_t> bytes = platform::EncodeBmp(width, height, pixels);
  // Whole or not at all: a kill in the middle leaves no cut picture.
  const std::string_view whole(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return platform::ReplaceWholeFile(file, whole) ? D3D_OK : D3DERR_INVALIDCALL;
}

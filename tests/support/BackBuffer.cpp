#include "tests/support/BackBuffer.h"

#include <cstdlib>

namespace test {

DWORD BackBufferImage::Rgb(UINT x, UINT y) const {
  const platform::Rgba8& p = pixels.at(std::size_t(y) * width + x);
  return DWORD(p.r) << 16 | DWORD(p.g) << 8 | p.b;
}

std::vector<DWORD> BackBufferImage::RgbPixels() const {
  std::vector<DWORD> out;
  out.reserve(pixels.size());
  for (const platform::Rgba8& p : pixels) out.push_back(DWORD(p.r) << 16 | DWORD(p.g) << 8 | p.b);
  return out;
}

bool NearRgb(DWORD pixel, DWORD expected, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

BackBufferImage ReadBackBuffer(IDirect3DDevice9* device) {
  BackBufferImage image;
  IDirect3DSurface9* surface = nullptr;
  if (!device || FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface)) || !surface) return image;
  D3DSURFACE_DESC desc{};
  surface->GetDesc(&desc);
  D3DLOCKED_RECT locked{};
  if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    image.width = desc.Width;
    image.height = desc.Height;
    image.pixels.resize(std::size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
      platform::UnpackRow(static_cast<platform::PixelFormat>(desc.Format),
                          static_cast<const BYTE*>(locked.pBits) + std::ptrdiff_t{locked.Pitch} * y,
                          {image.pixels.data() + std::size_t{desc.Width} * y, desc.Width});
    surface->UnlockRect();
  }
  surface->Release();
  return image;
}

}  // namespace test

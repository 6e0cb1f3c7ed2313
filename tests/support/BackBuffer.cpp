#include "tests/support/BackBuffer.h"

namespace test {

BackBufferPixels ReadBackBuffer(IDirect3DDevice9* device) {
  BackBufferPixels out;
  IDirect3DSurface9* surface = nullptr;
  if (!device || FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface)) || !surface) return out;
  D3DSURFACE_DESC desc{};
  surface->GetDesc(&desc);
  D3DLOCKED_RECT locked{};
  if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    out.width = desc.Width;
    out.height = desc.Height;
    out.pixels.reserve(std::size_t(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
      const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
      for (UINT x = 0; x < desc.Width; ++x) out.pixels.push_back(row[x] & 0xFFFFFF);
    }
    surface->UnlockRect();
  }
  surface->Release();
  return out;
}

}  // namespace test

#pragma once
// The back buffer of a device read back for pixel checks (the GL tests under Xvfb).
#include "platform/d3d9.h"

#include <cstddef>
#include <vector>

namespace test {

/// The pixels of a back buffer as 0x00RRGGBB, top row first.
struct BackBufferPixels {
  UINT width = 0;
  UINT height = 0;
  std::vector<DWORD> pixels;  ///< empty when the buffer could not be read

  DWORD At(UINT x, UINT y) const { return pixels.at(std::size_t(y) * width + x); }
};

/// Reads the device's back buffer 0 whole.
BackBufferPixels ReadBackBuffer(IDirect3DDevice9* device);

}  // namespace test

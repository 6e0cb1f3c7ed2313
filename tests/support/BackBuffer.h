#pragma once
// Reads a Direct3D-9-shaped device's back buffer back (the pixel checks of the GL
// device, the renderer and the GUI).
#include "platform/d3d9.h"
#include "platform/d3dx9/PixelFormat.h"

#include <vector>

namespace test {

struct BackBufferImage {
  UINT width = 0;
  UINT height = 0;
  std::vector<platform::Rgba8> pixels;  ///< top row first; empty when the lock failed

  /// One pixel as 0x00RRGGBB.
  DWORD Rgb(UINT x, UINT y) const;
  /// Every pixel as 0x00RRGGBB, top row first.
  std::vector<DWORD> RgbPixels() const;
  /// Pixels of the rectangle (end exclusive) for which the test holds.
  template <class Test>
  int Count(UINT left, UINT top, UINT right, UINT bottom, Test test) const {
    int count = 0;
    for (UINT y = top; y < bottom && y < height; ++y)
      for (UINT x = left; x < right && x < width; ++x) count += test(pixels[std::size_t(y) * width + x]) ? 1 : 0;
    return count;
  }
};

/// Each of the three channels of two 0x00RRGGBB values within the tolerance.
bool NearRgb(DWORD pixel, DWORD expected, int tolerance);

/// The back buffer as it is now, in any uncompressed format.
BackBufferImage ReadBackBuffer(IDirect3DDevice9* device);

}  // namespace test

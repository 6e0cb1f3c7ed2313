#pragma once
// A test window with the Direct3D object and a windowed device over OpenGL on it (Xvfb
// with Mesa), released in order: what the GL device's pixel tests stand on.
#include "platform/d3d9.h"

#include <gtest/gtest.h>

namespace test {

class GlDevice {
 public:
  GlDevice() = default;
  ~GlDevice() { Close(); }
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;

  /// Parameters that ask for a D24S8 depth-stencil buffer.
  static D3DPRESENT_PARAMETERS DepthStencil();

  /// Makes a window of width x height, the Direct3D object and a hardware device on the
  /// window with the parameters (made windowed, discarding, on the window); a failure
  /// names the step. What was made stays for Close.
  ::testing::AssertionResult Open(int width, int height, const D3DPRESENT_PARAMETERS& parameters = {});
  /// Releases the device and the Direct3D object, then destroys the window.
  void Close();

  HWND window = 0;
  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  D3DPRESENT_PARAMETERS params{};
};

}  // namespace test

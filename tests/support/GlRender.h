#pragma once
// The renderer on the OpenGL device (Xvfb with Mesa) in a test window of its own, with
// the core services behind it, and the back buffer read back for pixel checks.
#include "core/CoreServices.h"
#include "platform/d3d9.h"
#include "render/Render.h"
#include "tests/support/TestEnv.h"

#include <deque>
#include <functional>
#include <vector>

struct TexInfo;

namespace test {

class GlRender {
 public:
  /// The window and the video variables for it; Start makes the renderer.
  GlRender(int width, int height);
  /// Shuts the renderer down (when made), releases it and destroys the window.
  virtual ~GlRender();
  GlRender(const GlRender&) = delete;
  GlRender& operator=(const GlRender&) = delete;

  /// Makes the renderer (CreateRender's, or the maker's object in its place) after any
  /// set-up of the test, and initialises it; false when that fails.
  bool Start(const std::function<N_Render*()>& make = {});
  /// Releases the rig's textures, shuts the renderer down and releases it (the
  /// destructor does it when no rig above did it first, in its own order).
  void Stop();
  N_Render& render() { return *renderObject; }

  /// A device texture of width x height texels from rows of 0xAARRGGBB, top row first,
  /// with its record (both live as long as the rig).
  TexInfo* Texture(int width, int height, const std::vector<DWORD>& texels);
  /// The back buffer as 0xRRGGBB values, top row first.
  std::vector<DWORD> Pixels();
  DWORD Pixel(int x, int y);
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  TempDir dir;
  CoreServices core;
  N_CoreServices services;
  HWND window = 0;
  N_Render* renderObject = nullptr;
  IDirect3DDevice9* device = nullptr;

 private:
  int m_width, m_height;
  std::vector<IDirect3DTexture9*> m_textures;
  std::deque<TexInfo> m_records;
};

/// The video variables for a windowed device of width x height on the window, and the
/// render services over the core services: what CreateRender needs before Init.
void SetUpRenderServices(CoreServices& core, N_CoreServices& services, HWND window, int width, int height);

}  // namespace test

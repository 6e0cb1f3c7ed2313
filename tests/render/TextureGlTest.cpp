// Textures and the splash on the real OpenGL device (Xvfb with Mesa in CI): a DXT1
// texture drawn on a quad, and the splash filling the back buffer at two sizes.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "platform/d3dx9/DdsImage.h"
#include "platform/d3dx9/ImageOps.h"
#include "platform/win32/Resources.h"
#include "platform/win32/TestWindow.h"
#include "render/Render.h"
#include "render/TexInfo.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"
#include "tests/support/TestEnv.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using platform::Rgba8;

/// The engine's 44-byte surface vertex (flexible format 0x252).
struct SurfaceVertex {
  float x, y, z;
  float nx, ny, nz;
  D3DCOLOR color;
  float u0, v0, u1, v1;
};

class TextureGl : public ::testing::Test {
 protected:
  void Start(int width, int height) {
    window = platform::CreateTestWindow(width, height);
    ASSERT_NE(window, 0);
    test::SetUpRenderServices(core, services, window, width, height);
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
  }
  void TearDown() override {
    if (render && render->Device()) render->Shutdown();
    if (render) ReleaseRender(render);
    if (window) platform::DestroyTestWindow(window);
  }

  /// The back buffer, top row first.
  std::vector<Rgba8> BackBuffer(UINT* width, UINT* height) {
    test::BackBufferImage image = test::ReadBackBuffer(render->Device());
    *width = image.width;
    *height = image.height;
    return std::move(image.pixels);
  }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  N_Render* render = nullptr;
  HWND window = 0;
};

int Diff(std::uint8_t a, std::uint8_t b) { return std::abs(int(a) - int(b)); }

TEST_F(TextureGl, ADxt1TextureOnAQuadShowsItsDecodedColours) {
  Start(800, 600);
  // 8 x 8 texels in two rows of blocks with different colour ramps.
  datagen::RgbaImage picture(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      picture.At(x, y) = {static_cast<std::uint8_t>(x * 32), static_cast<std::uint8_t>(y < 4 ? 200 : 40),
                          static_cast<std::uint8_t>(255 - x * 32), 255};
  const auto file = datagen::EncodeDds(picture, {datagen::DdsFormat::Dxt1, false});
  dir.Write("data/quad.dds", std::string(file.begin(), file.end()));
  std::string error;
  const auto image = platform::ParseDds(file, error);
  ASSERT_TRUE(image) << error;
  const auto expected = platform::DecodeLevel(platform::PixelFormat::Dxt1, image->Bytes(0, 0), 8, 8).pixels;

  TexInfo record;
  ASSERT_EQ(render->CreateTexture("data\\quad.dds", &record, 1), 32u);
  auto* texture = static_cast<IDirect3DTexture9*>(platform::TextureFromHandle(record.texture));
  ASSERT_NE(texture, nullptr);
  D3DSURFACE_DESC desc{};
  texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Format, D3DFMT_DXT1) << "kept compressed on a device with S3TC";

  IDirect3DDevice9* device = render->Device();
  ASSERT_TRUE(render->BeginFrame());
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, FALSE);
  device->SetTexture(0, texture);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  const SurfaceVertex quad[4] = {{-1, 1, 0.5f, 0, 0, 1, 0xFFFFFFFF, 0, 0, 0, 0},
                                 {1, 1, 0.5f, 0, 0, 1, 0xFFFFFFFF, 1, 0, 0, 0},
                                 {-1, -1, 0.5f, 0, 0, 1, 0xFFFFFFFF, 0, 1, 0, 0},
                                 {1, -1, 0.5f, 0, 0, 1, 0xFFFFFFFF, 1, 1, 0, 0}};
  device->SetFVF(0x252);
  ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SurfaceVertex)), D3D_OK);
  device->SetTexture(0, nullptr);
  render->EndFrame();

  UINT w = 0, h = 0;
  const auto pixels = BackBuffer(&w, &h);
  ASSERT_EQ(w, 800u);
  for (int ty = 0; ty < 8; ++ty)
    for (int tx = 0; tx < 8; ++tx) {
      const Rgba8 got = pixels[std::size_t(ty * 75 + 37) * w + std::size_t(tx * 100 + 50)];
      const Rgba8 want = expected[std::size_t(ty) * 8 + tx];
      EXPECT_LE(Diff(got.r, want.r), 4) << tx << ", " << ty;
      EXPECT_LE(Diff(got.g, want.g), 4) << tx << ", " << ty;
      EXPECT_LE(Diff(got.b, want.b), 4) << tx << ", " << ty;
    }
  render->ReleaseTexture(&record);
}

TEST_F(TextureGl, CompressedVolumesAreMadeUncompressed) {
  // OpenGL keeps S3TC for two-dimensional images: a DXT1 volume file still loads, as
  // A8R8G8B8 (so the record counts 4 bytes per pixel).
  Start(800, 600);
  const std::vector<datagen::RgbaImage> slices(4, datagen::RgbaImage(8, 8, {30, 60, 90, 255}));
  const auto file = datagen::EncodeVolumeDds(slices, {datagen::DdsFormat::Dxt1, false});
  dir.Write("data/fog.dds", std::string(file.begin(), file.end()));
  TexInfo record;
  record.kind = 2;
  EXPECT_GT(render->CreateTexture("data\\fog.dds", &record, 0), 0u);
  EXPECT_EQ(record.bytesPerPixel, 4u);
  auto* texture = static_cast<IDirect3DVolumeTexture9*>(platform::TextureFromHandle(record.texture));
  ASSERT_NE(texture, nullptr);
  D3DVOLUME_DESC desc{};
  texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(desc.Depth, 4u);
  render->ReleaseTexture(&record);
}

/// The splash picture as the program carries it, decoded.
platform::RgbaImage SplashPixels() {
  const auto bytes = platform::FindResourceBytes(kResourceTypeRcData, 116);
  std::string error;
  const auto image = platform::ParseDds(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), error);
  EXPECT_TRUE(image) << error;
  if (!image) return {};
  EXPECT_EQ(bytes.size(), 128u + 240000u);
  EXPECT_EQ(image->format, platform::PixelFormat::Dxt1);
  return platform::DecodeLevel(image->format, image->Bytes(0, 0), image->width, image->height);
}

TEST_F(TextureGl, TheSplashFillsAnEqualBackBufferPixelForPixel) {
  Start(800, 600);
  const platform::RgbaImage splash = SplashPixels();
  ASSERT_EQ(splash.width, 800u);
  render->ShowSplashImage(116);
  UINT w = 0, h = 0;
  const auto pixels = BackBuffer(&w, &h);
  ASSERT_EQ(w * h, splash.pixels.size());
  std::size_t different = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const Rgba8 a = pixels[i], b = splash.pixels[i];
    different += a.r != b.r || a.g != b.g || a.b != b.b;
  }
  EXPECT_EQ(different, 0u);
}

TEST_F(TextureGl, TheSplashIsStretchedOverALargerBackBuffer) {
  Start(1024, 768);
  const platform::RgbaImage splash = SplashPixels();
  render->ShowSplashImage(116);
  UINT w = 0, h = 0;
  const auto pixels = BackBuffer(&w, &h);
  ASSERT_EQ(w, 1024u);
  ASSERT_EQ(h, 768u);
  // A filtered pixel lies within the colours of the 2 x 2 source pixels around the
  // point it samples: every fourth pixel and the four corners are checked.
  auto source = [&](int x, int y) {
    x = std::clamp(x, 0, 799), y = std::clamp(y, 0, 599);
    return splash.pixels[std::size_t(y) * 800 + std::size_t(x)];
  };
  auto every4 = [](UINT size) {
    std::vector<UINT> at;
    for (UINT i = 0; i < size; i += 4) at.push_back(i);
    at.push_back(size - 1);
    return at;
  };
  std::size_t outside = 0, checked = 0;
  for (UINT y : every4(h)) {
    for (UINT x : every4(w)) {
      const int sx = int(std::floor((x + 0.5) * 800 / 1024 - 0.5)), sy = int(std::floor((y + 0.5) * 600 / 768 - 0.5));
      const Rgba8 n[4] = {source(sx, sy), source(sx + 1, sy), source(sx, sy + 1), source(sx + 1, sy + 1)};
      const Rgba8 p = pixels[std::size_t(y) * w + x];
      auto within = [&](std::uint8_t Rgba8::*c) {
        int lo = 255, hi = 0;
        for (const Rgba8& q : n) lo = std::min(lo, int(q.*c)), hi = std::max(hi, int(q.*c));
        return int(p.*c) >= lo - 2 && int(p.*c) <= hi + 2;
      };
      outside += !(within(&Rgba8::r) && within(&Rgba8::g) && within(&Rgba8::b));
      ++checked;
    }
  }
  EXPECT_GT(checked, 40000u);
  EXPECT_EQ(outside, 0u);
}

}  // namespace

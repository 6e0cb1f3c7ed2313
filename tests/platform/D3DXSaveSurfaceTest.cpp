// Saving surfaces as BMP files, read back with SDL's own BMP decoder.
#include "platform/d3d9/RecordingDevice.h"
#include "platform/d3dx9.h"
#include "platform/d3dx9/BmpWriter.h"
#include "tests/support/TestEnv.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

/// The pixel (x, y) of a decoded file as 0xRRGGBB.
Uint32 PixelOf(SDL_Surface* image, int x, int y) {
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_RGB888, 0);
  const Uint32 pixel = static_cast<const Uint32*>(rgb->pixels)[y * rgb->pitch / 4 + x] & 0xFFFFFF;
  SDL_FreeSurface(rgb);
  return pixel;
}

TEST(BmpWriter, HeadersAndPaddedBottomUpRows) {
  const platform::Rgba8 pixels[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255},
                                    {1, 2, 3, 255},   {4, 5, 6, 255},   {7, 8, 9, 255}};
  const auto bytes = platform::EncodeBmp(3, 2, pixels);
  ASSERT_EQ(bytes.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(bytes[2], 78);   // file size, low byte
  EXPECT_EQ(bytes[10], 54);  // offset of the pixels
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  // The bottom row comes first, blue-green-red.
  EXPECT_EQ(bytes[54], 3);
  EXPECT_EQ(bytes[56], 1);
  EXPECT_EQ(bytes[54 + 12 + 2], 255);  // top-left red
}

TEST(D3DXSaveSurface, WritesTheWholeSurfaceAsABmpFile) {
  test::TempDir dir;
  D3DPRESENT_PARAMETERS params{};
  params.Windowed = TRUE;
  auto* device = new platform::d3d9::RecordingDevice(platform::d3d9::DefaultRecordingDeviceConfig(), params);
  IDirect3DSurface9* surface = nullptr;
  ASSERT_EQ(device->CreateOffscreenPlainSurface(5, 3, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &surface, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] = DWORD(y * 0x500000 + x * 0x30);
    }
  }
  surface->UnlockRect();

  ASSERT_EQ(D3DXSaveSurfaceToFileA("Shots\\one.bmp", D3DXIFF_BMP, surface, nullptr, nullptr), D3DERR_INVALIDCALL)
      << "no folder";
  dir.Write("shots/.keep", "");
  ASSERT_EQ(D3DXSaveSurfaceToFileA("Shots\\one.bmp", D3DXIFF_BMP, surface, nullptr, nullptr), D3D_OK);
  EXPECT_EQ(D3DXSaveSurfaceToFileA("Shots\\one.png", D3DXIFF_PNG, surface, nullptr, nullptr), D3DERR_INVALIDCALL);
  const RECT inverted{4, 0, 1, 3};  // left edge past the right one: refused before any allocation
  EXPECT_EQ(D3DXSaveSurfaceToFileA("Shots\\two.bmp", D3DXIFF_BMP, surface, nullptr, &inverted), D3DERR_INVALIDCALL);
  SDL_Surface* image = SDL_LoadBMP("shots/one.bmp");
  ASSERT_NE(image, nullptr) << SDL_GetError();
  EXPECT_EQ(image->w, 5);
  EXPECT_EQ(image->h, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelOf(image, x, y), Uint32(y * 0x500000 + x * 0x30)) << x << "," << y;
  }
  SDL_FreeSurface(image);
  surface->Release();
  device->Release();
}

}  // namespace

// The D3DX texture loaders over the DDS reader, on the recording device (textures in
// system memory, so the loaded levels can be read back).
#include "platform/d3d9/RecordingDevice.h"
#include "platform/d3dx9.h"
#include "platform/d3dx9/DdsImage.h"
#include "platform/d3dx9/ImageOps.h"
#include "platform/win32/Resources.h"
#include "tests/support/TestEnv.h"
#include "tests/platform/DdsSamples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using platform::PixelFormat;
using platform::Rgba8;
using platform::RgbaImage;

RgbaImage Pattern(std::uint32_t w, std::uint32_t h, std::uint32_t d = 1, std::uint8_t tint = 0) {
  RgbaImage img{w, h, d, {}};
  for (std::uint32_t z = 0; z < d; ++z)
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = 0; x < w; ++x)
        img.pixels.push_back({static_cast<std::uint8_t>(x * 30 + tint), static_cast<std::uint8_t>(y * 30),
                              static_cast<std::uint8_t>(z * 60), static_cast<std::uint8_t>(100 + x)});
  return img;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

std::vector<std::uint8_t> FileLevel(const std::vector<std::uint8_t>& file, std::uint32_t face, std::uint32_t level) {
  std::string error;
  const auto img = platform::ParseDds(file, error);
  const auto bytes = img->Bytes(face, level);
  return {bytes.begin(), bytes.end()};
}

/// The bytes of a locked 2D level, rows tightly packed.
std::vector<std::uint8_t> ReadLevel(IDirect3DTexture9* t, UINT level) {
  D3DSURFACE_DESC desc{};
  t->GetLevelDesc(level, &desc);
  D3DLOCKED_RECT locked{};
  EXPECT_EQ(t->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  const auto format = static_cast<PixelFormat>(desc.Format);
  const std::size_t row = static_cast<std::size_t>(platform::RowPitch(format, desc.Width));
  std::vector<std::uint8_t> out;
  for (std::uint32_t r = 0; r < platform::RowCount(format, desc.Height); ++r) {
    const auto* src = static_cast<const std::uint8_t*>(locked.pBits) + std::ptrdiff_t{locked.Pitch} * r;
    out.insert(out.end(), src, src + row);
  }
  t->UnlockRect(level);
  return out;
}

struct D3DXTextures : ::testing::Test {
  D3DXTextures() {
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    device = new platform::d3d9::RecordingDevice(platform::d3d9::DefaultRecordingDeviceConfig(), params);
  }
  ~D3DXTextures() override { device->Release(); }

  IDirect3DTexture9* Load(const char* file, UINT w, UINT h, UINT levels, D3DFORMAT format,
                          D3DXIMAGE_INFO* info = nullptr) {
    IDirect3DTexture9* t = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileExA(device, file, w, h, levels, 0, format, D3DPOOL_MANAGED,
                                                    D3DX_DEFAULT, D3DX_DEFAULT, 0, info, nullptr, &t);
    EXPECT_EQ(SUCCEEDED(hr), t != nullptr);
    return t;
  }

  test::TempDir dir;
  platform::d3d9::RecordingDevice* device;
};

TEST_F(D3DXTextures, ImageInformationOfEachKind) {
  const std::array<RgbaImage, 6> faces{Pattern(8, 8), Pattern(8, 8), Pattern(8, 8),
                                       Pattern(8, 8), Pattern(8, 8), Pattern(8, 8)};
  dir.Write("data/flat.dds", AsText(test::MakeDds(PixelFormat::Dxt5, Pattern(16, 8), 3)));
  dir.Write("data/sky.dds", AsText(test::MakeCubeDds(PixelFormat::Dxt1, faces)));
  dir.Write("data/fog.dds", AsText(test::MakeVolumeDds(PixelFormat::A8R8G8B8, Pattern(4, 4, 2), 1)));
  struct Case {
    const char* file;
    D3DXIMAGE_INFO expected;
  };
  const Case cases[] = {
      {"Data\\FLAT.dds", {16, 8, 1, 3, D3DFMT_DXT5, D3DRTYPE_TEXTURE, D3DXIFF_DDS}},
      {"data\\sky.dds", {8, 8, 1, 4, D3DFMT_DXT1, D3DRTYPE_CUBETEXTURE, D3DXIFF_DDS}},
      {"data\\fog.dds", {4, 4, 2, 1, D3DFMT_A8R8G8B8, D3DRTYPE_VOLUMETEXTURE, D3DXIFF_DDS}},
  };
  for (const Case& c : cases) {
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileA(c.file, &info), D3D_OK) << c.file;
    EXPECT_EQ(std::memcmp(&info, &c.expected, sizeof info), 0) << c.file;
  }
  D3DXIMAGE_INFO info{};
  EXPECT_EQ(D3DXGetImageInfoFromFileA("data\\none.dds", &info), D3DXERR_INVALIDDATA);
  dir.Write("data/bad.dds", "DDS garbage");
  EXPECT_EQ(D3DXGetImageInfoFromFileA("data\\bad.dds", &info), D3DXERR_INVALIDDATA);
}

TEST_F(D3DXTextures, LevelsComeFromTheFileOrAreMade) {
  const auto file = test::MakeDds(PixelFormat::Dxt1, Pattern(8, 8));  // 4 levels
  dir.Write("data/t.dds", AsText(file));
  struct Case {
    const char* name;
    UINT w, h, levels;
    UINT expectLevels;
    std::uint32_t firstFileLevel;
  };
  const Case cases[] = {
      {"file's levels", 8, 8, 4, 4, 0},
      {"one level", 8, 8, 1, 1, 0},
      {"picmip", 4, 4, 4, 3, 1},  // more levels than a 4x4 chain has are cut
      {"defaults", D3DX_DEFAULT, 0, D3DX_DEFAULT, 4, 0},
  };
  for (const Case& c : cases) {
    IDirect3DTexture9* t = Load("data\\t.dds", c.w, c.h, c.levels, D3DFMT_DXT1);
    ASSERT_NE(t, nullptr) << c.name;
    EXPECT_EQ(t->GetLevelCount(), c.expectLevels) << c.name;
    for (UINT l = 0; l < c.expectLevels; ++l)
      EXPECT_EQ(ReadLevel(t, l), FileLevel(file, 0, c.firstFileLevel + l)) << c.name << " level " << l;
    t->Release();
  }
  // A one-level file gets a generated chain: its last level is the picture's mean.
  dir.Write("data/single.dds", AsText(test::MakeDds(PixelFormat::A8R8G8B8, Pattern(4, 4), 1)));
  IDirect3DTexture9* t = Load("data\\single.dds", 0, 0, D3DX_DEFAULT, D3DFMT_UNKNOWN);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->GetLevelCount(), 3u);
  const auto last = platform::DecodeLevel(PixelFormat::A8R8G8B8, ReadLevel(t, 2), 1, 1).pixels[0];
  EXPECT_EQ(last, (Rgba8{45, 45, 0, 102}));  // means of x*30, y*30, 100+x over 0..3 (101.5 rounds up)
  t->Release();
}

TEST_F(D3DXTextures, ConvertsToTheFormatAskedFor) {
  // A DXT3 file made as R8G8B8: three bytes per pixel, the decoded colours, no alpha.
  const auto file = test::MakeDds(PixelFormat::Dxt3, Pattern(8, 4), 1);
  dir.Write("data/t.dds", AsText(file));
  IDirect3DTexture9* t = Load("data\\t.dds", 8, 4, 1, D3DFMT_R8G8B8);
  ASSERT_NE(t, nullptr);
  D3DSURFACE_DESC desc{};
  t->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Format, D3DFMT_R8G8B8);
  const auto decoded = platform::DecodeLevel(PixelFormat::Dxt3, FileLevel(file, 0, 0), 8, 4);
  EXPECT_EQ(ReadLevel(t, 0), platform::EncodeLevel(PixelFormat::R8G8B8, decoded));
  t->Release();
  // Plain to DXT5 keeps alpha close.
  dir.Write("data/a.dds", AsText(test::MakeDds(PixelFormat::A8R8G8B8, Pattern(4, 4), 1)));
  t = Load("data\\a.dds", 0, 0, 1, D3DFMT_DXT5);
  ASSERT_NE(t, nullptr);
  const auto back = platform::DecodeLevel(PixelFormat::Dxt5, ReadLevel(t, 0), 4, 4).pixels;
  for (std::size_t i = 0; i < back.size(); ++i) EXPECT_NEAR(back[i].a, 100 + i % 4, 2) << i;
  t->Release();
}

TEST_F(D3DXTextures, EachLoaderTakesOnlyItsKind) {
  std::array<RgbaImage, 6> faces;
  for (int f = 0; f < 6; ++f) faces[f] = Pattern(4, 4, 1, static_cast<std::uint8_t>(f * 5));
  const auto cubeFile = test::MakeCubeDds(PixelFormat::A8R8G8B8, faces, 1);
  const auto volumeFile = test::MakeVolumeDds(PixelFormat::X8R8G8B8, Pattern(4, 2, 2), 1);
  dir.Write("data/flat.dds", AsText(test::MakeDds(PixelFormat::Dxt1, Pattern(4, 4))));
  dir.Write("data/cube.dds", AsText(cubeFile));
  dir.Write("data/vol.dds", AsText(volumeFile));

  IDirect3DCubeTexture9* cube = reinterpret_cast<IDirect3DCubeTexture9*>(1);
  D3DXIMAGE_INFO info{};
  EXPECT_TRUE(FAILED(D3DXCreateCubeTextureFromFileExA(device, "data\\flat.dds", 0, 1, 0, D3DFMT_UNKNOWN,
                                                      D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info,
                                                      nullptr, &cube)));
  EXPECT_EQ(cube, nullptr);
  EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);
  EXPECT_EQ(Load("data\\cube.dds", 0, 0, 1, D3DFMT_UNKNOWN), nullptr);

  ASSERT_EQ(D3DXCreateCubeTextureFromFileExA(device, "data\\cube.dds", 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                             D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &cube),
            D3D_OK);
  for (UINT f = 0; f < 6; ++f) {
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(cube->LockRect(static_cast<D3DCUBEMAP_FACES>(f), 0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto expected = FileLevel(cubeFile, f, 0);
    for (UINT r = 0; r < 4; ++r)
      EXPECT_EQ(std::memcmp(static_cast<BYTE*>(locked.pBits) + locked.Pitch * r, expected.data() + 16 * r, 16), 0)
          << "face " << f << " row " << r;
    cube->UnlockRect(static_cast<D3DCUBEMAP_FACES>(f), 0);
  }
  cube->Release();

  IDirect3DVolumeTexture9* vol = nullptr;
  EXPECT_TRUE(FAILED(D3DXCreateVolumeTextureFromFileExA(device, "data\\cube.dds", 0, 0, 0, 1, 0, D3DFMT_UNKNOWN,
                                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                                        nullptr, &vol)));
  ASSERT_EQ(D3DXCreateVolumeTextureFromFileExA(device, "data\\vol.dds", 0, 0, 0, 1, 0, D3DFMT_UNKNOWN,
                                               D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                               &vol),
            D3D_OK);
  D3DVOLUME_DESC vdesc{};
  vol->GetLevelDesc(0, &vdesc);
  EXPECT_EQ(vdesc.Depth, 2u);
  D3DLOCKED_BOX box{};
  ASSERT_EQ(vol->LockBox(0, &box, nullptr, D3DLOCK_READONLY), D3D_OK);
  const auto expected = FileLevel(volumeFile, 0, 0);
  for (UINT z = 0; z < 2; ++z)
    for (UINT r = 0; r < 2; ++r)
      EXPECT_EQ(std::memcmp(static_cast<BYTE*>(box.pBits) + box.SlicePitch * z + box.RowPitch * r,
                            expected.data() + 32 * z + 16 * r, 16),
                0)
          << z << " " << r;
  vol->UnlockBox(0);
  vol->Release();
}

TEST_F(D3DXTextures, SurfaceFromAProgramResource) {
  const RgbaImage picture = Pattern(8, 4);
  const auto dds = test::MakeDds(PixelFormat::Dxt1, picture, 1);
  platform::RegisterResource(kResourceTypeRcData, 901, dds);
  D3DXIMAGE_INFO info{};
  ASSERT_EQ(D3DXGetImageInfoFromResourceA(0, MAKEINTRESOURCEA(901), &info), D3D_OK);
  EXPECT_EQ(info.Width, 8u);
  EXPECT_EQ(info.Format, D3DFMT_DXT1);
  EXPECT_EQ(D3DXGetImageInfoFromResourceA(0, MAKEINTRESOURCEA(902), &info), D3DXERR_INVALIDDATA);

  IDirect3DSurface9* surface = nullptr;
  ASSERT_EQ(device->CreateOffscreenPlainSurface(8, 4, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &surface, nullptr), D3D_OK);
  ASSERT_EQ(D3DXLoadSurfaceFromResourceA(surface, nullptr, nullptr, 0, MAKEINTRESOURCEA(901), nullptr,
                                         D3DX_FILTER_NONE, 0, nullptr),
            D3D_OK);
  const auto decoded = platform::DecodeLevel(PixelFormat::Dxt1, FileLevel(dds, 0, 0), 8, 4);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  for (UINT y = 0; y < 4; ++y)
    for (UINT x = 0; x < 8; ++x) {
      const BYTE* p = static_cast<BYTE*>(locked.pBits) + locked.Pitch * y + 4 * x;
      const Rgba8 e = decoded.pixels[y * 8 + x];
      EXPECT_EQ(p[0], e.b);
      EXPECT_EQ(p[1], e.g);
      EXPECT_EQ(p[2], e.r);
    }
  surface->UnlockRect();
  surface->Release();
}

}  // namespace

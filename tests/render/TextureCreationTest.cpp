#include "platform/d3dx9.h"
#include "render/TextureCreation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextureCreation, TargetFormatFollowsCompressionAndBits) {
  struct Case {
    bool device;
    int compression, bits;
    D3DFORMAT file, target;
  };
  const std::vector<Case> cases = {
      // No compression on the device: DXT files become plain formats.
      {false, 0, 32, D3DFMT_DXT1, D3DFMT_R8G8B8},
      {false, 0, 32, D3DFMT_DXT3, D3DFMT_R8G8B8},
      {false, 1, 32, D3DFMT_DXT2, D3DFMT_R8G8B8},
      {false, 0, 16, D3DFMT_DXT1, D3DFMT_R5G6B5},
      {false, 0, 16, D3DFMT_DXT3, D3DFMT_R5G6B5},
      {false, 0, 32, D3DFMT_DXT5, D3DFMT_A8R8G8B8},
      {false, 0, 16, D3DFMT_DXT4, D3DFMT_A4R4G4B4},
      {false, 1, 16, D3DFMT_X8R8G8B8, D3DFMT_X4R4G4B4},  // the setting needs the device's support
      // Compression on: plain formats become DXT1, with alpha DXT5.
      {true, 1, 32, D3DFMT_X8R8G8B8, D3DFMT_DXT1},
      {true, 1, 32, D3DFMT_R8G8B8, D3DFMT_DXT1},
      {true, 1, 16, D3DFMT_R5G6B5, D3DFMT_DXT1},
      {true, 1, 32, D3DFMT_X4R4G4B4, D3DFMT_DXT1},
      {true, 1, 32, D3DFMT_A8R8G8B8, D3DFMT_DXT5},
      {true, 1, 16, D3DFMT_A4R4G4B4, D3DFMT_DXT5},
      {true, 1, 16, D3DFMT_DXT5, D3DFMT_DXT5},
      // Compression off: 16 bits halve the 8-bit formats, DXT stays.
      {true, 0, 16, D3DFMT_DXT5, D3DFMT_DXT5},
      {true, 0, 16, D3DFMT_R8G8B8, D3DFMT_R5G6B5},
      {true, 0, 16, D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4},
      {true, 0, 16, D3DFMT_X8R8G8B8, D3DFMT_X4R4G4B4},
      {true, 0, 32, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8},
      {true, 0, 32, D3DFMT_DXT1, D3DFMT_DXT1},
  };
  for (const Case& c : cases) {
    TextureQuality q;
    q.deviceCompression = c.device;
    q.textureCompression = c.compression;
    q.textureBits = c.bits;
    EXPECT_EQ(TextureTargetFormat(c.file, q), c.target)
        << "device " << c.device << " compression " << c.compression << " bits " << c.bits << " file " << c.file;
  }
}

TEST(TextureCreation, SizesLevelsAndPicmip) {
  struct Case {
    const char* name;
    UINT w, h, d, levels;
    std::uint32_t kind, parameter;
    int picmip;
    TexturePlan expected;
  };
  TextureQuality q;
  q.maxTextureWidth = 1024;
  q.maxTextureHeight = 512;
  q.maxVolumeExtent = 64;
  const std::vector<Case> cases = {
      {"plain", 256, 128, 1, 9, 0, 0, 0, {256, 128, 1, 9, D3DFMT_DXT1}},
      {"limited by the caps", 2048, 2048, 1, 1, 0, 0, 0, {1024, 512, 1, D3DX_DEFAULT, D3DFMT_DXT1}},
      {"caps then picmip", 2048, 2048, 1, 1, 0, 0, 1, {512, 256, 1, D3DX_DEFAULT, D3DFMT_DXT1}},
      {"nopicmip", 256, 256, 1, 9, 0, 2, 2, {256, 256, 1, 9, D3DFMT_DXT1}},
      {"nomipmaps", 256, 256, 1, 9, 0, 1, 1, {128, 128, 1, 1, D3DFMT_DXT1}},
      {"parameter 3: one level, no picmip", 256, 256, 1, 8, 0, 3, 2, {256, 256, 1, 1, D3DFMT_DXT1}},
      {"other bits are not read", 256, 256, 1, 9, 0, 1024, 1, {128, 128, 1, 9, D3DFMT_DXT1}},
      {"picmip never reaches 0", 4, 2, 1, 1, 0, 0, 3, {1, 1, 1, D3DX_DEFAULT, D3DFMT_DXT1}},
      {"negative picmip", 64, 64, 1, 1, 0, 0, -2, {64, 64, 1, D3DX_DEFAULT, D3DFMT_DXT1}},
      {"cube edge", 2048, 2048, 1, 1, 1, 0, 1, {512, 512, 1, D3DX_DEFAULT, D3DFMT_DXT1}},
      {"volume extent", 128, 32, 256, 2, 2, 0, 1, {32, 16, 32, 2, D3DFMT_DXT1}},
  };
  for (const Case& c : cases) {
    q.picmip = c.picmip;
    q.deviceCompression = true;
    const TexturePlan p = PlanTexture(c.w, c.h, c.d, c.levels, D3DFMT_DXT1, c.kind, c.parameter, q);
    EXPECT_EQ(p.width, c.expected.width) << c.name;
    EXPECT_EQ(p.height, c.expected.height) << c.name;
    EXPECT_EQ(p.depth, c.expected.depth) << c.name;
    EXPECT_EQ(p.mipLevels, c.expected.mipLevels) << c.name;
    EXPECT_EQ(p.format, c.expected.format) << c.name;
  }
}

TEST(TextureCreation, BytesCounted) {
  struct Case {
    const char* name;
    D3DFORMAT format;
    std::uint32_t kind;
    UINT w, h, d, levels;
    std::uint32_t bytesPerPixel, bytes;
  };
  const std::vector<Case> cases = {
      {"three levels of 1024", D3DFMT_A8R8G8B8, 0, 16, 16, 1, 3, 4, 1024 + 256 + 128},
      {"1x1 dxt1", D3DFMT_DXT1, 0, 1, 1, 1, 1, 2, 8},
      {"6x6 dxt1 counts whole blocks only", D3DFMT_DXT1, 0, 6, 6, 1, 1, 2, 8},
      {"dxt5", D3DFMT_DXT5, 0, 32, 32, 1, 1, 2, 8 * 8 * 16},
      {"generated chain adds nothing", D3DFMT_DXT3, 0, 32, 32, 1, D3DX_DEFAULT, 2, 1024},
      {"r8g8b8", D3DFMT_R8G8B8, 0, 4, 4, 1, 1, 3, 48},
      {"x8r8g8b8", D3DFMT_X8R8G8B8, 0, 4, 4, 1, 1, 4, 64},
      {"r5g6b5", D3DFMT_R5G6B5, 0, 4, 4, 1, 1, 2, 32},
      {"cube six faces", D3DFMT_A4R4G4B4, 1, 8, 8, 1, 1, 2, 6 * 128},
      {"volume depth slices", D3DFMT_X4R4G4B4, 2, 8, 8, 4, 2, 2, 4 * 128 + 4 * 128 / 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextureBytesPerPixel(c.format), c.bytesPerPixel) << c.name;
    EXPECT_EQ(TextureMemoryBytes(TextureLevel0Bytes(c.format, c.kind, c.w, c.h, c.d), c.levels), c.bytes) << c.name;
  }
}

}  // namespace

// N_Render::CreateTexture and ReleaseTexture over the recording device, and the
// texture manager on the renderer: records, bytes, formats, kinds and statistics.
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/ShaderStage.h"
#include "render/StageTexture.h"
#include "render/TexInfo.h"
#include "render/TextureMngImpl.h"
#include "tests/render/RenderTestSupport.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using datagen::DdsFormat;
using test::RecordingRender;

datagen::RgbaImage Picture(int w, int h) {
  datagen::RgbaImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.At(x, y) = {static_cast<std::uint8_t>(x * 13), static_cast<std::uint8_t>(y * 7), 90, 200};
  return img;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

/// Writes the sample files every case below reads.
void WriteFiles(test::TempDir& dir) {
  const datagen::RgbaImage face = Picture(8, 8);
  dir.Write("data/a16.dds", Text(datagen::EncodeDds(Picture(16, 16), {DdsFormat::A8R8G8B8, true, 3})));
  dir.Write("data/tiny.dds", Text(datagen::EncodeDds(Picture(1, 1), {DdsFormat::Dxt1, false})));
  dir.Write("data/chain.dds", Text(datagen::EncodeDds(Picture(64, 64), {DdsFormat::Dxt1, true})));
  dir.Write("data/dxt3.dds", Text(datagen::EncodeDds(Picture(8, 4), {DdsFormat::Dxt3, false})));
  dir.Write("data/plain.dds", Text(datagen::EncodeDds(Picture(8, 8), {DdsFormat::X8R8G8B8, false})));
  dir.Write("data/cube.dds", Text(datagen::EncodeCubeDds({face, face, face, face, face, face},
                                                         {DdsFormat::A8R8G8B8, false})));
  dir.Write("data/vol.dds", Text(datagen::EncodeVolumeDds(std::vector<datagen::RgbaImage>(4, Picture(4, 4)),
                                                          {DdsFormat::X8R8G8B8, false})));
  dir.Write("data/bad.dds", "DDS not really");
  dir.Write("data/textures/default.dds", Text(datagen::EncodeDds(Picture(4, 4), {DdsFormat::Dxt1, false})));
}

D3DFORMAT FormatOf(const TexInfo& record) {
  IDirect3DBaseTexture9* base = platform::TextureFromHandle(record.texture);
  if (!base || base->GetType() != D3DRTYPE_TEXTURE) return D3DFMT_UNKNOWN;
  D3DSURFACE_DESC desc{};
  static_cast<IDirect3DTexture9*>(base)->GetLevelDesc(0, &desc);
  return desc.Format;
}

TEST(RenderTexture, CreatesEachKindAndCountsItsBytes) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  WriteFiles(harness.dir);
  struct Case {
    const char* path;
    std::uint32_t kind, parameter;
    int picmip;
    std::uint32_t bytes, width, height, bytesPerPixel, levels;
  };
  const Case cases[] = {
      {"data\\a16.dds", 0, 0, 0, 1024 + 256 + 128, 16, 16, 4, 3},  // 3 levels of 1024 bytes at level 0
      {"data\\tiny.dds", 0, 0, 0, 8, 1, 1, 2, 1},                   // a 1x1 DXT1 counts 8
      {"data\\chain.dds", 0, 3, 2, 2048, 64, 64, 2, 1},             // parameter 3: one level, no picmip
      {"data\\chain.dds", 0, 1, 1, 512, 32, 32, 2, 1},              // picmip 1
      {"data\\cube.dds", 1, 0, 0, 6 * 256, 8, 8, 4, 4},              // a generated chain adds nothing
      {"data\\vol.dds", 2, 1, 0, 4 * 64, 4, 4, 4, 1},
  };
  std::uint32_t total = 0;
  std::vector<TexInfo> records;
  for (const Case& c : cases) {
    harness.core.vars->SetInt("r_picmip", c.picmip, 0);
    TexInfo record;
    record.kind = c.kind;
    EXPECT_EQ(harness.render->CreateTexture(c.path, &record, c.parameter), c.bytes) << c.path;
    EXPECT_GT(record.texture, 0) << c.path;
    EXPECT_EQ(record.memory, c.bytes) << c.path;
    EXPECT_EQ(record.width, c.width) << c.path;
    EXPECT_EQ(record.height, c.height) << c.path;
    EXPECT_EQ(record.bytesPerPixel, c.bytesPerPixel) << c.path;
    IDirect3DBaseTexture9* texture = platform::TextureFromHandle(record.texture);
    ASSERT_NE(texture, nullptr) << c.path;
    EXPECT_EQ(texture->GetLevelCount(), c.levels) << c.path;
    EXPECT_EQ(harness.render->TextureRegistry().at(record.texture), c.path);
    total += c.bytes;
    records.push_back(record);
  }
  EXPECT_EQ(harness.render->TextureMemory(), total);
  harness.render->DumpMemoryStatistics();
  EXPECT_NE(harness.Log().find("Textures:\nCount 6\nMemory: " + std::to_string(total) + " B (0 MB)\n"),
            std::string::npos);
  for (TexInfo& record : records) {
    const TexInfo before = record;
    harness.render->ReleaseTexture(&record);
    EXPECT_EQ(record.texture, before.texture) << "the record itself is not changed";
  }
  EXPECT_EQ(harness.render->TextureMemory(), 0u);
  EXPECT_TRUE(harness.render->TextureRegistry().empty());
}

TEST(RenderTexture, TargetFormatsFollowTheSettingsAndTheDevice) {
  struct Case {
    const char* name;
    bool deviceCompression;
    int compression, bits;
    const char* path;
    std::uint32_t parameter;
    D3DFORMAT format;
    std::uint32_t bytesPerPixel;
  };
  const Case cases[] = {
      {"dxt3 without compression, 32 bits", false, 0, 32, "data\\dxt3.dds", 0, D3DFMT_R8G8B8, 3},
      {"dxt3 without compression, 16 bits", false, 0, 16, "data\\dxt3.dds", 0, D3DFMT_R5G6B5, 2},
      {"nocompress is not read", true, 1, 32, "data\\plain.dds", 1024, D3DFMT_DXT1, 2},
      {"compression off keeps the file's", true, 0, 32, "data\\plain.dds", 0, D3DFMT_X8R8G8B8, 4},
  };
  for (const Case& c : cases) {
    auto config = RecordingRender::DefaultConfig();
    if (!c.deviceCompression) config.textureFormats.erase(D3DFMT_DXT1);
    RecordingRender harness(config);
    ASSERT_TRUE(harness.render->Init()) << c.name;
    ASSERT_EQ(harness.render->TextureCompression(), c.deviceCompression) << c.name;
    WriteFiles(harness.dir);
    harness.core.vars->SetInt("r_textureCompression", c.compression, 0);
    harness.core.vars->SetInt("r_textureBits", c.bits, 0);
    TexInfo record;
    EXPECT_GT(harness.render->CreateTexture(c.path, &record, c.parameter), 0u) << c.name;
    EXPECT_EQ(FormatOf(record), c.format) << c.name;
    EXPECT_EQ(record.bytesPerPixel, c.bytesPerPixel) << c.name;
    harness.render->ReleaseTexture(&record);
  }
}

TEST(RenderTexture, WrongKindsAndBadFilesMakeNothing) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  WriteFiles(harness.dir);
  struct Case {
    const char* path;
    std::uint32_t kind;
  };
  const Case cases[] = {{"data\\a16.dds", 1}, {"data\\a16.dds", 2}, {"data\\cube.dds", 0}, {"data\\vol.dds", 1},
                        {"data\\a16.dds", 3}, {"data\\none.dds", 0}, {"data\\bad.dds", 0}};
  for (const Case& c : cases) {
    TexInfo record;
    record.kind = c.kind;
    EXPECT_EQ(harness.render->CreateTexture(c.path, &record, 0), 0u) << c.path << " kind " << c.kind;
    EXPECT_EQ(record.texture, 0) << c.path;
    harness.render->ReleaseTexture(&record);  // nothing to release
  }
  EXPECT_EQ(harness.render->TextureMemory(), 0u);
  EXPECT_TRUE(harness.render->TextureRegistry().empty());
}

TEST(RenderTexture, TheManagerOnTheRendererKeepsTheStatisticsTrue) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  WriteFiles(harness.dir);
  auto mng = std::make_unique<N_TextureMngImpl>(1024);  // the renderer of the services record
  TexInfo* a16 = mng->AddTexture("A16.dds", 0, 0);
  TexInfo* missing = mng->AddTexture("missing", 0, 0);
  TexInfo* cube = mng->AddTexture("flat", 0, 1);  // a cube record: default.dds is no cube either
  harness.dir.Write("data/flat.dds", harness.dir.Read("data/a16.dds"));
  mng->PurgeTextures();
  EXPECT_GT(a16->texture, 0);
  EXPECT_GT(missing->texture, 0);
  EXPECT_EQ(missing->width, 4u) << "the default texture";
  EXPECT_EQ(cube->texture, 0);
  const std::string log = harness.Log();
  EXPECT_EQ(test::LinesStartingWith(log, "!!! Error loading texture 'missing'").size(), 1u);
  EXPECT_EQ(test::LinesStartingWith(log, "!!! Error loading texture 'flat'").size(), 1u);
  EXPECT_EQ(harness.render->TextureRegistry().at(missing->texture), "data\\textures\\default.dds");
  EXPECT_EQ(mng->TotalMemory(), 1408 + 8);

  mng->ReleaseTexture(a16);
  mng->PurgeTextures();
  harness.render->DumpMemoryStatistics();
  EXPECT_NE(harness.Log().find("Textures:\nCount 1\nMemory: 8 B (0 MB)\n"), std::string::npos);
  mng.reset();
  EXPECT_NE(harness.Log().find("TextureMng: 0 textures in memory\nTextureMng: Total texture memory consumed: 0 MB\n"),
            std::string::npos);
  EXPECT_TRUE(harness.render->TextureRegistry().empty());
  EXPECT_EQ(harness.render->TextureMemory(), 0u);
}

// A released texture's handle goes to the next texture made. A unit the cache still
// remembers under that handle must not be taken for the new texture: the device no
// longer holds anything there.
TEST(RenderTexture, AHandleReusedAfterAReleaseIsBoundAnew) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  WriteFiles(harness.dir);
  TexInfo first, second;
  ASSERT_GT(harness.render->CreateTexture("data\\plain.dds", &first, 0), 0u);
  N_ShaderStage stage;
  stage.AddTexture(&first, 0.0f);
  BindStageTexture(&stage, 0);
  harness.render->ReleaseTexture(&first);
  EXPECT_EQ(g_renderStateCache.boundTexture[0], -1);

  ASSERT_GT(harness.render->CreateTexture("data\\a16.dds", &second, 0), 0u);
  ASSERT_EQ(second.texture, first.texture) << "the freed handle is handed out again";
  N_ShaderStage next;
  next.AddTexture(&second, 0.0f);
  BindStageTexture(&next, 0);
  IDirect3DBaseTexture9* bound = nullptr;
  harness.Device()->GetTexture(0, &bound);
  EXPECT_EQ(bound, platform::TextureFromHandle(second.texture));
  if (bound) bound->Release();
  harness.render->ReleaseTexture(&second);
}

}  // namespace

#include "render/TextureMngImpl.h"
#include "render/TextureName.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const N_TextureEntry* EntryOf(const N_TextureMngImpl& mng, const TexInfo* record) {
  for (std::int32_t i = 0; i < mng.Capacity(); ++i)
    if (mng.Entry(i)->record.get() == record) return mng.Entry(i);
  return nullptr;
}

TEST(TextureName, CutsOnlyTheLastComponentsExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"trees", "trees"},           {"Trees.DDS", "Trees"},
      {"a.b.c", "a.b"},             {".dds", ".dds"},
      {"textures/v1.2/x", "textures/v1.2/x"}, {"textures\\v1.2\\x.dds", "textures\\v1.2\\x"},
      {"x.", "x"},                  {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(CutTextureExtension(in), out) << in;
}

TEST(TextureMng, OneEntryPerNameRegardlessOfCaseAndExtension) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  N_TextureMngImpl mng(1024, &dev);
  TexInfo* trees = mng.AddTexture("trees", 0, 0);
  ASSERT_NE(trees, nullptr);
  EXPECT_EQ(trees->texture, kTextureNotCreated);
  EXPECT_EQ(mng.AddTexture("Trees.DDS", 5, 0), trees);
  EXPECT_EQ(EntryOf(mng, trees)->refCount, 2);
  EXPECT_EQ(EntryOf(mng, trees)->parameter, 0u);  // the first add's parameter stays
  EXPECT_EQ(EntryOf(mng, mng.AddTexture("a.b.c", 0, 0))->name, "a.b");
  EXPECT_EQ(EntryOf(mng, mng.AddTexture(".dds", 0, 0))->name, ".dds");
  EXPECT_EQ(mng.AddTexture("sky", 0, 1)->kind, 1u);
  EXPECT_EQ(mng.LiveCount(), 4);
  // FindTexture does not cut the extension.
  EXPECT_EQ(mng.FindTexture("trees.dds"), nullptr);
  EXPECT_EQ(mng.FindTexture("TREES"), trees);
  const TexInfo* ab = mng.FindTexture("a.b");
  ASSERT_NE(ab, nullptr);
  EXPECT_EQ(EntryOf(mng, ab)->name, "a.b");
  EXPECT_TRUE(dev.created.empty());  // adding creates nothing
}

TEST(TextureMng, TheTableDoublesAndRecordsStayValid) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  N_TextureMngImpl mng(1024, &dev);
  std::vector<TexInfo*> records;
  // The names are appended to, not built with operator+: GCC 12 at -O3 warns (-Wrestrict)
  // about the inlined concatenation of a literal and a temporary.
  const auto name = [](const char* prefix, int i) { return std::string(prefix).append(std::to_string(i)); };
  for (int i = 0; i < 1024; ++i) records.push_back(mng.AddTexture(name("t", i).c_str(), 0, 0));
  EXPECT_EQ(mng.Capacity(), 1024);
  records.push_back(mng.AddTexture("t1024", 0, 0));
  EXPECT_EQ(mng.Capacity(), 2048);
  EXPECT_EQ(mng.LiveCount(), 1025);
  for (int i = 0; i <= 1024; ++i) {
    ASSERT_EQ(mng.FindTexture(name("T", i).c_str()), records[i]) << i;
    EXPECT_EQ(records[i]->texture, kTextureNotCreated);
  }
}

TEST(TextureMng, PurgeCreatesPendingAndFreesUnreferenced) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  dev.files["data\\trees.dds"] = 1408;
  N_TextureMngImpl mng(1024, &dev);
  TexInfo* trees = mng.AddTexture("trees", 3, 0);
  TexInfo* gone = mng.AddTexture("gone", 0, 0);
  mng.ReleaseTexture(gone);
  mng.PurgeTextures();
  // "gone" was freed without ever being created or released on the device.
  EXPECT_EQ(dev.created, (std::vector<std::string>{"data\\trees.dds"}));
  EXPECT_EQ(dev.parameters, (std::vector<std::uint32_t>{3}));
  EXPECT_TRUE(dev.released.empty());
  EXPECT_EQ(mng.LiveCount(), 1);
  EXPECT_EQ(mng.FindTexture("gone"), nullptr);
  EXPECT_EQ(trees->texture, 1);
  EXPECT_EQ(mng.TotalMemory(), 1408);
  EXPECT_EQ(dev.effectBinds, 1);

  // A second purge leaves the loaded texture alone; releasing twice stays at 0.
  mng.PurgeTextures();
  EXPECT_EQ(dev.created.size(), 1u);
  mng.ReleaseTexture(trees);
  mng.ReleaseTexture(trees);
  mng.ReleaseTexture(nullptr);
  TexInfo stranger;
  mng.ReleaseTexture(&stranger);
  EXPECT_EQ(EntryOf(mng, trees)->refCount, 0);
  mng.PurgeTextures();
  EXPECT_EQ(dev.released, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(mng.LiveCount(), 0);
  EXPECT_EQ(Count(core.LogText(), "TextureMng: 1 textures in memory\n"), 2);
  EXPECT_EQ(Count(core.LogText(), "TextureMng: 0 textures in memory\n"), 1);
  // Freed entries are taken again, first in table order.
  TexInfo* fresh = mng.AddTexture("new", 0, 0);
  EXPECT_EQ(mng.Entry(0)->record.get(), fresh);
  EXPECT_EQ(mng.Entry(0)->name, "new");
}

TEST(TextureMng, MissingFilesFallBackToTheDefaultTexture) {
  struct Case {
    const char* name;
    bool defaultExists;
    std::int32_t texture;       ///< after the purge
    std::int64_t memory;
  };
  const Case cases[] = {{"missing", true, 1, 8}, {"missing", false, 0, 0}};
  for (const Case& c : cases) {
    test::TempDir dir;
    test::CoreServices core;
    test::FakeTextureDevice dev;
    if (!c.defaultExists) dev.files.clear();
    N_TextureMngImpl mng(1024, &dev);
    TexInfo* rec = mng.AddTexture(c.name, 0, 0);
    mng.PurgeTextures();
    EXPECT_EQ(dev.created, (std::vector<std::string>{"data\\missing.dds", "data\\textures\\default.dds"}));
    EXPECT_EQ(rec->texture, c.texture);
    EXPECT_EQ(mng.TotalMemory(), c.memory);
    EXPECT_EQ(Count(core.LogText(), "!!! Error loading texture 'missing'\n"), 1);
    // A failed creation is not retried.
    mng.PurgeTextures();
    EXPECT_EQ(dev.created.size(), 2u);
    EXPECT_EQ(Count(core.LogText(), "!!!"), 1);
  }
}

TEST(TextureMng, SpecialNamesAreNeverLoaded) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  N_TextureMngImpl mng(1024, &dev);
  std::vector<TexInfo*> records;
  for (const char* name : {"noname", "$lightmap", "$WhiteImage"}) records.push_back(mng.AddTexture(name, 0, 0));
  for (int i = 0; i < 3; ++i) mng.PurgeTextures();
  EXPECT_TRUE(dev.created.empty());
  for (TexInfo* r : records) EXPECT_EQ(r->texture, kTextureNotCreated);
  EXPECT_EQ(mng.TotalMemory(), 0);
  // Freed without a release: they never reached the device.
  mng.ResetRefCounts();
  mng.PurgeTextures();
  EXPECT_TRUE(dev.released.empty());
  EXPECT_EQ(mng.LiveCount(), 0);
}

TEST(TextureMng, LightmapsStayOutsideTheTable) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  dev.files["data\\levels\\lm0.dds"] = 4096;
  N_TextureMngImpl mng(1024, &dev);
  TexInfo lightmap;
  lightmap.kind = 2;
  EXPECT_EQ(mng.LoadLightmap("levels\\lm0", &lightmap, N_TextureMng::kLightmapParameter), 4096u);
  EXPECT_EQ(lightmap.kind, 0u);
  EXPECT_EQ(dev.parameters.back(), 0x93u);
  TexInfo missing;
  EXPECT_EQ(mng.LoadLightmap("levels\\lm1", &missing, 0x93), 8u);
  EXPECT_EQ(mng.LiveCount(), 0);
  EXPECT_EQ(mng.FindTexture("levels\\lm0"), nullptr);
  EXPECT_EQ(mng.TotalMemory(), 4096 + 8);
  EXPECT_EQ(Count(core.LogText(), "!!! Error loading lightmap 'levels\\lm1'\n"), 1);
}

TEST(TextureMng, DestructionReleasesEverythingAndReportsTheTotal) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  dev.files["data\\big.dds"] = 3 * 1048576 + 5;
  {
    N_TextureMngImpl mng(4, &dev);
    mng.AddTexture("big", 0, 0);
    mng.AddTexture("other", 0, 0);
    mng.PurgeTextures();
  }
  EXPECT_EQ(dev.released, (std::vector<std::int32_t>{1, 2}));
  const std::string log = core.LogText();
  EXPECT_NE(log.find("TextureMng: 0 textures in memory\nTextureMng: Total texture memory consumed: 3 MB\n"),
            std::string::npos)
      << log;
}

TEST(TextureMngDeathTest, NamesPast511CharactersAreCritical) {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeTextureDevice dev;
  N_TextureMngImpl mng(1024, &dev);
  EXPECT_NE(mng.AddTexture(std::string(511, 'x').c_str(), 0, 0), nullptr);
  EXPECT_EXIT(mng.AddTexture(std::string(512, 'x').c_str(), 0, 0), testing::ExitedWithCode(255), "");
  EXPECT_NE(core.LogText().find("*** Texture name is longer than 512 characters!\n"), std::string::npos);
}

}  // namespace

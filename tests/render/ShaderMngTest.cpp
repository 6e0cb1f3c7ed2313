#include "render/ShaderMng.h"
#include "render/ShaderParser.h"

#include "core/FileFinder.h"
#include "platform/win32.h"

#include "tests/render/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

class ShaderMngTest : public ::testing::Test {
 protected:
  test::ShaderTestEnv env;
  test::FakeShaderHost host;
  N_ShaderMng mng{1024, host};
};

TEST_F(ShaderMngTest, NamesShareAnEntryWithoutRegardToCase) {
  const int console = mng.AddShader("console", 0, 3);
  EXPECT_EQ(mng.AddShader("CONSOLE", 7, 0), console);
  const N_ShaderEntry* entry = mng.GetEntry(console);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->refCount, 2);
  EXPECT_EQ(*entry->name, "console");
  EXPECT_EQ(entry->flags, 0u);
  EXPECT_EQ(entry->type, 3u);
  EXPECT_NE(mng.AddShader("other", 0, 0), console);
  EXPECT_EQ(mng.Count(), 2);
}

TEST_F(ShaderMngTest, BadHandlesMeanNoShader) {
  const int handle = mng.AddShader("a", 0, 0);
  mng.LoadShaders();
  for (const int bad : {-1, -7, 1024, 5000}) {
    EXPECT_EQ(mng.GetShader(bad), nullptr);
    EXPECT_EQ(mng.GetEntry(bad), nullptr);
    mng.ReleaseShader(bad);
  }
  EXPECT_NE(mng.GetShader(handle), nullptr);
  EXPECT_EQ(mng.GetShader(handle + 1), nullptr);  // a free entry
}

TEST_F(ShaderMngTest, DefaultShadersForNamesWithoutBlocks) {
  const int level = mng.AddShader("textures/snow", 0x2, 0);
  const int gui = mng.AddShader("gui/button", 0, N_ShaderMng::kType2D);
  mng.LoadShaders();

  const N_Shader* shader = mng.GetShader(level);
  ASSERT_NE(shader, nullptr);
  EXPECT_EQ(shader->surfaceParm, 0x2u);
  EXPECT_EQ(shader->flags, 0x110u);
  EXPECT_EQ(shader->cull, Cull::Back);
  ASSERT_EQ(shader->stageCount, 2);
  const N_ShaderStage& base = *shader->stages[0];
  EXPECT_EQ(base.flags, 0x80u);
  ASSERT_EQ(base.TextureCount(), 1);
  EXPECT_EQ(host.NameOf(base.textures[0]), "textures/snow");
  EXPECT_EQ(host.adds[0].parameter, 0x80u);
  EXPECT_EQ(base.blendSrc, GlValue::kOne);
  EXPECT_EQ(base.blendDst, GlValue::kZero);
  const N_ShaderStage& lightmap = *shader->stages[1];
  EXPECT_EQ(lightmap.flags, 0x16u);
  EXPECT_EQ(lightmap.blendSrc, GlValue::kDstColor);
  EXPECT_EQ(lightmap.blendDst, GlValue::kZero);
  EXPECT_TRUE(lightmap.depthWrite);
  EXPECT_EQ(lightmap.tcGen, TcGen::Lightmap);
  EXPECT_EQ(lightmap.rgbGen, RgbGen::Identity);
  ASSERT_EQ(lightmap.TextureCount(), 1);
  EXPECT_EQ(lightmap.textures[0], nullptr);

  const N_Shader* flat = mng.GetShader(gui);
  ASSERT_NE(flat, nullptr);
  ASSERT_EQ(flat->stageCount, 1);
  EXPECT_EQ(flat->cull, Cull::None);  // the batcher's quads are wound clockwise on screen
  EXPECT_EQ(flat->flags, 0u);
  EXPECT_EQ(host.NameOf(flat->stages[0]->textures[0]), "gui/button");
  EXPECT_EQ(host.adds.size(), 2u);
  EXPECT_EQ(env.Count("ShaderMng: 2 shaders in memory\n"), 1);
}

TEST_F(ShaderMngTest, FirstBlockWinsInFileOrder) {
  test::WriteScript(env.dir, "b.shader", "water\n{\n{ map from_b }\n}\n");
  test::WriteScript(env.dir, "a.shader",
                    "sky { { map unused } }\n"
                    "water\n{\n{ map from_a }\n}\n"
                    "water { { map second_block } }\n");
  env.dir.Write("data/scripts/sub/c.shader", "snow { { map sub_folder } }\n");
  const int water = mng.AddShader("WATER", 0x8, 0);
  const int snow = mng.AddShader("snow", 0, 0);
  mng.LoadShaders();
  const N_Shader* shader = mng.GetShader(water);
  ASSERT_NE(shader, nullptr);
  ASSERT_EQ(shader->stageCount, 1);
  EXPECT_EQ(host.NameOf(shader->stages[0]->textures[0]), "from_a");
  EXPECT_EQ(shader->surfaceParm, 0x8u);
  // Only the sub-folder's file names snow, and the finder does not descend.
  EXPECT_EQ(mng.GetShader(snow)->stageCount, 2);
  EXPECT_EQ(host.Refs("unused") + host.Refs("from_b") + host.Refs("second_block"), 0);

  const std::string log = env.Log();
  const auto aAt = log.find("---  ");
  ASSERT_NE(aAt, std::string::npos);
  EXPECT_NE(log.find("a.shader\n", aAt), std::string::npos);
  EXPECT_LT(log.find("a.shader\n"), log.find("b.shader\n"));
  EXPECT_NE(log.find(" +    water\n"), std::string::npos);
  EXPECT_EQ(env.Count(" +    "), 1);
  EXPECT_EQ(env.Count("*** "), 0);
}

TEST_F(ShaderMngTest, MultipliedPairsAreMarked) {
  test::WriteScript(env.dir, "pairs.shader",
                    "dst { { map a } { map $lightmap\n blendfunc GL_DST_COLOR GL_ZERO } }\n"
                    "filter { { map a } { map b\n blendfunc filter } { map c\n blendfunc add } }\n"
                    "alone { { map a\n blendfunc GL_DST_COLOR GL_ZERO } }\n");
  const int dst = mng.AddShader("dst", 0, 0);
  const int filter = mng.AddShader("filter", 0, 0);
  const int alone = mng.AddShader("alone", 0, 0);
  mng.LoadShaders();
  const N_Shader& a = *mng.GetShader(dst);
  EXPECT_EQ(a.stages[0]->flags & 0x80u, 0x80u);
  EXPECT_EQ(a.flags & 0x100u, 0x100u);
  const N_Shader& b = *mng.GetShader(filter);
  EXPECT_EQ(b.stages[0]->flags & 0x80u, 0x80u);
  EXPECT_EQ(b.stages[1]->flags & 0x80u, 0u);
  EXPECT_EQ(b.flags & 0x100u, 0x100u);
  const N_Shader& c = *mng.GetShader(alone);
  EXPECT_EQ(c.stages[0]->flags & 0x80u, 0u);
  EXPECT_EQ(c.flags & 0x100u, 0u);
}

TEST_F(ShaderMngTest, ReleaseFreesAtOnceAndTheHandleIsReused) {
  test::WriteScript(env.dir, "x.shader", "glow\n{\n{ map glow1\n}\n{ map glow2\n blendfunc add\n}\n}\n");
  const int glow = mng.AddShader("glow", 0, 0);
  mng.LoadShaders();
  const N_Shader* record = mng.GetShader(glow);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(host.TotalRefs(), 2);

  mng.ReleaseShader(glow);
  EXPECT_EQ(mng.GetShader(glow), nullptr);
  EXPECT_EQ(mng.Count(), 0);
  EXPECT_EQ(host.TotalRefs(), 0);
  EXPECT_EQ(host.forgotten, std::vector<const N_Shader*>{record});
  mng.ReleaseShader(glow);  // a free entry: nothing happens

  const int next = mng.AddShader("late", 0, 0);
  EXPECT_EQ(next, glow);
  EXPECT_EQ(mng.GetShader(next), nullptr);  // no record until the next LoadShaders
  mng.LoadShaders();
  ASSERT_NE(mng.GetShader(next), nullptr);
  EXPECT_EQ(host.NameOf(mng.GetShader(next)->stages[0]->textures[0]), "late");
}

TEST_F(ShaderMngTest, TableDoublesWhenFull) {
  test::FakeShaderHost smallHost;
  N_ShaderMng small(2, smallHost);
  const int a = small.AddShader("a", 0, 0);
  const int b = small.AddShader("b", 0, 0);
  EXPECT_EQ(small.Capacity(), 2);
  // With every entry in use, even a known name grows the table first.
  EXPECT_EQ(small.AddShader("A", 0, 0), a);
  EXPECT_EQ(small.Capacity(), 4);
  EXPECT_EQ(small.GetEntry(a)->refCount, 2);
  const int c = small.AddShader("c", 0, 0);
  const int d = small.AddShader("d", 0, 0);
  const int e = small.AddShader("e", 0, 0);
  EXPECT_EQ(small.Capacity(), 8);
  EXPECT_EQ((std::vector<int>{a, b, c, d, e}), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(*small.GetEntry(b)->name, "b");
  EXPECT_EQ(small.Count(), 5);

  N_ShaderMng empty(0, smallHost);
  EXPECT_EQ(empty.AddShader("x", 0, 0), 0);
  EXPECT_EQ(empty.Capacity(), 1);
}

TEST_F(ShaderMngTest, ShutdownCycleFreesEverything) {
  test::WriteScript(env.dir, "fx.shader", "water\n{\nfx data\\effects\\water.fx\n{ map w1\n}\n}\n");
  const int water = mng.AddShader("water", 0, 0);
  mng.AddShader("water", 0, 0);
  mng.AddShader("rock", 0, 0);
  mng.AddShader("hud", 0, 3);
  mng.LoadShaders();
  EXPECT_EQ(mng.GetShader(water)->flags & 0x800u, 0x800u);
  EXPECT_EQ(host.effects.size(), 1u);
  EXPECT_EQ(mng.Count(), 3);
  EXPECT_EQ(host.TotalRefs(), 3);

  mng.ResetRefCounts();
  mng.LoadShaders();
  EXPECT_EQ(mng.Count(), 0);
  EXPECT_EQ(host.TotalRefs(), 0);
  EXPECT_EQ(host.destroyedEffects, 1);
  EXPECT_EQ(host.forgotten.size(), 3u);
  for (int i = 0; i < mng.Capacity(); ++i) ASSERT_TRUE(mng.GetEntry(i)->IsFree());
  EXPECT_EQ(env.Count("ShaderMng: 0 shaders in memory\n"), 1);
}

TEST_F(ShaderMngTest, ResetReferencedNameSurvivesWhenAddedAgain) {
  const int a = mng.AddShader("a", 0, 0);
  mng.LoadShaders();
  mng.ResetRefCounts();
  EXPECT_EQ(mng.AddShader("a", 0, 0), a);  // still named, so found again
  mng.LoadShaders();
  EXPECT_NE(mng.GetShader(a), nullptr);
  EXPECT_EQ(mng.Count(), 1);
}

/// The sample scripts of the game root: the engine's start-up shaders and every
/// shader they define load without a single report.
TEST(ShaderSampleData, SampleScriptsLoadCleanly) {
  test::ShaderTestEnv env;
  test::FakeShaderHost host;
  N_ShaderMng mng(1024, host);
  ASSERT_FALSE(test::GameRoot().empty());
  std::filesystem::current_path(test::GameRoot());
  N_FileList::RecaptureWorkingDirectory();  // where the finder looks

  const char* const startup[] = {"gfx/2d/bigchars", "console", "HmlaHack1"};
  std::vector<int> handles;
  for (const char* name : startup) handles.push_back(mng.AddShader(name, 0, N_ShaderMng::kType2D));
  // Every block of the samples, found by reading their names.
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator("data/scripts")) {
    if (file.path().extension() != ".shader") continue;
    test::FakeShaderHost scratch;
    N_ShaderParser parser(file.path().c_str(), scratch);
    for (const char* token = parser.NextToken(true); token; token = parser.NextToken(true)) {
      names.emplace_back(token);
      parser.SkipBlock();
    }
  }
  ASSERT_GE(names.size(), 6u);
  for (const std::string& name : names) mng.AddShader(name.c_str(), 0, 0);
  mng.LoadShaders();
  // Every texture they name is in the sample data.
  ASSERT_GE(host.adds.size(), 20u);
  for (const auto& add : host.adds) {
    EXPECT_TRUE(std::filesystem::exists(platform::ResolvePath("data\\" + add.name + ".dds"))) << add.name;
  }
  std::filesystem::current_path(env.dir.Path());

  for (int handle : handles) {
    const N_Shader* shader = mng.GetShader(handle);
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(shader->cull, Cull::None) << *mng.GetEntry(handle)->name;
  }
  for (const std::string& name : names) EXPECT_NE(env.Log().find(" +    " + name + "\n"), std::string::npos) << name;
  EXPECT_EQ(env.Count("*** "), 0) << env.Log();
}

}  // namespace

#include "race/World.h"

#include <gtest/gtest.h>

namespace {

TEST(ShaderMng, HandsOutDistinctHandlesPerNameAndCountsReferences) {
  N_ShaderMng shaders(4);
  const int bigchars = shaders.AddShader("gfx/2d/bigchars", 0, 3);
  const int console = shaders.AddShader("console", 0, 3);
  const int third = shaders.AddShader("HmlaHack1", 0, 3);
  EXPECT_EQ(bigchars, 0);
  EXPECT_EQ(console, 1);
  EXPECT_EQ(third, 2);
  EXPECT_EQ(shaders.AddShader("CONSOLE", 0, 3), console) << "names ignore case";
  EXPECT_EQ(shaders.RefCount(console), 2);
  shaders.ReleaseShader(console);
  shaders.ReleaseShader(console);
  EXPECT_EQ(shaders.RefCount(console), 0);
  EXPECT_EQ(shaders.Name(console), "");
  shaders.ReleaseShader(console);  // no references left: ignored
  shaders.ReleaseShader(-1);
  shaders.ReleaseShader(99);
  EXPECT_EQ(shaders.AddShader("next", 0, 3), console) << "a freed entry is reused";
  EXPECT_EQ(shaders.AddShader("fourth", 0, 3), 3);
  EXPECT_EQ(shaders.AddShader("fifth", 0, 3), -1) << "full";
  EXPECT_EQ(shaders.AddShader(nullptr, 0, 3), -1);
}

TEST(TextBatch, KeepsQueuedTextsUpToItsCapacity) {
  N_TextBatch batch;
  batch.AddText("0", 5, 550.0f, 0.0f, 0.8f, 6, 255);
  ASSERT_EQ(batch.Queued().size(), 1u);
  const N_TextBatch::QueuedText& t = batch.Queued()[0];
  EXPECT_EQ(t.text, "0");
  EXPECT_EQ(t.shader, 5);
  EXPECT_FLOAT_EQ(t.x, 550.0f);
  EXPECT_FLOAT_EQ(t.scale, 0.8f);
  EXPECT_EQ(t.colour, 6);
  EXPECT_EQ(t.alpha, 255);
  for (std::size_t i = 0; i < N_TextBatch::kMaxEntries + 10; ++i) batch.AddText("x", 0, 0, 0, 1, 0, 255);
  EXPECT_EQ(batch.Queued().size(), N_TextBatch::kMaxEntries);
  batch.AddText(nullptr, 0, 0, 0, 1, 0, 255);
  batch.Flush();
  EXPECT_TRUE(batch.Queued().empty());
}

TEST(World, OwnsItsShaderManagerAndTextBatcher) {
  N_World world(nullptr);
  EXPECT_EQ(world.TextureMng(), nullptr);
  EXPECT_TRUE(world.Init());
  EXPECT_EQ(world.ShaderMng().AddShader("a", 0, 3), 0);
  world.Update(0.016f);
  world.Render(0.016f);
}

}  // namespace

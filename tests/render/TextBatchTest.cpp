// The 2D text and quad batcher: layout of fixed-font and proportional text, the fades,
// quads, measuring, the queue's limits and the flush's shader binds.
#include "core/Font.h"
#include "render/TextBatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// Records what Flush asks for.
struct RecordingTarget final : N_TextBatchTarget {
  void ClearDepth() override { calls.push_back("clear"); }
  void BindShader(std::int32_t shader) override { calls.push_back("bind " + std::to_string(shader)); }
  void DrawSurface(N_MeshSurface& entry) override {
    calls.push_back("draw " + std::to_string(entry.vertexCount));
    drawn.push_back(entry);
  }
  bool DrawsInOnePass(std::int32_t shader) override { return shader == onePass; }
  std::vector<std::string> calls;
  std::vector<N_MeshSurface> drawn;
  std::int32_t onePass = -2;  ///< the shader drawn in one pass (none by default)
};

/// A font of the letters 'a' to 'c' with the given advances (in screen units).
N_Font MakeFont(float a, float b, float c) {
  N_Font font;
  font.firstChar = 'a';
  font.glyphCount = 3;
  font.glyphs = {{0.0f, 0.0f, 0.1f, 0.2f, a}, {0.1f, 0.0f, 0.2f, 0.2f, b}, {0.2f, 0.0f, 0.3f, 0.2f, c}};
  return font;
}

std::uint32_t AlphaOf(const N_SurfaceVertex& v) { return v.colour >> 24; }

class TextBatchTest : public ::testing::Test {
 protected:
  TextBatchTest() { batch.Init(); }
  const N_SurfaceVertex& Vertex(std::uint32_t entry, std::uint32_t i) { return batch.Entry(entry).vertices[i]; }

  RecordingTarget target;
  N_TextBatch batch{&target};
};

TEST_F(TextBatchTest, FixedFontTextWithABlank) {
  batch.AddText("A B", 4, 100.0f, 50.0f, 0.5f, 6, 255);
  ASSERT_EQ(batch.EntryCount(), 1u);
  const N_MeshSurface& entry = batch.Entry(0);
  EXPECT_EQ(entry.vertexCount, 8u);
  EXPECT_EQ(entry.indexCount, 12u);
  EXPECT_EQ(entry.shader, 4);
  EXPECT_EQ(entry.indexed, 1u);
  EXPECT_EQ(entry.primitiveType, 0);
  EXPECT_EQ(batch.VertexCount(), 8u);
  EXPECT_EQ(batch.IndexCount(), 12u);
  // A: top-left, top-right, bottom-left, bottom-right; B 16 x scale further right.
  EXPECT_EQ(Vertex(0, 0).position[0], 100.0f);
  EXPECT_EQ(Vertex(0, 1).position[0], 104.0f);
  EXPECT_EQ(Vertex(0, 2).position[1], 58.0f);
  EXPECT_EQ(Vertex(0, 4).position[0], 108.0f);
  // 'A' = 0x41: column 1, row 4; 15/256 wide, 1/16 high; palette 6 is cyan.
  EXPECT_EQ(Vertex(0, 0).uv0[0], 1.0f / 16.0f);
  EXPECT_EQ(Vertex(0, 0).uv0[1], 0.25f);
  EXPECT_EQ(Vertex(0, 3).uv0[0], 1.0f / 16.0f + 15.0f / 256.0f);
  EXPECT_EQ(Vertex(0, 3).uv0[1], 0.25f + 1.0f / 16.0f);
  EXPECT_EQ(Vertex(0, 0).colour, 0xFF00FFFFu);
  const std::uint16_t pattern[12] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(entry.indices[i], pattern[i]) << i;
}

TEST_F(TextBatchTest, UpperCharactersGiveNegativeRows) {
  batch.AddText("\x80\xF5", 0, 0.0f, 0.0f, 1.0f, 0, 128);
  EXPECT_EQ(Vertex(0, 0).uv0[1], -0.5f);
  EXPECT_EQ(Vertex(0, 3).uv0[1], -0.4375f);
  EXPECT_EQ(Vertex(0, 4).uv0[0], 5.0f / 16.0f);
  EXPECT_EQ(Vertex(0, 4).uv0[1], -0.0625f);
  EXPECT_EQ(Vertex(0, 7).uv0[1], 0.0f);
  EXPECT_EQ(AlphaOf(Vertex(0, 0)), 128u);
}

TEST_F(TextBatchTest, EntriesFollowEachOtherInTheVertexArea) {
  batch.AddText("", 1, 0, 0, 1, 0, 255);
  batch.AddText("ab", 1, 0, 0, 1, 0, 255);
  batch.AddQuad(1, 0, 0, 1, 1, 1, 1, 255);
  ASSERT_EQ(batch.EntryCount(), 3u);
  EXPECT_EQ(batch.Entry(0).vertexCount, 0u) << "an empty text queues an entry that draws nothing";
  EXPECT_EQ(batch.Entry(2).vertices, batch.Entry(1).vertices + 8);
  EXPECT_EQ(batch.Entry(2).indices, batch.Entry(1).indices) << "every entry starts at the index area";
}

TEST_F(TextBatchTest, FlushBindsOnlyWhenTheShaderChanges) {
  batch.AddText("a", 5, 0, 0, 1, 0, 255);
  batch.AddText("bb", 5, 0, 0, 1, 0, 255);
  batch.AddText("c", 7, 0, 0, 1, 0, 255);
  batch.Flush();
  EXPECT_EQ(target.calls, (std::vector<std::string>{"clear", "bind 5", "draw 4", "draw 8", "bind 7", "draw 4"}));
  EXPECT_EQ(batch.EntryCount(), 0u);
  EXPECT_EQ(batch.IndexCount(), 0u);
  EXPECT_EQ(batch.VertexCount(), 0u);
  target.calls.clear();
  batch.Flush();
  EXPECT_EQ(target.calls, (std::vector<std::string>{"clear"}));

  // A one-pass material's entries in a row are one draw of all their quads, in order.
  target.onePass = 5;
  batch.AddText("a", 5, 0, 0, 1, 0, 255);
  batch.AddQuad(5, 0, 0, 1, 1, 1, 1, 255);
  batch.AddText("bb", 5, 0, 0, 1, 0, 255);
  batch.AddText("c", 7, 0, 0, 1, 0, 255);
  batch.AddText("c", 7, 0, 0, 1, 0, 255);
  batch.AddText("a", 5, 0, 0, 1, 0, 255);
  const N_SurfaceVertex* first = batch.Entry(0).vertices;
  target.calls.clear();
  batch.Flush();
  EXPECT_EQ(target.calls, (std::vector<std::string>{"clear", "bind 5", "draw 16", "bind 7", "draw 4", "draw 4",
                                                    "bind 5", "draw 4"}));
  ASSERT_EQ(target.drawn.size(), 3u + 4u);
  const N_MeshSurface& together = target.drawn[3];
  EXPECT_EQ(together.vertices, first);
  EXPECT_EQ(together.indexCount, 24u);
  EXPECT_EQ(together.indices[18], 12u) << "the fourth quad's first index";
}

TEST_F(TextBatchTest, ProportionalTextAlignment) {
  const N_Font font = MakeFont(50.0f, 50.0f, 10.0f);
  struct Case {
    std::int32_t hAlign, vAlign;
    float left, top;
  };
  const Case cases[] = {
      {1, 0, 220.0f, 100.0f},   // centred: 320 - 200 / 2
      {2, 1, 120.0f, 84.0f},    // right; middle: 100 - 8 x 2
      {0, 2, 320.0f, 68.0f},    // left; bottom: 100 - 16 x 2
      {7, -1, 320.0f, 100.0f},  // other values act as left and top
  };
  for (const Case& c : cases) {
    N_TextBatch local;
    local.AddFontText("ab", 3, &font, 320.0f, 100.0f, c.hAlign, c.vAlign, 2.0f, 0, 255);
    ASSERT_EQ(local.EntryCount(), 1u);
    const N_SurfaceVertex* v = local.Entry(0).vertices;
    EXPECT_EQ(v[0].position[0], c.left) << c.hAlign;
    EXPECT_EQ(v[0].position[1], c.top) << c.vAlign;
    EXPECT_EQ(v[3].position[0], c.left + 100.0f);
    EXPECT_EQ(v[3].position[1], c.top + 32.0f);
    EXPECT_EQ(v[4].position[0], c.left + 100.0f);
    EXPECT_EQ(v[0].uv0[0], 0.0f);
    EXPECT_EQ(v[3].uv0[0], 0.1f);
    EXPECT_EQ(v[3].uv0[1], 0.2f);
  }
  // Characters outside the font take no room; blanks take their glyph's room.
  batch.AddFontText("a z b", 0, &font, 0.0f, 0.0f, 0, 0, 1.0f, 0, 255);
  EXPECT_EQ(batch.Entry(0).vertexCount, 12u);
  EXPECT_EQ(Vertex(0, 8).position[0], 50.0f);
  // A null font queues nothing.
  batch.AddFontText("abc", 0, nullptr, 0, 0, 0, 0, 1.0f, 0, 255);
  batch.AddFontTextFadeX("abc", 0, nullptr, 0, 0, 0, 0, 0, 0, 1.0f, 0, 255);
  batch.AddFontTextFadeY("abc", 0, nullptr, 0, 0, 0, 0, 0, 0, 1.0f, 0, 255);
  EXPECT_EQ(batch.EntryCount(), 1u);
}

TEST_F(TextBatchTest, FadesScaleTheAlphaNearTheLimits) {
  const N_Font font = MakeFont(10.0f, 10.0f, 10.0f);
  // By x: limits 100 and 300, w = 10 x 4 = 40.
  batch.AddFontTextFadeX("a", 0, &font, 120.0f, 0.0f, 100.0f, 300.0f, 0, 0, 1.0f, 0, 200);
  EXPECT_EQ(AlphaOf(Vertex(0, 0)), 100u);  // 200 x 20/40
  EXPECT_EQ(AlphaOf(Vertex(0, 2)), 100u);
  EXPECT_EQ(AlphaOf(Vertex(0, 1)), 150u);  // right edge at 130: 200 x 30/40
  batch.AddFontTextFadeX("a", 0, &font, 200.0f, 0.0f, 100.0f, 300.0f, 0, 0, 1.0f, 0, 200);
  EXPECT_EQ(AlphaOf(Vertex(1, 0)), 200u);
  batch.AddFontTextFadeX("a", 0, &font, 280.0f, 0.0f, 100.0f, 300.0f, 0, 0, 1.0f, 0, 200);
  EXPECT_EQ(AlphaOf(Vertex(2, 1)), 50u);  // right edge at 290, near the right limit
  // By y: w = 82 x scale; top limit 59 and the top at 100 (scale 1).
  batch.AddFontTextFadeY("a", 0, &font, 0.0f, 100.0f, 59.0f, 400.0f, 0, 0, 1.0f, 0, 200);
  EXPECT_EQ(AlphaOf(Vertex(3, 0)), 100u);
  EXPECT_EQ(AlphaOf(Vertex(3, 1)), 100u);
  EXPECT_EQ(AlphaOf(Vertex(3, 2)), 139u);  // bottom at 116: 200 x 57/82
  EXPECT_EQ(Vertex(3, 0).colour & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TextBatchTest, QuadsAndTheirColours) {
  batch.AddQuad(2, 10.0f, 20.0f, 30.0f, 40.0f, 0.5f, 0.25f, 99);
  const std::uint8_t colour[4] = {0x80, 0x11, 0x22, 0x33};
  batch.AddColorQuad(2, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, colour);
  EXPECT_EQ(batch.Entry(0).vertexCount, 4u);
  EXPECT_EQ(batch.Entry(0).indexCount, 6u);
  EXPECT_EQ(Vertex(0, 0).colour, 0x63FFFFFFu);
  EXPECT_EQ(Vertex(0, 1).position[0], 40.0f);
  EXPECT_EQ(Vertex(0, 1).uv0[0], 0.5f);
  EXPECT_EQ(Vertex(0, 2).position[1], 60.0f);
  EXPECT_EQ(Vertex(0, 3).uv0[1], 0.25f);
  EXPECT_EQ(Vertex(1, 0).colour, 0x80112233u);
}

TEST_F(TextBatchTest, Measuring) {
  float width = 0.0f, height = 0.0f;
  batch.MeasureText("abc", nullptr, 0.8f, &width, &height);
  EXPECT_FLOAT_EQ(width, 19.2f);
  EXPECT_FLOAT_EQ(height, 12.8f);
  const N_Font font = MakeFont(1.0f, 2.0f, 4.0f);
  batch.MeasureText("cab!", &font, 2.0f, &width, &height);
  EXPECT_FLOAT_EQ(width, 14.0f);
  EXPECT_FLOAT_EQ(height, 32.0f);
}

TEST_F(TextBatchTest, BadPaletteIndicesAreRejected) {
  batch.AddText("a", 0, 0, 0, 1, 12, 255);
  batch.AddText("a", 0, 0, 0, 1, -1, 255);
  const N_Font font = MakeFont(1, 1, 1);
  batch.AddFontText("a", 0, &font, 0, 0, 0, 0, 1, 99, 255);
  EXPECT_EQ(batch.EntryCount(), 0u);
  batch.AddText("a", 0, 0, 0, 1, 11, 255);
  EXPECT_EQ(Vertex(0, 0).colour, 0xFFB4B4B4u);
}

TEST_F(TextBatchTest, TheEntryLimitDropsThe4025thAdd) {
  for (std::uint32_t i = 0; i < N_TextBatch::kMaxEntries; ++i) batch.AddQuad(0, 0, 0, 1, 1, 1, 1, 255);
  EXPECT_EQ(batch.EntryCount(), 4024u);
  testing::internal::CaptureStderr();
  batch.AddText("x", 0, 0, 0, 1, 0, 255);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Buffer overflow!!!"), std::string::npos);
  EXPECT_EQ(batch.EntryCount(), 4024u);
  batch.Flush();
  batch.AddText("x", 0, 0, 0, 1, 0, 255);
  EXPECT_EQ(batch.EntryCount(), 1u);
}

TEST_F(TextBatchTest, WhatDoesNotFitTheIndexAreaIsDropped) {
  const std::string full(4096, 'x');
  batch.AddText(full.c_str(), 0, 0, 0, 1, 0, 255);  // exactly the 4096 quads of the index area
  EXPECT_EQ(batch.IndexCount(), N_TextBatch::kMaxIndices);
  testing::internal::CaptureStderr();
  batch.AddText("x", 0, 0, 0, 1, 0, 255);
  batch.AddQuad(0, 0, 0, 1, 1, 1, 1, 255);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Buffer overflow!!!"), std::string::npos);
  batch.AddText(" ", 0, 0, 0, 1, 0, 255);  // blanks need no room
  EXPECT_EQ(batch.EntryCount(), 2u);
  batch.Flush();
  const std::string tooLong(4097, 'x');
  batch.AddText(tooLong.c_str(), 0, 0, 0, 1, 0, 255);
  EXPECT_EQ(batch.EntryCount(), 0u);
  EXPECT_EQ(batch.VertexCount(), 0u);
}

}  // namespace

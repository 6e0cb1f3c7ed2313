#include "render/Shader.h"
#include "render/ShaderNames.h"
#include "render/TexInfo.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

TEST(ShaderRecord, NewStageDefaultsAndLimits) {
  N_Shader shader;
  EXPECT_EQ(shader.cull, Cull::Back);
  EXPECT_EQ(shader.sort, 3u);
  N_ShaderStage* stage = shader.AddStage();
  ASSERT_NE(stage, nullptr);
  EXPECT_EQ(stage->blendSrc, NameToConstant("GL_ONE"));
  EXPECT_EQ(stage->blendDst, NameToConstant("GL_ZERO"));
  EXPECT_EQ(stage->alphaFunc, NameToConstant("GL_ALWAYS"));
  EXPECT_EQ(stage->alphaRef, 255);
  EXPECT_EQ(stage->depthFunc, NameToConstant("GL_LEQUAL"));
  EXPECT_TRUE(stage->depthWrite);
  EXPECT_EQ(stage->rgbGen, RgbGen::Identity);
  EXPECT_EQ(stage->tcGen, TcGen::Base);
  EXPECT_EQ(stage->colorOp, 4u);

  for (int i = 1; i < N_Shader::kMaxStages; ++i) ASSERT_NE(shader.AddStage(), nullptr);
  EXPECT_EQ(shader.AddStage(), nullptr);
  EXPECT_EQ(shader.stageCount, 8);
  EXPECT_EQ(shader.Stage(8), nullptr);
  EXPECT_EQ(shader.Stage(-1), nullptr);

  for (int i = 0; i < 7; ++i) ASSERT_EQ(shader.AddDeform(), &shader.deforms[i]);
  EXPECT_EQ(shader.AddDeform(), nullptr);
  EXPECT_EQ(shader.deformCount, 7);
}

TEST(ShaderRecord, AlphaReferenceIsTruncated) {
  const std::pair<float, int> cases[] = {{0.5f, 127}, {1.0f, 255}, {0.0f, 0}, {200.0f / 255.0f, 200}, {2.0f, 255}, {-1.0f, 0}};
  N_ShaderStage stage;
  for (const auto& [value, reference] : cases) {
    stage.SetAlphaFunc(5, value);
    EXPECT_EQ(stage.alphaRef, reference) << value;
  }
  for (int n = 0; n <= 255; ++n) {  // every "alphafunc gt n" keeps n
    stage.SetAlphaFunc(5, static_cast<float>(n) / 255.0f);
    ASSERT_EQ(stage.alphaRef, n);
  }
}

TEST(ShaderRecord, GetFrame) {
  TexInfo record;
  TexInfo* const some = &record;
  N_ShaderStage animated;
  for (int i = 0; i < 4; ++i) animated.AddTexture(some, 10.0f);
  N_ShaderStage ifl;
  ifl.flags = StageFlag::kIfl;
  for (int i = 0; i < 3; ++i) ifl.AddTexture(some, 0.0f);
  ifl.frameTimes = {0.1f, 0.2f, 0.3f};
  ifl.frequency = 0.6f;
  N_ShaderStage shortList = ifl;  // a line without a frame time left the list short
  shortList.frameTimes = {0.1f, 0.2f};
  shortList.frequency = 0.3f;
  N_ShaderStage zeroTotal = ifl;
  zeroTotal.frameTimes = {0.0f, 0.0f, 0.0f};
  zeroTotal.frequency = 0.0f;
  N_ShaderStage empty;

  struct Case {
    const N_ShaderStage* stage;
    float time;
    int frame;
  };
  const Case cases[] = {
      {&animated, 0.0f, 0},  {&animated, 0.25f, 2},  {&animated, 0.4f, 0},   {&animated, 0.35f, 3},
      {&animated, 1.45f, 2}, {&ifl, 0.75f, 1},       {&ifl, 0.05f, 0},       {&ifl, 0.59f, 2},
      {&ifl, 1.35f, 1},      {&shortList, 0.29f, 1}, {&zeroTotal, 5.0f, 0},  {&empty, 3.0f, 0},
      {&animated, -1.0f, 0},
  };
  for (const Case& c : cases) {
    const int frame = c.stage->GetFrame(c.time);
    EXPECT_EQ(frame, c.frame) << "time " << c.time;
    EXPECT_GE(frame, 0);
  }
}

TEST(ShaderRecord, DeformSetZeroesTheRest) {
  N_ShaderDeform deform;
  const float full[] = {1, 2, 3, 4, 5, 6, 7, 8};
  deform.Set(DeformType::Rotate, full);
  deform.Set(DeformType::MoveWithCamera, {});
  EXPECT_EQ(deform.type, DeformType::MoveWithCamera);
  EXPECT_EQ(deform.values, (std::array<float, 8>{}));
}

TEST(ShaderNames, NameToConstantFindsEveryRowWithoutCase) {
  for (const auto& row : ShaderNames::kConstants) {
    std::string lower(row.name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(NameToConstant(row.name), row.value) << row.name;
    EXPECT_EQ(NameToConstant(lower), row.value) << lower;
  }
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"GL_ONE", 2}, {"GL_ZERO", 1}, {"gl_dst_color", 9}, {"GL_SRC_COLOR", 3}, {"GL_GEQUAL", 7},
      {"GL_NOTEQUAL", 6}, {"GL_REPEAT", 0x2901}, {"GL_ONE_MINUS", 0}, {"", 0}, {"zzzz", 0}, {"~", 0}, {"A", 0},
  };
  for (const auto& [name, value] : cases) EXPECT_EQ(NameToConstant(name), value) << name;
}

}  // namespace

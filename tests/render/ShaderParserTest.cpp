#include "render/ShaderParser.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "tests/render/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ShaderParserTest : public ::testing::Test {
 protected:
  /// Parses one block (starting with its "{") from a file of its own.
  N_Shader Parse(const std::string& block) {
    env.dir.Write("t.shader", block);
    N_ShaderParser parser("t.shader", host);
    N_Shader shader;
    parser.ParseShader(shader);
    return shader;
  }
  /// The log written since `before` characters holds exactly the given report, or none.
  void ExpectReport(std::size_t before, const char* report) const {
    const std::string added = env.Log().substr(before);
    const std::string expected = report ? std::string("*** ") + report : std::string();
    EXPECT_EQ(added, expected);
  }
  /// The names of the textures added, in order.
  std::vector<std::string> Added() const {
    std::vector<std::string> names;
    for (const auto& add : host.adds) names.push_back(add.name);
    return names;
  }

  test::ShaderTestEnv env;
  test::FakeShaderHost host;
};

struct BlendCase {
  const char* block;
  int stage;
  std::uint32_t sort;
  std::uint32_t src;
  std::uint32_t dst;
  bool depthWrite;
  const char* report;  ///< the one report expected, or null for none
};

TEST_F(ShaderParserTest, BlendFuncSideEffectsAndFallbacks) {
  const BlendCase cases[] = {
      {"{ { blendfunc GL_ONE GL_ZERO } }", 0, 7, 2, 1, true, nullptr},
      {"{ sort 4\n { blendfunc GL_ONE GL_ZERO } }", 0, 4, 2, 1, true, nullptr},
      {"{ { depthwritenone\n blendfunc GL_ONE GL_ZERO } }", 0, 7, 2, 1, false, nullptr},
      {"{ { blendfunc add } }", 0, 9, 2, 2, false, nullptr},
      {"{ sort banner\n { blendfunc add } }", 0, 6, 2, 2, false, nullptr},
      {"{ { map a } { blendfunc add } }", 1, 3, 2, 2, false, nullptr},
      {"{ { map a } { blendfunc GL_ONE GL_ZERO } }", 1, 3, 2, 1, false, nullptr},
      {"{ { blendfunc filter } }", 0, 7, 1, 3, false, nullptr},
      {"{ { blendfunc blend } }", 0, 7, 5, 6, false, nullptr},
      {"{ { blendfunc gl_dst_color gl_zero } }", 0, 7, 9, 1, false, nullptr},
      {"{ { blendfunc GL_SRC_COLOR GL_ZERO } }", 0, 7, 2, 1, true,
       "Bad token in blend func src at line 1, force to GL_ONE\n"},
      {"{ { blendfunc GL_ONE_MINUS_SRC_COLOR GL_ONE } }", 0, 7, 2, 2, false,
       "Bad token in blend func src at line 1, force to GL_ONE\n"},
      {"{ { blendfunc GL_ONE GL_DST_COLOR } }", 0, 7, 2, 1, true,
       "Bad token in parm blendfunc dst at line 1, force to GL_ZERO\n"},
      {"{ { blendfunc GL_ONE add } }", 0, 7, 2, 1, true,
       "Bad token in parm blendfunc dst at line 1, force to GL_ZERO\n"},
      {"{ { blendfunc GL_SRC_ALPHA foo } }", 0, 7, 5, 1, false, "Bad blend param at line 1, force to GL_ZERO\n"},
      {"{ { blendfunc foo GL_ONE } }", 0, 7, 1, 2, false, "Bad blend param at line 1, force to GL_ZERO\n"},
      {"{\n{\nblendfunc GL_ONE\n}\n}", 0, 7, 2, 1, true, "no second parm in blendfunc at line 3, force to GL_ZERO\n"},
  };
  for (const BlendCase& c : cases) {
    SCOPED_TRACE(c.block);
    const std::size_t reportsBefore = env.Log().size();
    const N_Shader shader = Parse(c.block);
    ASSERT_GT(shader.stageCount, c.stage);
    const N_ShaderStage& stage = *shader.stages[c.stage];
    EXPECT_EQ(shader.sort, c.sort);
    EXPECT_EQ(stage.blendSrc, c.src);
    EXPECT_EQ(stage.blendDst, c.dst);
    EXPECT_EQ(stage.depthWrite, c.depthWrite);
    ExpectReport(reportsBefore, c.report);
  }
}

TEST_F(ShaderParserTest, StageTestsAndGenerators) {
  struct Case {
    const char* stage;
    std::uint32_t alphaFunc, alphaRef, depthFunc;
    RgbGen rgbGen;
    AlphaGen alphaGen;
    TcGen tcGen;
    std::uint32_t shaderFlags, stageFlags;
    const char* report;
  };
  const Case cases[] = {
      {"alphafunc ge128", 7, 127, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"alphafunc lt128", 2, 127, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"alphafunc GT0", 5, 0, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"alphafunc gt 200", 5, 200, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"alphafunc gt 900", 5, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"alphafunc gt", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"alphafunc", 5, 0, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "no param for alphafunc at line 1, force to GT0\n"},
      {"alphafunc ge129", 5, 0, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "Unknown param in alphafunc at line 1, force to GT0\n"},
      {"depthfunc notequal", 8, 255, 6, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"depthfunc ALWAYS", 8, 255, 8, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"depthfunc equal", 8, 255, 3, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"depthfunc sometimes", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "Unknown param in depth func at line 1, force to GL_LEQUAL\n"},
      {"depthfunc", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "no param in depthfunc at line 1, force to GL_LEQUAL\n"},
      {"rgbgen vertex", 8, 255, 4, RgbGen::Vertex, AlphaGen::None, TcGen::Base, 0x20, 0, nullptr},
      {"rgbgen oneMinusVertex", 8, 255, 4, RgbGen::OneMinusVertex, AlphaGen::None, TcGen::Base, 0x20, 0, nullptr},
      {"rgbgen lightingdiffuse", 8, 255, 4, RgbGen::LightingDiffuse, AlphaGen::None, TcGen::Base, 0x80, 0x40, nullptr},
      {"rgbgen identitylighting", 8, 255, 4, RgbGen::IdentityLighting, AlphaGen::None, TcGen::Base, 0, 0, nullptr},
      {"rgbgen", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "No param in rgbGen at line 1, force to identity\n"},
      {"rgbgen wave", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "no param in rgbgen wave func at line 1, force to indetity\n"},
      {"rgbgen purple", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "Unknown param in rgbgen at line 1, force to RGBGEN_IDENTITY\n"},
      {"alphagen entity", 8, 255, 4, RgbGen::Vertex, AlphaGen::Entity, TcGen::Base, 0x220, 0, nullptr},
      {"alphagen dot 0.2 0.8", 8, 255, 4, RgbGen::Identity, AlphaGen::Dot, TcGen::Base, 0x80, 0x40, nullptr},
      {"alphagen portal", 8, 255, 4, RgbGen::Identity, AlphaGen::Portal, TcGen::Base, 0, 0, nullptr},
      {"alphagen oneminusvertex", 8, 255, 4, RgbGen::Identity, AlphaGen::OneMinusVertex, TcGen::Base, 0, 0, nullptr},
      {"alphagen", 8, 255, 4, RgbGen::Identity, AlphaGen::Identity, TcGen::Base, 0, 0,
       "No param in alphagen func at line 1, force to alphagen identity\n"},
      {"alphagen x", 8, 255, 4, RgbGen::Identity, AlphaGen::Identity, TcGen::Base, 0, 0,
       "Unknown param in alphagen at line 1, force to ALPHAGEN_IDENTITY\n"},
      {"tcgen environment", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Environment, 0x80, 0x40, nullptr},
      {"tcgen lightmap", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Lightmap, 0, 0, nullptr},
      {"tcgen vector ( 1 0 0 ) ( 0 1 0 )", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Vector, 0, 0, nullptr},
      {"tcgen", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "no param in tcgen func at line 1, force to TCGEN_BASE\n"},
      {"tcgen sphere", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0,
       "unknown param in tcgen at line 1, force to TCGEN_BASE\n"},
      {"detail", 8, 255, 4, RgbGen::Identity, AlphaGen::None, TcGen::Base, 0, 0x8, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stage);
    const std::size_t reportsBefore = env.Log().size();
    const N_Shader shader = Parse(std::string("{ { ") + c.stage + "\n} }");
    ASSERT_EQ(shader.stageCount, 1);
    const N_ShaderStage& stage = *shader.stages[0];
    EXPECT_EQ(stage.alphaFunc, c.alphaFunc);
    EXPECT_EQ(stage.alphaRef, c.alphaRef);
    EXPECT_EQ(stage.depthFunc, c.depthFunc);
    EXPECT_EQ(stage.rgbGen, c.rgbGen);
    EXPECT_EQ(stage.alphaGen, c.alphaGen);
    EXPECT_EQ(stage.tcGen, c.tcGen);
    EXPECT_EQ(shader.flags, c.shaderFlags);
    EXPECT_EQ(stage.flags, c.stageFlags);
    ExpectReport(reportsBefore, c.report);
  }
}

TEST_F(ShaderParserTest, HeaderKeywords) {
  struct Case {
    const char* header;
    std::uint32_t sort;
    Cull cull;
    std::uint32_t flags;
    std::uint32_t surfaceParm;
    const char* report;
  };
  const Case cases[] = {
      {"sort 0", 3, Cull::Back, 0, 0, nullptr},
      {"sort 12", 12, Cull::Back, 0, 0, nullptr},
      {"sort Sky", 2, Cull::Back, 0, 0, nullptr},
      {"sort nearest", 16, Cull::Back, 0, 0, nullptr},
      {"sort whatever", 3, Cull::Back, 0, 0, nullptr},
      {"sort portal", 1, Cull::Back, 0x8, 0, nullptr},
      {"sort", 3, Cull::Back, 0, 0, "no parameter for sort at line 1, setting sort opaque!\n"},
      {"portal", 1, Cull::Back, 0x8, 0, nullptr},
      {"cull none", 3, Cull::None, 0, 0, nullptr},
      {"cull twosided", 3, Cull::None, 0, 0, nullptr},
      {"cull disable", 3, Cull::None, 0, 0, nullptr},
      {"cull FRONT", 3, Cull::Front, 0, 0, nullptr},
      {"cull none\ncull sideways", 3, Cull::None, 0, 0, nullptr},
      {"cull front\ncull", 3, Cull::Back, 0, 0, "no parameter for cull, force to cull back"},
      {"nopicmip\nnomipmaps\nnocompress\npolygonoffset", 3, Cull::Back, 0x407, 0, nullptr},
      {"surfaceparm noclip", 3, Cull::Back, 0, 1, nullptr},
      {"surfaceparm terrain", 3, Cull::Back, 0, 2, nullptr},
      {"surfaceparm sky", 2, Cull::Back, 0, 5, nullptr},
      {"surfaceparm castshadow", 3, Cull::Back, 0, 8, nullptr},
      {"surfaceparm slick", 3, Cull::Back, 0, 0, nullptr},
      {"fx", 3, Cull::Back, 0, 0, "fx filename expected after fx keyword"},
      {"fx data\\effects\\water.fx", 3, Cull::Back, 0x800, 0, nullptr},
      {"qer_editorimage textures/x.tga\nq3map_sunExt 1 1 1 140\nQ3MAP_lightmapSize 4\ntesssize 64\nlight 100\n"
       "fogparms ( 1 1 1 ) 200",
       3, Cull::Back, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    const std::size_t reportsBefore = env.Log().size();
    const N_Shader shader = Parse(std::string("{ ") + c.header + "\n}");
    EXPECT_EQ(shader.sort, c.sort);
    EXPECT_EQ(shader.cull, c.cull);
    EXPECT_EQ(shader.flags, c.flags);
    EXPECT_EQ(shader.surfaceParm, c.surfaceParm);
    EXPECT_EQ(shader.stageCount, 0);
    ExpectReport(reportsBefore, c.report);
  }
  EXPECT_EQ(host.effects, std::vector<std::string>{"data\\effects\\water.fx"});

  N_Shader shadow = Parse("{ surfaceparm castshadow 250\n}");
  EXPECT_FLOAT_EQ(shadow.shadowDistance, 250.0f);
  shadow = Parse("{ surfaceparm castshadow\n}");
  EXPECT_FLOAT_EQ(shadow.shadowDistance, 1000.0f);

  const N_Shader colours = Parse("{ ambient 0.5 0.25\n diffuse 0.1 0.2 0.3\n specular 1 1 1 16\n emissive 0.5 0.5 0.5\n}");
  EXPECT_EQ(colours.ambient, (std::array<float, 3>{0.5f, 0.25f, 0.0f}));
  EXPECT_EQ(colours.diffuse, (std::array<float, 3>{0.1f, 0.2f, 0.3f}));
  EXPECT_EQ(colours.specular, (std::array<float, 3>{1.0f, 1.0f, 1.0f}));
  EXPECT_FLOAT_EQ(colours.specularPower, 16.0f);
  EXPECT_EQ(colours.emissive, (std::array<float, 3>{0.5f, 0.5f, 0.5f}));
}

TEST_F(ShaderParserTest, ASecondFxReplacesTheFirstEffect) {
  const N_Shader shader = Parse("{\nfx a.fx\nfx b.fx\n}");
  EXPECT_EQ(host.effects, (std::vector<std::string>{"a.fx", "b.fx"}));
  EXPECT_EQ(host.destroyedEffects, 1) << "the first effect is given back, not left counted";
  EXPECT_EQ(shader.effect, reinterpret_cast<ID3DXEffect*>(&host.effectTokens["b.fx"]));
  EXPECT_EQ(shader.flags, 0x800u);
}

TEST_F(ShaderParserTest, UnknownWordsAreReportedOnceAndTheirLineSkipped) {
  const N_Shader shader = Parse("{\nshiny very much nomipmaps\nnopicmip\n{\nsparkle map x\nmap y\n}\n}");
  EXPECT_EQ(env.Count("*** "), 2);
  EXPECT_EQ(env.Count("*** Unknown token:shiny  at line 2, line skiped\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown token: sparkle at line 5, skiping line\n"), 1);
  EXPECT_EQ(shader.flags, 0x2u);  // nomipmaps on the skipped line was not read
  EXPECT_EQ(Added(), std::vector<std::string>{"y"});
}

TEST_F(ShaderParserTest, NumbersComeFromTheKeywordLineUpToItsLimit) {
  const N_Shader shader = Parse(
      "{\n{\n"
      "tcmod scroll 1 2 3 4\n"           // 3 read, 2 kept; "4" is read as a keyword
      "tcmod scale 0.5\nmap a\n"          // the missing number is 0; "map a" is its own line
      "rgbgen wave sin 1 2 3 4 5 6\n"     // 5 read, 4 kept; "6" is read as a keyword
      "tcmod rotate 30 40\n"              // limit 1: "40" is read as a keyword
      "tcmod stretch square 0.5 0.25 0 1\n"
      "tcmod transform 1 0 0 1 0.5 0.5 9 10\n"  // 7 read, 6 kept; "10" is read as a keyword
      "tcmod turb 0 0.1 0 2\n"
      "tcmod spin 3 4\n"
      "tcmod\n"
      "}\n}");
  ASSERT_EQ(shader.stageCount, 1);
  const N_ShaderStage& stage = *shader.stages[0];
  ASSERT_EQ(stage.tcMods.size(), 6u);
  struct Expect {
    TcModType type;
    int count;
    std::array<float, 8> values;
  };
  const Expect expected[] = {
      {TcModType::Scroll, 2, {1, 2}},
      {TcModType::Scale, 2, {0.5f, 0}},
      {TcModType::Rotate, 1, {30}},
      {TcModType::Stretch, 5, {3, 0.5f, 0.25f, 0, 1}},
      {TcModType::Transform, 6, {1, 0, 0, 1, 0.5f, 0.5f}},
      {TcModType::Turb, 4, {0, 0.1f, 0, 2}},
  };
  for (std::size_t i = 0; i < stage.tcMods.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(stage.tcMods[i].type, expected[i].type);
    EXPECT_EQ(stage.tcMods[i].count, expected[i].count);
    EXPECT_EQ(stage.tcMods[i].values, expected[i].values);
  }
  EXPECT_EQ(stage.rgbGen, RgbGen::Wave);
  EXPECT_EQ(stage.rgbGenValues, (GenValues{1, 1, 2, 3, 4}));
  EXPECT_EQ(Added(), std::vector<std::string>{"a"});
  EXPECT_EQ(stage.flags & 0x20u, 0x20u);
  EXPECT_EQ(shader.flags & 0x40u, 0x40u);
  EXPECT_EQ(env.Count("*** Unknown token: 4 at line 3, skiping line\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown token: 6 at line 6, skiping line\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown token: 40 at line 7, skiping line\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown token: 10 at line 9, skiping line\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown param in tcmod at line 11, skiping line\n"), 1);
  EXPECT_EQ(env.Count("*** no param in tcmod func at line 12, skiping line\n"), 1);
  EXPECT_EQ(env.Count("*** "), 6);
}

TEST_F(ShaderParserTest, StagesTakeTheTextureFlagsSetBeforeThem) {
  const N_Shader shader = Parse(
      "{\n{ map a\n}\nnomipmaps\n{ map b\nclampmap c\n}\nnopicmip\nnocompress\n"
      "{ lightmap d\n}\n{ map $lightmap\n}\n}");
  ASSERT_EQ(shader.stageCount, 4);
  ASSERT_EQ(host.adds.size(), 4u);
  const std::pair<std::string, std::uint32_t> expected[] = {{"a", 0x0}, {"b", 0x1}, {"c", 0x5}, {"d", 0x203}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(host.adds[i].name, expected[i].first);
    EXPECT_EQ(host.adds[i].parameter, expected[i].second);
    EXPECT_EQ(host.adds[i].kind, 0u);
  }
  EXPECT_EQ(shader.stages[0]->flags, 0x0u);  // "nomipmaps" came after it
  const N_ShaderStage& lightmap = *shader.stages[2];
  EXPECT_EQ(lightmap.tcGen, TcGen::Lightmap);
  EXPECT_EQ(lightmap.TextureCount(), 1);
  EXPECT_EQ(host.NameOf(lightmap.textures[0]), "d");
  const N_ShaderStage& surfaceLightmap = *shader.stages[3];
  EXPECT_EQ(surfaceLightmap.flags, 0x213u);
  ASSERT_EQ(surfaceLightmap.TextureCount(), 1);
  EXPECT_EQ(surfaceLightmap.textures[0], nullptr);
  EXPECT_EQ(surfaceLightmap.tcGen, TcGen::Lightmap);
  EXPECT_EQ(shader.flags, 0x413u);
}

TEST_F(ShaderParserTest, AnimatedStages) {
  const N_Shader shader = Parse(
      "{\n{ animmap 8 3 B\n}\n{ animmap 5 a b c\n}\n{ animmap 2 500 many\n}\n{ animmap\n}\n{ animmap 4\n}\n}");
  ASSERT_EQ(shader.stageCount, 5);
  const N_ShaderStage& counted = *shader.stages[0];
  ASSERT_EQ(counted.TextureCount(), 3);
  EXPECT_FLOAT_EQ(counted.frequency, 8.0f);
  EXPECT_EQ(counted.flags, 0x4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(host.NameOf(counted.textures[i]), "B0" + std::to_string(i + 1));
  EXPECT_EQ(host.adds[0].parameter, 0x4u);

  const N_ShaderStage& listed = *shader.stages[1];
  ASSERT_EQ(listed.TextureCount(), 3);
  EXPECT_EQ(host.NameOf(listed.textures[2]), "c");
  EXPECT_FLOAT_EQ(listed.frequency, 5.0f);

  const N_ShaderStage& capped = *shader.stages[2];
  ASSERT_EQ(capped.TextureCount(), 100);
  EXPECT_EQ(host.NameOf(capped.textures[99]), "many100");
  EXPECT_EQ(env.Count("*** Too many frames in animmap at line 6, using 100\n"), 1);
  EXPECT_EQ(env.Count("*** no param in animmap at line 8\n"), 1);
  EXPECT_EQ(env.Count("*** no param in animmap at line 10\n"), 1);
}

TEST_F(ShaderParserTest, IflAnimationReadsFrameTimes) {
  env.dir.Write("data/textures/flag.ifl", "flag01 0.1\nflag02 0.2\n\nflag03\nflag04 0.3\n");
  const N_Shader shader = Parse("{\n{ animmap data\\textures\\flag.ifl\n}\n{ animmap missing.ifl\n}\n}");
  ASSERT_EQ(shader.stageCount, 2);
  const N_ShaderStage& stage = *shader.stages[0];
  EXPECT_EQ(stage.flags, 0x400u);  // no clamp for IFL lists
  ASSERT_EQ(stage.TextureCount(), 4);
  EXPECT_EQ(host.NameOf(stage.textures[3]), "flag04");
  EXPECT_EQ(stage.frameTimes, (std::vector<float>{0.1f, 0.2f, 0.3f}));
  EXPECT_FLOAT_EQ(stage.frequency, 0.6f);
  EXPECT_EQ(env.Count("--- Parsing IFL animation 'data\\textures\\flag.ifl'\n"), 1);
  EXPECT_EQ(env.Count("*** no frame time specified in data\\textures\\flag.ifl at line 4\n"), 1);
  EXPECT_EQ(shader.stages[1]->TextureCount(), 0);
  EXPECT_EQ(env.Count("*** Cannot open IFL animation 'missing.ifl' at line 4\n"), 1);
}

TEST_F(ShaderParserTest, Conditions) {
  g_varMng->SetInt("r_detail", 2, 0);
  struct Case {
    const char* block;
    std::vector<std::string> textures;
  };
  const Case cases[] = {
      {"{ { #if r_detail 2\nmap yes\n#else\nmap no\n#endif\n} }", {"yes"}},
      {"{ { #if r_detail 1\nmap no\n#else\nmap yes\n#endif\n} }", {"yes"}},
      // A failed condition passes nested pairs (and braces) over whole.
      {"{ #if r_detail 1\n { map no1 }\n #if r_detail 2\n { map no2 }\n #endif\n { map no3 }\n#else\n { map yes }\n#endif\n}",
       {"yes"}},
      {"{ #if r_detail 2\n #if r_detail 3\n { map no }\n #endif\n { map yes1 }\n#else\n { map no }\n#endif\n{ map yes2 }\n}",
       {"yes1", "yes2"}},
      // Header keywords obey conditions too.
      {"{ #if r_detail 0\nnomipmaps\n#endif\n{ map a }\n}", {"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    host.adds.clear();
    Parse(c.block);
    EXPECT_EQ(Added(), c.textures);
  }
  EXPECT_EQ(host.adds[0].parameter, 0u);
  EXPECT_EQ(env.Count("*** "), 0);
}

TEST_F(ShaderParserTest, ConditionFaults) {
  g_varMng->SetInt("r_detail", 2, 0);
  // An unmatched #endif pops nothing; the parameters of #if come from its own line.
  N_Shader shader = Parse("{\n#endif\n{ map a\n#endif\n}\n#if\nmap b\n#if r_detail\n2\n}");
  EXPECT_EQ(env.Count("*** #endif without #if at line 2, ignored\n"), 1);
  EXPECT_EQ(env.Count("*** #endif without #if at line 4, ignored\n"), 1);
  EXPECT_EQ(env.Count("*** no parameters for #if"), 1);
  EXPECT_EQ(env.Count("*** missing second parameter for #if"), 1);
  EXPECT_EQ(env.Count("*** Unknown token:map  at line 7, line skiped\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown token:2  at line 9, line skiped\n"), 1);
  EXPECT_EQ(shader.stageCount, 1);
}

TEST_F(ShaderParserTest, NinthStageIsRefused) {
  std::string block = "{\n";
  for (int i = 0; i < 9; ++i) block += "{ map s" + std::to_string(i) + " }\n";
  block += "nomipmaps\n}";
  const N_Shader shader = Parse(block);
  EXPECT_EQ(shader.stageCount, 8);
  EXPECT_EQ(host.adds.size(), 8u);
  EXPECT_EQ(env.Count("*** Too many stages at line 10, stage skipped\n"), 1);
  EXPECT_EQ(shader.flags, 0x1u);  // the block goes on after the refused stage
}

TEST_F(ShaderParserTest, DeformVertexes) {
  const N_Shader shader = Parse(
      "{\n"
      "deformvertexes wave 100 sin 1 2 3 4\n"
      "deformvertexes wave 50 triangle 1 2\n"
      "deformvertexes normal 0.5 sin 1 2 3\n"
      "deformvertexes normal 0.5 7\n"
      "deformvertexes bulge 1 2 3\n"
      "deformvertexes move 1 2 3 square 4 5 6 7\n"
      "deformvertexes autosprite 4 6\n"
      "deformvertexes spin 1\n"
      "deformvertexes\n"
      "}");
  struct Expect {
    DeformType type;
    std::array<float, 8> values;
  };
  const Expect expected[] = {
      {DeformType::Wave, {100, 1, 1, 2, 3, 4}},
      {DeformType::Wave, {50, 2, 1, 2}},
      {DeformType::Normal, {0.5f, 1, 1, 2, 0, 3}},
      {DeformType::Normal, {1, 1, 0, 0.5f, 0, 7}},
      {DeformType::Bulge, {1, 2, 3}},
      {DeformType::Move, {1, 2, 3, 3, 4, 5, 6, 7}},
      {DeformType::Autosprite, {2, 3, 0}},
  };
  ASSERT_EQ(shader.deformCount, 7);  // the table is full when "spin" comes
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(shader.deforms[i].type, expected[i].type);
    EXPECT_EQ(shader.deforms[i].values, expected[i].values);
  }
  EXPECT_EQ(env.Count("*** WARNING!!! Not enought params in deform wave func at line 3"), 1);
  EXPECT_EQ(env.Count("*** Not enought params in deformvertexes at line 10, force to DEFORM_NONE"), 1);
  EXPECT_EQ(env.Count("*** "), 2);

  const N_Shader more = Parse(
      "{\ndeformvertexes water 1 2 3\ndeformvertexes rotate 1 2 3 4 5 6 7 8\ndeformvertexes movewithcamera\n"
      "deformvertexes spin 1\ndeformvertexes\n}");
  ASSERT_EQ(more.deformCount, 4);
  EXPECT_EQ(more.deforms[0].type, DeformType::Water);
  EXPECT_EQ(more.deforms[0].values, (std::array<float, 8>{1, 2, 3}));
  EXPECT_EQ(more.deforms[1].values, (std::array<float, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(more.deforms[2].type, DeformType::MoveWithCamera);
  EXPECT_EQ(more.deforms[3].type, DeformType::None);
  EXPECT_EQ(env.Count("*** WARNING!!! Not enought params in deform water func at line 2"), 1);
  EXPECT_EQ(env.Count("*** Unknown param in deform vertexes at line 5, force to DEFORMVERTEXES_NONE"), 1);
  EXPECT_EQ(env.Count("*** Unknown token:1  at line 5, line skiped\n"), 1);
  EXPECT_EQ(env.Count("*** Not enought params in deformvertexes at line 6, force to DEFORM_NONE"), 1);
  EXPECT_EQ(env.Count("*** Unknown function at line"), 0);
}

TEST_F(ShaderParserTest, BracketFaults) {
  N_Shader shader = Parse("nomipmaps { }");
  EXPECT_EQ(env.Count("*** Shader error, bracket expected! at line 1, stop parsing!\n"), 1);
  EXPECT_EQ(shader.flags, 0u);

  shader = Parse("{\n{ map a\n{ map b }\n}");
  EXPECT_EQ(env.Count("*** Bracket not expected at line 3\n"), 1);
  EXPECT_EQ(env.Count("*** Unknown token:map  at line 3, line skiped\n"), 1);  // the stray brace ended the stage
  EXPECT_EQ(shader.stageCount, 1);

  env.dir.Write("skip.shader", "{ { a } }\nnext\n}\nlast");
  N_ShaderParser parser("skip.shader", host);
  parser.SkipBlock();
  EXPECT_STREQ(parser.NextToken(true), "next");
  parser.SkipBlock();
  EXPECT_EQ(env.Count("*** Shader error, mising starting bracket at line 3\n"), 1);
  EXPECT_STREQ(parser.NextToken(true), "last");
}

}  // namespace

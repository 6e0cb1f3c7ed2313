// The particle script reader: the sample scripts, the attributes and their units, the
// messages, and what it does with broken blocks.
#include "render/ShaderMng.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleShader.h"
#include "scene/SceneAccess.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// A directory with the core services, a shader manager and a particle manager behind
/// g_scene.
class ParticleParserTest : public ::testing::Test {
 protected:
  ParticleParserTest() {
    g_scene.shaderMng = &shaders;
    g_scene.particles = &particles;
  }
  ~ParticleParserTest() override { g_scene = N_SceneAccess{}; }

  std::string Path(const std::string& file) const { return env.dir.Path() + "/data/scripts/" + file; }
  /// Writes the script and parses it; returns the templates begun.
  int Parse(const std::string& file, const std::string& text) {
    test::WriteScript(env.dir, file, text);
    return particles.ParseScript(Path(file).c_str());
  }
  /// The log written since the last call.
  std::string NewLog() {
    const std::string text = env.Log();
    const std::string fresh = text.substr(std::min(m_mark, text.size()));
    m_mark = text.size();
    return fresh;
  }

  test::ShaderTestEnv env;
  test::FakeShaderHost host;
  N_ShaderMng shaders{64, host};
  N_ParticleMng particles;

 private:
  std::size_t m_mark = 0;
};

TEST_F(ParticleParserTest, TheSampleScriptsLoadWithoutErrorsAndCoverEveryFeature) {
  fs::create_directories(fs::path(env.dir.Path()) / "data/scripts");
  for (const auto& file : fs::directory_iterator(test::GameRoot() + "/data/scripts")) {
    if (file.path().extension() == ".particle" || file.path().extension() == ".shader") {
      fs::copy(file.path(), fs::path(env.dir.Path()) / "data/scripts" / file.path().filename());
    }
  }
  particles.LoadScripts();
  const std::string log = NewLog();
  EXPECT_TRUE(test::ContainsInOrder(
      log, {"Parsing particle script '", "effects.particle'\n", " +    sparks\n", " +    smoke\n", " +    powder\n",
            " +    glitter\n", "effects.particle' done - 0 error(s)\n", "Parsing particle script '",
            "weather.particle'\n", " +    snow\n", "weather.particle' done - 0 error(s)\n"}));
  EXPECT_EQ(log.find(" !    "), std::string::npos) << log;

  // The level's snow, and every feature of the emitters in some template.
  const N_ParticleShader* snow = particles.FindShader("snow");
  ASSERT_NE(snow, nullptr);
  EXPECT_EQ(snow->type, N_ParticleShader::kBox);
  EXPECT_EQ(snow->moveWithParent, 1);
  EXPECT_EQ(snow->detail, 0);
  using Feature = std::function<bool(const N_ParticleShader&)>;
  const std::vector<std::pair<const char*, Feature>> features = {
      {"point", [](const N_ParticleShader& t) { return t.type == N_ParticleShader::kPoint; }},
      {"box", [](const N_ParticleShader& t) { return t.type == N_ParticleShader::kBox; }},
      {"line", [](const N_ParticleShader& t) { return t.type == N_ParticleShader::kLine; }},
      {"fadein and fadeout", [](const N_ParticleShader& t) { return t.fadesIn && t.fadesOut; }},
      {"rotate", [](const N_ParticleShader& t) { return t.rotates != 0; }},
      {"targetsize", [](const N_ParticleShader& t) { return t.hasTargetSize != 0; }},
      {"gravity", [](const N_ParticleShader& t) { return t.gravity.z != 0.0f; }},
      {"killifunseen", [](const N_ParticleShader& t) { return t.KillsIfUnseen(); }},
      {"restart 0", [](const N_ParticleShader& t) { return t.restart == 0; }},
      {"detail 2", [](const N_ParticleShader& t) { return t.detail == 2; }},
  };
  for (const auto& [feature, has] : features) {
    bool found = false;
    for (const char* name : {"sparks", "smoke", "powder", "glitter", "snow"}) {
      const N_ParticleShader* t = particles.FindShader(name);
      ASSERT_NE(t, nullptr) << name;
      found = found || has(*t);
    }
    EXPECT_TRUE(found) << feature;
  }
  // Every material a template names has its block in the sample shader scripts.
  NewLog();
  shaders.LoadShaders();
  const std::string shaderLog = NewLog();
  for (const char* name : {"sparks", "smoke", "powder", "glitter", "snow"}) {
    const N_ShaderEntry* entry = shaders.GetEntry(particles.FindShader(name)->shader);
    ASSERT_NE(entry, nullptr) << name;
    ASSERT_TRUE(entry->name.has_value());
    EXPECT_NE(shaderLog.find(" +    " + *entry->name + "\n"), std::string::npos) << name << ": " << *entry->name;
  }
}

struct AttributeCase {
  const char* lines;
  std::function<void(const N_ParticleShader&)> check;
  std::vector<std::string> reports;  ///< the text after "error in 't': ", in order
};

TEST_F(ParticleParserTest, AttributesTheirUnitsAndTheirReports) {
  const AttributeCase cases[] = {
      {"size 4",
       [](const N_ParticleShader& t) {
         EXPECT_FLOAT_EQ(t.halfSizeMin, 2.0f);
         EXPECT_FLOAT_EQ(t.halfSizeMax, 2.0f);
       },
       {}},
      {"size 4 10", [](const N_ParticleShader& t) { EXPECT_FLOAT_EQ(t.halfSizeMax, 5.0f); }, {}},
      {"targetsize 10 -3",
       [](const N_ParticleShader& t) {
         EXPECT_EQ(t.hasTargetSize, 1);
         EXPECT_FLOAT_EQ(t.targetHalfSize, 5.0f);
         EXPECT_FLOAT_EQ(t.targetRate, -3.0f);
       },
       {}},
      {"rotate 90",
       [](const N_ParticleShader& t) {
         EXPECT_EQ(t.rotates, 1);
         EXPECT_NEAR(t.spinMin, 1.5707963f, 1e-6f);
         EXPECT_NEAR(t.spinMax, 1.5707963f, 1e-6f);
       },
       {}},
      {"emissionrate 5",
       [](const N_ParticleShader& t) {
         EXPECT_EQ(t.emissionMin, 5u);
         EXPECT_EQ(t.emissionMax, 5u);
       },
       {}},
      {"numparticles 8", [](const N_ParticleShader& t) { EXPECT_EQ(t.emissionMax, 0u) << "all slots"; }, {}},
      // No emitter draws more than 65535: such a count, or one below 0, is damage.
      {"numparticles 2000000000\nemissionrate -4 2",
       [](const N_ParticleShader& t) { EXPECT_EQ(t.numParticles + t.emissionMin, 65535u); },
       {"numParticles 2000000000 is outside 0..65535: taken as 65535", "emissionRate -4 2 is below 0: taken as 0"}},
      {"type box 1 2 3\ntype box 10 20",
       [](const N_ParticleShader& t) {
         EXPECT_EQ(t.type, 1u);
         EXPECT_FLOAT_EQ(t.boxHalfExtents.x, 1.0f);
         EXPECT_FLOAT_EQ(t.boxHalfExtents.z, 3.0f);
       },
       {}},
      {"type line\ntype cone", [](const N_ParticleShader& t) { EXPECT_EQ(t.type, 2u); },
       {"Unknown emitter type 'cone'"}},
      {"type", [](const N_ParticleShader& t) { EXPECT_EQ(t.type, 0u); }, {"Parameter for 'type' expected"}},
      {"velocity 1 2 3",
       [](const N_ParticleShader& t) {
         EXPECT_FLOAT_EQ(t.velocityMin.z, 3.0f);
         EXPECT_FLOAT_EQ(t.velocityMax.x, 0.0f);
       },
       {"Parameters for 'velocity' expected", "Parameters for 'velocity' expected",
        "Parameters for 'velocity' expected"}},
      {"color 1 2 3 4", [](const N_ParticleShader& t) { EXPECT_FLOAT_EQ(t.colorMax.x, 4.0f); },
       {"Parameters for 'color' expected", "Parameters for 'color' expected"}},
      {"gravity 0 0", [](const N_ParticleShader& t) { EXPECT_FLOAT_EQ(t.gravity.z, 0.0f); },
       {"Parameter for 'gravity' expected"}},
      {"TyPe LiNe\nNUMPARTICLES 7\nKillIfUnseen",
       [](const N_ParticleShader& t) {
         EXPECT_EQ(t.type, 2u);
         EXPECT_EQ(t.numParticles, 7u);
         EXPECT_EQ(t.killFlags, 1u);
       },
       {}},
      {"copysizes\ncopycolors\ncopyvelocities\nlight\ntrialsize 5",
       [](const N_ParticleShader& t) {
         EXPECT_EQ(t.copyFlags, 7u);
         EXPECT_EQ(t.light, 1);
         EXPECT_EQ(t.trialSize, 5);
       },
       {}},
      {"fadein 2\nfadeout 0.5",
       [](const N_ParticleShader& t) {
         EXPECT_FLOAT_EQ(t.fadeInRate, 0.5f);
         EXPECT_FLOAT_EQ(t.fadeOutRate, 2.0f);
       },
       {}},
      // A fade of no length stays off rather than an infinite rate.
      {"fadein 0\nfadeout -1", [](const N_ParticleShader& t) { EXPECT_EQ(t.fadesIn + t.fadesOut, 0); }, {}},
      {"restart", [](const N_ParticleShader& t) { EXPECT_EQ(t.restart, 0) << "the missing value reads 0"; },
       {"Parameters for 'restart' expected"}},
      {"live", [](const N_ParticleShader& t) { EXPECT_FLOAT_EQ(t.lifeMax, 0.0f); },
       {"Parameters for 'live' expected"}},
      {"detail 258", [](const N_ParticleShader& t) { EXPECT_EQ(t.detail, 2) << "kept as a byte"; }, {}},
      {"shader", [](const N_ParticleShader& t) { EXPECT_EQ(t.shader, -1); }, {"Parameter for 'shader' expected"}},
      {"frobnicate 3", [](const N_ParticleShader&) {}, {"Unknown attribute 'frobnicate'", "Unknown attribute '3'"}},
  };
  int index = 0;
  for (const AttributeCase& c : cases) {
    SCOPED_TRACE(c.lines);
    particles.ClearShaders();
    NewLog();
    const std::string file = "case" + std::to_string(index++) + ".particle";
    EXPECT_EQ(Parse(file, "t\n{\n" + std::string(c.lines) + "\n}\n"), 1);
    const N_ParticleShader* t = particles.FindShader("t");
    ASSERT_NE(t, nullptr);
    c.check(*t);
    const std::string log = NewLog();
    std::vector<std::string> expected;
    for (const std::string& report : c.reports) expected.push_back(") - error in 't': " + report + "\n");
    expected.push_back("done - " + std::to_string(c.reports.size()) + " error(s)\n");
    EXPECT_TRUE(test::ContainsInOrder(log, expected));
  }
}

TEST_F(ParticleParserTest, AReportNamesTheFileTheKeywordsLineAndTheTemplate) {
  Parse("a.particle", "first\n{\n  size 2\n}\nsecond\n{\n  size 4\n  type cone\n}\n");
  EXPECT_TRUE(test::ContainsInOrder(
      NewLog(), {" !    " + Path("a.particle") + "(8) - error in 'second': Unknown emitter type 'cone'\n",
                 "Parsing of '" + Path("a.particle") + "' done - 1 error(s)\n"}));
}

TEST_F(ParticleParserTest, TheFirstDefinitionOfANameWinsWithoutAnError) {
  Parse("a.particle", "snow\n{\n size 2\n}\n");
  NewLog();
  // The duplicate block holds nested braces; the template after it is still read.
  EXPECT_EQ(Parse("b.particle", "snow\n{\n size 8\n { size 10 }\n detail 3\n}\nafter\n{\n size 6\n}\n"), 1);
  const std::string log = NewLog();
  EXPECT_TRUE(test::ContainsInOrder(log, {"*** Particle shader with name snow already defined!\n", " +    after\n",
                                          "done - 0 error(s)\n"}));
  EXPECT_FLOAT_EQ(particles.FindShader("snow")->halfSizeMin, 1.0f);
  EXPECT_EQ(particles.FindShader("snow")->detail, 0);
  ASSERT_NE(particles.FindShader("after"), nullptr);
  EXPECT_FLOAT_EQ(particles.FindShader("after")->halfSizeMin, 3.0f);
  // A file that ends inside the skipped block ends the parse.
  EXPECT_EQ(Parse("c.particle", "snow\n{\n size 8\n"), 0);
  EXPECT_TRUE(test::ContainsInOrder(NewLog(), {"already defined!\n", "done - 0 error(s)\n"}));
}

TEST_F(ParticleParserTest, KeywordsOutsideBlocksAndBracesOutOfPlace) {
  struct Case {
    const char* text;
    int created;
    std::function<void(const N_ParticleMng&)> check;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      // A keyword after a block applies to the template made last.
      {"a\n{\n}\nb\n{\n}\nsize 8\n", 2,
       [](const N_ParticleMng& m) {
         EXPECT_FLOAT_EQ(m.FindShader("b")->halfSizeMin, 4.0f);
         EXPECT_FLOAT_EQ(m.FindShader("a")->halfSizeMin, 0.0f);
       },
       {"done - 0 error(s)\n"}},
      // Before the first template it is reported with no name and its line skipped.
      {"size 8 9\nc\n{\n}\n", 1, [](const N_ParticleMng& m) { EXPECT_FLOAT_EQ(m.FindShader("c")->halfSizeMin, 0.0f); },
       {"(1) - error in '': Unknown attribute 'size'\n", " +    c\n", "done - 1 error(s)\n"}},
      // A stray "}" is reported and ignored: the next block is still a template of its own.
      {"d\n{\n}\n}\ne\n{\n size 4\n}\n", 2,
       [](const N_ParticleMng& m) {
         ASSERT_NE(m.FindShader("e"), nullptr);
         EXPECT_FLOAT_EQ(m.FindShader("e")->halfSizeMin, 2.0f);
         EXPECT_FLOAT_EQ(m.FindShader("d")->halfSizeMin, 0.0f);
       },
       {"(4) - error in '': Unexpected '}' outside a block\n", "done - 1 error(s)\n"}},
      // Nested braces belong to the template; a block open at the end is counted, reported, not kept.
      {"f\n{\n {\n size 4\n }\n live 2\n}\ng\n{\n size 6\n", 2,
       [](const N_ParticleMng& m) {
         EXPECT_FLOAT_EQ(m.FindShader("f")->halfSizeMin, 2.0f);
         EXPECT_FLOAT_EQ(m.FindShader("f")->lifeMin, 2.0f);
         EXPECT_EQ(m.FindShader("g"), nullptr);
       },
       {" +    f\n", " +    g\n", "(10) - error in 'g': The file ends inside the block", "done - 1 error(s)\n"}},
  };
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    particles.ClearShaders();
    NewLog();
    EXPECT_EQ(Parse("k" + std::to_string(index++) + ".particle", c.text), c.created);
    c.check(particles);
    EXPECT_TRUE(test::ContainsInOrder(NewLog(), c.log));
  }
}

TEST_F(ParticleParserTest, NamesAreKeptWholeAndFoundOnlyExactly) {
  const std::string longName(1023, 'n');  // the longest token
  Parse("a.particle", "Snow\n{\n}\n" + longName + "\n{\n size 2\n}\n");
  EXPECT_NE(particles.FindShader("Snow"), nullptr);
  EXPECT_EQ(particles.FindShader("snow"), nullptr);
  EXPECT_EQ(particles.FindShader("Snow "), nullptr);
  ASSERT_NE(particles.FindShader(longName.c_str()), nullptr);
  EXPECT_EQ(particles.FindShader(longName.c_str())->name.size(), 1023u);
  EXPECT_EQ(particles.FindShader(longName.substr(0, 1022).c_str()), nullptr);
}

TEST_F(ParticleParserTest, ATemplatesMaterialIsAddedOnceItIsNamed) {
  Parse("a.particle", "a\n{\n shader particles/x\n}\nb\n{\n shader\n}\nc\n{\n shader \"\"\n}\n");
  const N_ShaderEntry* entry = shaders.GetEntry(particles.FindShader("a")->shader);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->name, "particles/x");
  EXPECT_EQ(entry->type, N_ShaderMng::kType2D);
  // No name, no material: nothing is added for an empty name.
  EXPECT_EQ(particles.FindShader("b")->shader, -1);
  EXPECT_EQ(particles.FindShader("c")->shader, -1);
  EXPECT_EQ(shaders.Count(), 1);
  EXPECT_TRUE(test::ContainsInOrder(NewLog(), {"error in 'b': Parameter for 'shader' expected\n",
                                               "error in 'c': Parameter for 'shader' expected\n"}));
}

}  // namespace

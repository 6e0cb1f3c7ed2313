// The script reader must survive whatever a broken or truncated file holds: no crash,
// no hang, every texture it took given back by the shutdown cycle.
#include "render/ShaderMng.h"

#include "tests/render/ShaderTestSupport.h"
#include "tests/support/TextFuzz.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace {

std::string Mutate(std::string text, test::Lcg& rng) {
  static const std::array<const char*, 22> kPieces{
      "{",       "}",      "#if",       "#else", "#endif",   "blendfunc", "animmap 5 99999 x", "\"",
      "//",      "\n",     "tcmod",     " ",     "deformvertexes", "map", "$lightmap", "a.ifl",
      "ShaderLOD 1", "sort", "-2147483648", "99999999999", "alphafunc gt", "fx"};
  return test::MutateText(std::move(text), rng, kPieces);
}

/// Loads the text as the only script with every name of the samples referenced, then
/// runs the shutdown cycle.
void LoadAndFree(const test::ShaderTestEnv& env, const std::string& text) {
  test::FakeShaderHost host;
  {
    N_ShaderMng mng(4, host);
    test::WriteScript(env.dir, "fuzz.shader", text);
    for (const char* name : {"gfx/2d/bigchars", "console", "HmlaHack1", "textures/water/lake", "textures/snow/track",
                             "textures/stadium/banner", "x", "{", "}"}) {
      mng.AddShader(name, 0, 0);
    }
    mng.LoadShaders();
    mng.ResetRefCounts();
    mng.LoadShaders();
    ASSERT_EQ(mng.Count(), 0);
  }
  ASSERT_EQ(host.TotalRefs(), 0);
}

TEST(ShaderFuzz, MutatedSamplesNeverCrash) {
  test::ShaderTestEnv env;
  env.dir.Write("a.ifl", "one 0.1\ntwo\n");
  const std::string sample = test::SampleScripts(".shader");
  ASSERT_GT(sample.size(), 1000u);
  test::Lcg rng(12345);
  for (int i = 0; i < 2000; ++i) {
    SCOPED_TRACE(i);
    LoadAndFree(env, Mutate(sample, rng));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(env.Count(" +    "), 2000);  // the mutated scripts were really read
  EXPECT_GT(env.Count("*** "), 2000);     // and their faults reported
}

TEST(ShaderFuzz, EveryTruncationOfTheSamples) {
  test::ShaderTestEnv env;
  const std::string sample = test::SampleScripts(".shader");
  for (std::size_t length = 0; length <= sample.size(); length += 3) {
    SCOPED_TRACE(length);
    LoadAndFree(env, sample.substr(0, length));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(env.Count(" +    "), 1000);
}

}  // namespace

// The script reader must survive whatever a broken or truncated file holds: no crash,
// no hang, every texture it took given back by the shutdown cycle.
#include "render/ShaderMng.h"

#include "tests/render/ShaderTestSupport.h"
#include "tests/support/TextFuzz.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

/// The lengths a script is cut to: every third, and both sides of every brace and quote
/// (where a block or a quoted text opens or closes).
std::vector<std::size_t> CutLengths(const std::string& text) {
  std::set<std::size_t> cuts;
  for (std::size_t length = 0; length <= text.size(); length += 3) cuts.insert(length);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{' || text[i] == '}' || text[i] == '"') cuts.insert({i, i + 1});
  }
  return {cuts.begin(), cuts.end()};
}

TEST(ShaderFuzz, EveryTruncationOfTheSamples) {
  // Each sample file is cut on its own: whole files read before the cut would add
  // nothing to what it tests, and the test's time would grow with the square of all
  // the samples' size.
  test::ShaderTestEnv env;
  const std::vector<std::string> samples = test::SampleScriptFiles(".shader");
  std::size_t cuts = 0;
  for (std::size_t file = 0; file < samples.size(); ++file) {
    const std::string& sample = samples[file];
    for (const std::size_t length : CutLengths(sample)) {
      SCOPED_TRACE(testing::Message() << "file " << file << " cut to " << length);
      LoadAndFree(env, sample.substr(0, length));
      if (HasFatalFailure()) return;
      ++cuts;
    }
  }
  EXPECT_GT(cuts, 10000u);
  EXPECT_GT(env.Count(" +    "), 1000);
}

}  // namespace

// The script reader must survive whatever a broken or truncated file holds: no crash,
// no hang, every texture it took given back by the shutdown cycle.
#include "render/ShaderMng.h"

#include "tests/render/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

/// The sample scripts of the game root, one after the other.
std::string SampleText() {
  std::string text;
  for (const auto& file : std::filesystem::directory_iterator(test::GameRoot() + "/data/scripts")) {
    if (file.path().extension() != ".shader") continue;
    std::ifstream in(file.path(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    text += s.str();
  }
  return text;
}

/// A small deterministic generator, so that a failing case can be replayed.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : m_seed(seed) {}
  std::uint32_t Next(std::uint32_t bound) {
    m_seed = m_seed * 214013u + 2531011u;
    return ((m_seed >> 16) & 0x7FFF) % (bound ? bound : 1);
  }

 private:
  std::uint32_t m_seed;
};

std::string Mutate(std::string text, Lcg& rng) {
  static const std::array<const char*, 22> kPieces{
      "{",       "}",      "#if",       "#else", "#endif",   "blendfunc", "animmap 5 99999 x", "\"",
      "//",      "\n",     "tcmod",     " ",     "deformvertexes", "map", "$lightmap", "a.ifl",
      "ShaderLOD 1", "sort", "-2147483648", "99999999999", "alphafunc gt", "fx"};
  const int edits = 1 + static_cast<int>(rng.Next(8));
  for (int i = 0; i < edits && !text.empty(); ++i) {
    const std::size_t at = rng.Next(static_cast<std::uint32_t>(text.size()));
    switch (rng.Next(4)) {
      case 0:
        text.erase(at, 1 + rng.Next(40));
        break;
      case 1:
        text.insert(at, kPieces[rng.Next(kPieces.size())]);
        break;
      case 2:
        text[at] = static_cast<char>(rng.Next(256));
        break;
      default:
        text.resize(at);  // truncated
        break;
    }
  }
  return text;
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
  const std::string sample = SampleText();
  ASSERT_GT(sample.size(), 1000u);
  Lcg rng(12345);
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
  const std::string sample = SampleText();
  for (std::size_t length = 0; length <= sample.size(); length += 3) {
    SCOPED_TRACE(length);
    LoadAndFree(env, sample.substr(0, length));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(env.Count(" +    "), 1000);
}

}  // namespace

// The particle script reader must survive whatever a broken, truncated or hostile file
// holds: no crash, no hang, no read out of bounds (run under the sanitizer build), and
// the emitters made from whatever it read still start, step and draw.
#include "core/Random.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleShader.h"
#include "tests/scene/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

/// The sample particle scripts of the game root, one after the other.
std::string SampleText() {
  std::string text;
  for (const auto& file : std::filesystem::directory_iterator(test::GameRoot() + "/data/scripts")) {
    if (file.path().extension() != ".particle") continue;
    std::ifstream in(file.path(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    text += s.str();
  }
  return text;
}

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
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
  static const std::string kHuge(3000, 'x');
  static const std::array<const char*, 26> kPieces{
      "{",          "}",          "\n",           " ",          "\"",           "//",          "type box",
      "type line",  "type",       "snow",         "numparticles 99999",         "numparticles -1",
      "emissionrate -7 99999",    "size nan",     "live inf",   "live -1 1e38", "fadein 0",    "fadeout -3",
      "color 1e39 -5 nan 300 0",  "gravity 1e30 -1e30 0",       "rotate 1e38",  "detail 300",  "targetsize",
      "-2147483648", "99999999999", kHuge.c_str()};
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

/// Parses the text as the only script into a fresh manager; with `run`, every template
/// read gets an emitter that starts, steps and draws a few frames.
void ParseAndRun(test::ParticleRig& rig, const std::string& text, bool run) {
  N_ParticleMng particles;
  particles.SetDetail(255);  // every template runs
  rig.Script("fuzz.particle", text);
  particles.ParseScript((rig.rig.harness.dir.Path() + "/data/scripts/fuzz.particle").c_str());
  if (!run) return;
  rig.LoadShaders();  // the materials the templates named, so that they draw
  for (const char* name : {"snow", "sparks", "smoke", "powder", "glitter"}) {
    auto emitter = particles.CreateEmitter(name);
    if (!emitter) continue;
    emitter->lineVector = {10.0f, 20.0f, 30.0f};
    emitter->Start();
    for (int frame = 0; frame < 3; ++frame) {
      rig.Step(*emitter, 0.3);
      emitter->Render();
    }
  }
}

TEST(ParticleFuzz, MutatedSamplesNeverCrash) {
  test::ParticleRig rig;
  const std::string sample = SampleText();
  ASSERT_GT(sample.size(), 1000u);
  Lcg rng(12345);
  Srand(1);
  for (int i = 0; i < 2000; ++i) {
    SCOPED_TRACE(i);
    ParseAndRun(rig, Mutate(sample, rng), i % 40 == 0);
    if (HasFatalFailure()) return;
  }
  const std::string log = rig.rig.NewLog();
  // The mutated scripts were really read, and their faults reported.
  EXPECT_GT(test::LinesStartingWith(log, " +    ").size(), 2000u);
  EXPECT_GT(test::LinesStartingWith(log, " !    ").size(), 500u);
}

TEST(ParticleFuzz, EveryTruncationOfTheSamples) {
  test::ParticleRig rig;
  const std::string sample = SampleText();
  Srand(1);
  for (std::size_t length = 0; length <= sample.size(); length += 3) {
    SCOPED_TRACE(length);
    ParseAndRun(rig, sample.substr(0, length), length % 300 == 0);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(test::LinesStartingWith(rig.rig.NewLog(), " +    ").size(), 500u);
}

TEST(ParticleFuzz, HugeTokensDeepBracesAndStrayBraces) {
  test::ParticleRig rig;
  const std::string cases[] = {
      std::string(200000, 'a'),
      "snow\n{\n size " + std::string(100000, '9') + "\n}\n",
      "deep " + Repeat("{ ", 5000) + "size 2 " + Repeat("} ", 4000),
      Repeat("}\n", 3000) + "snow\n{\n size 2\n}\n",
      "\"" + std::string(5000, 'q'),
      "snow\n{\n shader \"" + std::string(2000, 's') + "\"\n}\n",
      std::string("snow\n{\n\0\0\0 size 2\n}\n", 19),
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    ParseAndRun(rig, text, true);
    if (HasFatalFailure()) return;
  }
  const std::string log = rig.rig.NewLog();
  EXPECT_EQ(test::LinesStartingWith(log, "Parsing of '").size(), std::size(cases));
  EXPECT_EQ(test::LinesStartingWith(log, " +    snow").size(), 4u);
  EXPECT_EQ(test::LinesStartingWith(log, " +    deep").size(), 1u);
}

}  // namespace

// The particle script reader must survive whatever a broken, truncated or hostile file
// holds: no crash, no hang, no read out of bounds (run under the sanitizer build), and
// the emitters made from whatever it read still start, step and draw.
#include "core/Random.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleShader.h"
#include "tests/scene/ParticleTestSupport.h"
#include "tests/support/TextFuzz.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace {

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

std::string Mutate(std::string text, test::Lcg& rng) {
  static const std::string kHuge(3000, 'x');
  static const std::array<const char*, 26> kPieces{
      "{",          "}",          "\n",           " ",          "\"",           "//",          "type box",
      "type line",  "type",       "snow",         "numparticles 99999",         "numparticles -1",
      "emissionrate -7 99999",    "size nan",     "live inf",   "live -1 1e38", "fadein 0",    "fadeout -3",
      "color 1e39 -5 nan 300 0",  "gravity 1e30 -1e30 0",       "rotate 1e38",  "detail 300",  "targetsize",
      "-2147483648", "99999999999", kHuge.c_str()};
  return test::MutateText(std::move(text), rng, kPieces);
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
  const std::string sample = test::SampleScripts(".particle");
  ASSERT_GT(sample.size(), 1000u);
  test::Lcg rng(12345);
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
  const std::string sample = test::SampleScripts(".particle");
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

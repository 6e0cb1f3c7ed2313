// The emitter control script's reader must survive whatever a broken, truncated or
// hostile file holds: no crash, no hang, no read out of bounds and no leak (run under
// the sanitizer build). Every run either loads or ends in one of the script's critical
// errors, caught here by a message-box hook that throws.
#include "core/VarMng.h"
#include "platform/win32/Debug.h"
#include "scene/AnimEmitorSet.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureMesh.h"
#include "scene/ParticleSystem.h"
#include "tests/scene/FigureTestSupport.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace {

struct CriticalReport {
  std::string text;
};

/// A small deterministic generator, so that a failing case can be replayed.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next(std::uint32_t below) {
    m_state = m_state * 1103515245u + 12345u;
    return below == 0 ? 0 : ((m_state >> 8) & 0xFFFFFF) % below;
  }

 private:
  std::uint32_t m_state;
};

/// What a broken script may end with.
bool Expected(const std::string& text) {
  for (const char* start : {"Bone name ", "Bone names on line ", "Bracket expected!\n line ", "Error on line ",
                            "Unknown emitter kind '", "Failed to create particle emitor "}) {
    if (text.rfind(start, 0) == 0) return true;
  }
  return false;
}

TEST(EmitterScriptFuzz, GarbageMissingBracesAndHugeTokensLoadOrEndInTheScriptsCriticalError) {
  test::FigureRig rig;
  rig.core.vars->SetInt("PlayersParticles", 0, 0);
  const N_AnimationFactory2& figures = rig.LoadSixFigures();
  const int bones = figures.FigureMesh(0)->BoneCount();
  const std::string seed = rig.harness.dir.Read("data/anim/ref_meshe/particle.ctrl");
  ASSERT_FALSE(seed.empty());
  const std::array<std::string, 12> pieces{
      "{", "}", "point", "line", "patch", "\n", " ", "\"", "//", std::string(5000, 'x'),
      "data\\anim\\lyziari\\stromcek_A.anim -99999999999 0 7", "skitip_l"};
  platform::SetDebugOutputHook([](const std::string&) {});  // thousands of reports: not on stderr
  platform::SetMessageBoxHook([](const std::string& text, const std::string& caption) {
    if (caption == "Critical error!") throw CriticalReport{text};
  });
  Lcg random(24);
  int loaded = 0, refused = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string text = seed;
    switch (round % 4) {
      case 0:  // cut short
        text.resize(random.Next(std::uint32_t(text.size()) + 1));
        break;
      case 1:  // bytes changed
        for (int e = 1 + int(random.Next(6)); e > 0; --e) text[random.Next(std::uint32_t(text.size()))] = char(random.Next(256));
        break;
      case 2:  // tokens put in
        for (int e = 1 + int(random.Next(4)); e > 0; --e) {
          text.insert(random.Next(std::uint32_t(text.size()) + 1), " " + pieces[random.Next(pieces.size())] + " ");
        }
        break;
      case 3:  // a piece of the script taken out
        text.erase(random.Next(std::uint32_t(text.size())), random.Next(80));
        break;
    }
    rig.harness.dir.Write("data/anim/fuzz.ctrl", text);
    N_AnimEmitorSet set;
    try {
      set.Load("data/anim/fuzz.ctrl", figures);
      for (const auto& emitter : set.Emitters()) {
        ASSERT_NE(emitter->switchTable, nullptr);
        ASSERT_TRUE(emitter->boneA >= 0 && emitter->boneA < bones && emitter->boneB >= 0 && emitter->boneB < bones);
        ASSERT_TRUE(emitter->IsPatch() ? emitter->Patch() != nullptr : emitter->Particles() != nullptr);
      }
      ++loaded;
    } catch (const CriticalReport& report) {
      ASSERT_TRUE(Expected(report.text)) << report.text;
      ++refused;
    }
    if (set.SystemList()) rig.particles.DestroySystem(set.SystemList());
  }
  platform::SetMessageBoxHook({});
  platform::SetDebugOutputHook({});
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 500);
}

}  // namespace

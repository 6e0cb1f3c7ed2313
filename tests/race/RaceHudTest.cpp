// The in-race pages on the sample scripts: the status values and the exhaustion
// overlay, the condition bar's blink, the shooting display through a bout, the hits
// and penalty-loop counters, the pause page behind the pause key, and the sound
// categories of a race.
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiTextSelector.h"
#include "platform/dinput8.h"
#include "platform/dinput8/ScriptedInput.h"
#include "race/PausePage.h"
#include "race/PenaltyRounds.h"
#include "race/PlayerStatus.h"
#include "race/RaceSound.h"
#include "race/ShootingPage.h"
#include "render/ShaderMng.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Cells = std::vector<std::string>;

/// The frequency the condition blink writes: the fifth value of the first modifier of
/// the first stage of the shader; NaN when the shader has no such value.
float StretchFrequency(N_World& world, std::int32_t handle) {
  const N_Shader* shader = world.ShaderMng().GetShader(handle);
  const N_ShaderStage* stage = shader ? shader->Stage(0) : nullptr;
  if (!stage || stage->tcMods.empty() || stage->tcMods[0].count < 5) return NAN;
  return stage->tcMods[0].values[4];
}

TEST(RaceHud, PlayerStatusShowsItsValuesAndDarkensTheScreenWithExhaustion) {
  test::RacePagesRig r;
  auto& power = r.ElementAs<N_GuiProgressBar>("Power");
  auto& cond = r.ElementAs<N_GuiProgressBar>("Cond");
  ASSERT_NE(cond.GetShader(), -1);
  ASSERT_NE(cond.GetBackShader(), -1);
  ShowPlayerStatus("Test Skier", "SVK");
  EXPECT_TRUE(r.PageVisible("PlayerStatus"));
  EXPECT_TRUE(r.PageVisible("BlackEyes"));
  EXPECT_EQ(r.Caption("Name1"), "Test Skier");
  EXPECT_EQ(r.Element("Natn1").GetShaderName(), "SVK");
  EXPECT_EQ(r.Element("Black1").GetAlpha(), 0);

  const std::string position = r.strings.Find("#str312");
  const std::string lap = r.strings.Find("#str313");
  ASSERT_FALSE(position.empty());
  struct Case {
    float power, condition;
    float powerBar, conditionBar;
    int alpha;
    float amount, frequency;
    float speed;  ///< m/s, as the physics moves the racer: shown as it is
    const char* shown;
  } cases[] = {
      {0.5f, 0.2f, 0.5f, 0.2f, 51, 0.2f, 1.0f, 10.0f, "10.0 m/s"},
      {0.5f, 0.25f, 0.5f, 0.25f, 0, 0.0f, 0.0f, 8.0f, "8.0 m/s"},  // no darkness at the limit; the blink stops again
      {-1.0f, -0.3f, 0.0f, 0.0f, 255, 1.0f, 1.0f, 7.96f, "8.0 m/s"},  // negative values show 0 and full darkness
      {1.5f, 1.0f, 1.5f, 1.0f, 0, 0.0f, 0.0f, 0.0f, "0.0 m/s"},      // no upper clamp
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.condition);
    auto& render = static_cast<test::PagesRender&>(r.rig.render);
    render.amounts.clear();
    UpdatePlayerStatus(75.5f, c.speed, 171.6f, c.power, c.condition, 3, 2, 4);
    EXPECT_EQ(r.Caption("Time1"), "01:15.500");
    EXPECT_EQ(r.Caption("Speed1"), c.shown);
    EXPECT_EQ(r.Caption("HeartFreq1"), "172");
    EXPECT_EQ(r.Caption("Position1"), position + "3");
    EXPECT_EQ(r.Caption("Round1"), lap + "2/4");
    EXPECT_EQ(power.GetValue(), c.powerBar);
    EXPECT_EQ(cond.GetValue(), c.conditionBar);
    EXPECT_EQ(r.Element("Black1").GetAlpha(), c.alpha);
    ASSERT_EQ(render.amounts.size(), 1u);
    EXPECT_NEAR(render.amounts[0], c.amount, 1e-6);
    EXPECT_EQ(StretchFrequency(r.World(), cond.GetShader()), c.frequency);
    EXPECT_EQ(StretchFrequency(r.World(), cond.GetBackShader()), c.frequency);
  }
}

TEST(RaceHud, TheConditionBlinkWritesOnlyAStretchThatHasAllItsValues) {
  test::RacePagesRig r;
  // Materials without a stage, without a texture-coordinate modifier, with a modifier
  // of fewer than five values, and one of the sample's kind.
  r.rig.harness.dir.Write("data/scripts/zz_conditions.shader",
                          "NoStage\n{\ncull none\n}\n"
                          "NoModifier\n{\ncull none\n{\nmap textures/hud/cond\n}\n}\n"
                          "ShortModifier\n{\ncull none\n{\nmap textures/hud/cond\ntcmod scroll 0.5 0.25\n}\n}\n"
                          "FullStretch\n{\ncull none\n{\nmap textures/hud/cond\ntcmod stretch sin 1.0 0.1 0 0\n}\n}\n");
  auto& cond = r.ElementAs<N_GuiProgressBar>("Cond");
  auto& render = static_cast<test::PagesRender&>(r.rig.render);
  struct Case {
    const char* shader;
    bool written;
  } cases[] = {{"NoStage", false}, {"NoModifier", false}, {"ShortModifier", false}, {"FullStretch", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shader);
    cond.SetShader(c.shader);
    cond.SetBackShader(c.shader);
    r.World().ShaderMng().LoadShaders();
    const N_Shader* shader = r.World().ShaderMng().GetShader(cond.GetShader());
    ASSERT_NE(shader, nullptr);
    const N_ShaderStage* stage = shader->Stage(0);
    const std::vector<N_ShaderTcMod> before = stage ? stage->tcMods : std::vector<N_ShaderTcMod>{};
    render.amounts.clear();
    UpdatePlayerStatus(0.0f, 0.0f, 0.0f, 1.0f, 0.1f, 1, 1, 1);
    EXPECT_FLOAT_EQ(cond.GetValue(), 0.1f);
    EXPECT_EQ(r.Element("Black1").GetAlpha(), 153);
    ASSERT_EQ(render.amounts.size(), 1u);
    EXPECT_NEAR(render.amounts[0], 0.6f, 1e-6);
    if (c.written) {
      EXPECT_EQ(StretchFrequency(r.World(), cond.GetShader()), 1.0f);
    } else if (stage) {
      ASSERT_EQ(stage->tcMods.size(), before.size());
      for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(stage->tcMods[i].values, before[i].values);
    }
  }
}

TEST(RaceHud, TheShootTableFollowsABoutOfShots) {
  test::RacePagesRig r;
  r.rig.core.vars->SetInt("gamemode", 0, 2);
  ShowPlayerStatus("Test Skier", "SVK");
  ShowShootingPage();
  EXPECT_TRUE(r.PageVisible("Shooting"));
  N_GuiElement& flash = r.Element("TrestRed");
  EXPECT_EQ(flash.GetLeft(), 176.0f);
  EXPECT_EQ(flash.GetAlpha(), 0);
  EXPECT_EQ(r.Element("Bullets").GetShaderName(), "BULLETS5");
  const Cells fresh{"SVK", "Test Skier", "PENALTY0", "MISS", "MISS", "MISS", "MISS", "MISS"};
  EXPECT_EQ(r.Rows("ShootTable"), std::vector<Cells>{fresh});

  // Three shots: a hit, a miss (no new target), a hit; the first cell shows bit 4.
  struct Shot {
    std::uint8_t mask;
    Cells row;
    const char* bullets;
    int flash;
    int misses;
  } shots[] = {
      {0x01, {"SVK", "Test Skier", "PENALTY0", "MISS", "MISS", "MISS", "MISS", "HIT"}, "BULLETS4", 0, 0},
      {0x01, {"SVK", "Test Skier", "PENALTY1", "MISS", "MISS", "MISS", "MISS", "HIT"}, "BULLETS3", 255, 1},
      {0x05, {"SVK", "Test Skier", "PENALTY1", "MISS", "MISS", "HIT", "MISS", "HIT"}, "BULLETS2", 255, 1},
  };
  for (const Shot& s : shots) {
    SCOPED_TRACE(int(s.mask));
    UpdateShootTable(s.mask);
    EXPECT_EQ(r.Rows("ShootTable"), std::vector<Cells>{s.row});
    EXPECT_EQ(r.Element("Bullets").GetShaderName(), s.bullets);
    EXPECT_EQ(flash.GetAlpha(), s.flash);
    EXPECT_EQ(g_shootingHud.MissCount, s.misses);
  }
  // The 0.25 s flash runs down with the frames of the range clock.
  for (const int alpha : {255, 255, 0}) {
    r.Step(0.1);
    UpdateShootingClock(12.25f);
    EXPECT_EQ(flash.GetAlpha(), alpha);
  }
  EXPECT_EQ(r.Caption("Time2"), "00:12.250");

  // Two more misses use the magazine up; a shot after the fifth changes nothing.
  UpdateShootTable(0x05);
  UpdateShootTable(0x05);
  const std::vector<Cells> spent = r.Rows("ShootTable");
  EXPECT_EQ(spent[0][2], "PENALTY3");
  EXPECT_EQ(r.Element("Bullets").GetShaderName(), "BULLETS0");
  flash.SetAlpha(0);
  UpdateShootTable(0x00);
  EXPECT_EQ(r.Rows("ShootTable"), spent);
  EXPECT_EQ(g_shootingHud.MissCount, 3);
  EXPECT_EQ(flash.GetAlpha(), 0);

  // Leaving the stand; the rifle's reset then brings the first row back, page closed.
  CloseShootingPage();
  EXPECT_EQ(flash.GetLeft(), 650.0f);
  r.Frames(0.5);
  EXPECT_FALSE(r.PageVisible("Shooting"));
  ResetShootTable();
  EXPECT_EQ(r.Rows("ShootTable"), std::vector<Cells>{fresh});
  EXPECT_EQ(r.Element("Bullets").GetShaderName(), "BULLETS5");
  EXPECT_FALSE(r.PageVisible("Shooting"));

  // Cartridges added: up to five, never below none, whatever the count.
  UpdateShootTable(0x01);
  struct Add {
    std::int32_t count;
    const char* bullets;
  } adds[] = {{3, "BULLETS5"}, {-2, "BULLETS3"}, {-10, "BULLETS0"}, {INT_MAX, "BULLETS5"}, {INT_MIN, "BULLETS0"}};
  for (const Add& a : adds) {
    AddBullets(a.count);
    EXPECT_EQ(r.Element("Bullets").GetShaderName(), a.bullets) << a.count;
  }
}

TEST(RaceHud, TheShootingPageClearsTheOverlayOnlyInTrainingsAndBuddyGames) {
  test::RacePagesRig r;
  for (const int mode : {0, 1, 2, 3, 4, 5, 6}) {
    SCOPED_TRACE(mode);
    r.rig.core.vars->SetInt("gamemode", mode, 2);
    ShowPlayerStatus("A", "GER");
    UpdatePlayerStatus(0.0f, 0.0f, 0.0f, 1.0f, 0.2f, 1, 1, 1);  // alpha 51
    ShowShootingPage();
    const bool cleared = mode >= 3 && mode <= 5;
    EXPECT_EQ(r.Element("Black1").GetAlpha(), cleared ? 0 : 51);
    EXPECT_EQ(r.Element("TrestRed").GetAlpha(), 0);
  }
}

TEST(RaceHud, HitsPenaltyLoopsAndStopwatch) {
  test::RacePagesRig r;
  ShowShootingPage();
  EXPECT_FALSE(r.Element("ShootingHits").IsVisible()) << "the trainings show it";
  ShowShootingHits();
  EXPECT_TRUE(r.Element("ShootingHits").IsVisible());
  EXPECT_EQ(r.Caption("Hits"), "0");
  AddShootingHit();
  AddShootingHit();
  EXPECT_EQ(r.Caption("Hits"), "2");
  ShowShootingHits();
  EXPECT_EQ(r.Caption("Hits"), "0");
  AddShootingHit();
  EXPECT_EQ(r.Caption("Hits"), "1");
  HideShootingHits();
  EXPECT_FALSE(r.Element("ShootingHits").IsVisible());

  ShowPenaltyRounds(3);
  EXPECT_TRUE(r.PageVisible("PenaltyRounds"));
  EXPECT_EQ(r.Caption("NumPenalty"), "3");
  UpdatePenaltyRounds(2);
  EXPECT_EQ(r.Caption("NumPenalty"), "2");
  ClosePenaltyRounds();
  r.Frames(0.375);
  EXPECT_TRUE(r.PageVisible("PenaltyRounds")) << "fading out at 2.0 a second";
  r.Frames(0.125);
  EXPECT_FALSE(r.PageVisible("PenaltyRounds"));

  EXPECT_FALSE(r.Element("Stopka").IsVisible());
  ShowStopwatch();
  EXPECT_TRUE(r.Element("Stopka").IsVisible());
  HideStopwatch();
  EXPECT_FALSE(r.Element("Stopka").IsVisible());
}

TEST(RaceHud, ThePauseKeyFadesThePausePageInAndOut) {
  test::RacePagesRig r;
  platform::ScriptedInput script;
  std::unique_ptr<N_InputMng> input = r.ScriptedInputMng();
  ASSERT_NE(input, nullptr);
  ResetKeyDefinitions();  // the pause key is DIK_F5
  N_PlayerControls controls;
  const N_GuiPage* pause = r.World().GuiMng().GetPage("Pause");
  ASSERT_NE(pause, nullptr);

  script.Tap(DIK_F5);
  input->Update();
  controls.Poll();
  EXPECT_TRUE(controls.IsPaused());
  EXPECT_TRUE(pause->IsVisible());
  EXPECT_EQ(pause->GetAlpha(), 0.0f) << "fading in";
  r.Frames(0.5);
  EXPECT_EQ(pause->GetAlpha(), 1.0f);

  script.Tap(DIK_F5);
  input->Update();
  controls.Poll();
  EXPECT_FALSE(controls.IsPaused());
  r.Frames(0.375);
  EXPECT_TRUE(pause->IsVisible()) << "fading out";
  r.Frames(0.125);
  EXPECT_FALSE(pause->IsVisible());

  // Without the world the key still pauses, and opens nothing.
  r.world.reset();
  g_world = nullptr;
  script.Tap(DIK_F5);
  input->Update();
  controls.Poll();
  EXPECT_TRUE(controls.IsPaused());
  g_inputMng = nullptr;
  input->Shutdown();
}

TEST(RaceHud, ARaceSwitchesTheSoundCategoriesByTheOptionsSelectors) {
  using Switches = std::vector<std::pair<int, bool>>;
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, std::uint32_t>> selectors;  ///< made with three items each
    bool audience;
    Switches expected;
  } cases[] = {
      {"selectors", {{"CommentariesFX", 0}, {"EnvironmentFX", 1}, {"SkiFX", 0}, {"BodyFX", 2}}, true,
       {{4, true}, {5, false}, {3, true}, {2, false}, {6, true}, {1, false}}},
      {"no ski selector", {{"CommentariesFX", 1}, {"EnvironmentFX", 1}, {"BodyFX", 1}}, false,
       {{4, false}, {5, false}, {3, true}, {2, false}, {6, false}, {1, false}}},
      {"no options page", {}, true, {{4, true}, {5, true}, {3, true}, {2, true}, {6, true}, {1, false}}},
  };
  test::RacePagesRig r;
  N_GuiMng& gui = r.World().GuiMng();
  // The sample settings page's own selectors go: each case makes those it names.
  for (const char* name : {"CommentariesFX", "EnvironmentFX", "SkiFX", "BodyFX"}) gui.DestroyElement(name, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [name, item] : c.selectors) {
      auto* selector = static_cast<N_GuiTextSelector*>(gui.CreateElement("TextSelector", name, false));
      ASSERT_NE(selector, nullptr);
      for (const char* text : {"On", "Off", "Quiet"}) selector->AddItem(text);
      selector->SetSelected(item);
    }
    r.sounds->switches.clear();
    SwitchSoundGroupsToRace(c.audience);
    EXPECT_EQ(r.sounds->switches, c.expected);
    for (const auto& [name, item] : c.selectors) gui.DestroyElement(name, false);
  }
}

}  // namespace

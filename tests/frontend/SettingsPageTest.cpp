// The settings page over the sample pages: showing from the variables, applying to
// them, the presets and the restart-needed flag, the picture and volume sliders.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/SettingsPage.h"
#include "frontend/SettingsTables.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTextSelector.h"
#include "race/RaceSound.h"
#include "scene/ParticleMng.h"
#include "sound/SoundMng.h"
#include "frontend/FrontendUtil.h"
#include "tests/frontend/MenuRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct SettingsRig {
  test::MenuRig menu;
  test::RacePagesRig& r = menu.pages;

  N_GuiTextSelector& Selector(const char* name) { return r.ElementAs<N_GuiTextSelector>(name); }
  N_GuiScrollBar& Slider(const char* name) { return r.ElementAs<N_GuiScrollBar>(name); }
  /// A button as the GUI delivers a click; a selector or slider gets its callback on
  /// the item or position the test gave it.
  void Click(const char* name) {
    N_GuiElement& element = r.Element(name);
    if (element.GetTypeName() != "Button") {
      OptionsClick(&element);
    } else {
      menu.Press(name);
    }
  }
  void Show() { Options1Show(nullptr); }
  /// Every selector on an item the page will not show for the defaults.
  void MarkSelectors() {
    for (const auto& row : settings::VideoSelectors()) Selector(row.selector).SetSelected(1);
  }
  std::array<WORD, 256> Ramp() {
    const D3DGAMMARAMP& ramp = r.rig.device->GammaRamp();
    std::array<WORD, 256> red{};
    std::memcpy(red.data(), ramp.red, sizeof(ramp.red));
    return red;
  }
  /// The ramp the renderer makes from these values.
  std::array<WORD, 256> RampOf(float gamma, float brightness, float contrast) {
    g_render->SetGamma(gamma, brightness, contrast, 1);
    return Ramp();
  }
};

struct VarValue {
  const char* name;
  const char* value;
};

TEST(SettingsPage, ShowTakesEachElementFromOneVariable) {
  struct Case {
    std::vector<VarValue> vars;
    std::vector<std::pair<const char*, int>> shown;  ///< -1: the item set before stays
  };
  const Case cases[] = {
      // The built-in defaults; "LODAudienceDistance" 20 matches no row.
      {{},
       {{"Resolution", 0}, {"VSync", 1}, {"Shadows", 1}, {"Antialiasing", 0}, {"TexQuality", 0}, {"LMQuality", 0},
        {"Particles", 2}, {"DetailLevel", -1}, {"Brightness1", 50}, {"Contrast1", 50}, {"Gamma1", 50},
        {"FXVolume1", 100}, {"MusicVolume1", 100}, {"CommentariesFX", 0}, {"EnvironmentFX", 0}, {"SkiFX", 0},
        {"BodyFX", 0}}},
      {{{"SoundCategorySki", "2"}, {"SoundCategoryBody", "-1"}, {"SoundCategoryEnvironment", "0"}},
       {{"SkiFX", 0}, {"BodyFX", 0}, {"EnvironmentFX", 1}}},
      {{{"v_width", "640"}, {"v_height", "480"}}, {{"Resolution", -1}}},
      {{{"v_width", "1600"}, {"v_height", "600"}}, {{"Resolution", 3}}},
      {{{"r_picmip", "1"}, {"r_filter", "2"}}, {{"TexQuality", 1}}},
      {{{"r_picmip", "7"}}, {{"TexQuality", -1}}},
      {{{"ShaderLOD", "3"}}, {{"LMQuality", 2}}},
      {{{"ShaderLOD", "0"}}, {{"LMQuality", -1}}},
      {{{"LODAudienceDistance", "0"}, {"LOD", "0"}, {"ShaderVD", "1"}}, {{"DetailLevel", 2}}},
      {{{"r_swapInterval", "1"}, {"v_multisample", "4"}, {"ParticleDetails", "0"}}, {{"VSync", 0}, {"Antialiasing", 2}, {"Particles", 3}}},
      // Shown values to the nearest integer, ties to even.
      {{{"r_brightness", "-0.75"}, {"r_contrast", "1.5"}, {"r_gamma", "0.5"}},
       {{"Brightness1", 12}, {"Contrast1", 100}, {"Gamma1", 0}}},
  };
  // One game root a process: the cases share the rig and start from the defaults.
  SettingsRig s;
  std::vector<std::pair<std::string, std::string>> defaults;
  for (const Case& c : cases) {
    for (const VarValue& v : c.vars) defaults.emplace_back(v.name, g_varMng->GetString(v.name));
  }
  for (const Case& c : cases) {
    for (const auto& [name, value] : defaults) g_varMng->SetString(name.c_str(), value.c_str(), 2);
    for (const VarValue& v : c.vars) g_varMng->SetString(v.name, v.value, 2);
    s.MarkSelectors();
    s.Show();
    for (const auto& [name, expected] : c.shown) {
      SCOPED_TRACE(name);
      N_GuiElement& element = s.r.Element(name);
      if (auto* selector = dynamic_cast<N_GuiTextSelector*>(&element)) {
        EXPECT_EQ(int(selector->GetSelected()), expected == -1 ? 1 : expected);
      } else {
        EXPECT_EQ(dynamic_cast<N_GuiScrollBar&>(element).GetValue(), expected);
      }
    }
  }
}

TEST(SettingsPage, EveryItemAppliedShowsAgain) {
  SettingsRig s;
  for (const auto& row : settings::VideoSelectors()) {
    N_GuiTextSelector& selector = s.Selector(row.selector);
    ASSERT_EQ(selector.Items().size(), row.items.size()) << row.selector;
    for (std::uint32_t item = 0; item < row.items.size(); ++item) {
      SCOPED_TRACE(std::string(row.selector) + " " + std::to_string(item));
      selector.SetSelected(item);
      ApplyVideoSettings();
      selector.SetSelected((item + 1) % row.items.size());
      s.Show();
      EXPECT_EQ(selector.GetSelected(), item);
      if (row.particleDetail) {
        EXPECT_EQ(int(s.r.World().ParticleMng().Detail()), g_varMng->GetInt("ParticleDetails"));
      }
    }
  }
  // The switches are on and off; the sliders run from 0 to 100 without arrows.
  for (const auto& row : settings::SoundSwitches()) EXPECT_EQ(s.Selector(row.selector).Items().size(), 2u);
  for (const char* name : {"Brightness1", "Contrast1", "Gamma1", "FXVolume1", "MusicVolume1"}) {
    const N_GuiScrollBar& slider = s.Slider(name);
    EXPECT_EQ(slider.GetMinimum(), 0) << name;
    EXPECT_EQ(slider.GetMaximum(), 100) << name;
    EXPECT_EQ(slider.GetUpButton(), nullptr) << name;
    EXPECT_EQ(slider.GetDownButton(), nullptr) << name;
    EXPECT_EQ(slider.GetOnMouseDown(), "OptionsClick") << name;
  }
  // An item the table does not know writes nothing.
  const auto* resolution = settings::FindVideoSelector("Resolution");
  g_varMng->SetInt("v_width", 640, 2);
  EXPECT_FALSE(settings::ApplyItem(*resolution, 4));
  EXPECT_EQ(g_varMng->GetInt("v_width"), 640);
}

TEST(SettingsPage, PresetsSetOnlyTheirSelectorsAndTheFlag) {
  SettingsRig s;
  s.menu.ShowOnly({"CareerHS", "Settings"});
  EXPECT_FALSE(settings::RestartNeeded());
  s.Click("LoSettings");
  EXPECT_TRUE(settings::RestartNeeded());
  EXPECT_EQ(g_varMng->GetInt("v_width"), 800);  // nothing written yet
  s.Selector("VSync").SetSelected(1);
  g_varMng->SetInt("r_swapInterval", 1, 2);
  s.Click("Apply1");
  const std::vector<VarValue> written = {
      {"v_width", "800"},    {"v_height", "600"},        {"r_shadowsEnabled", "0"}, {"v_multisample", "0"},
      {"r_picmip", "1"},     {"r_filter", "1"},          {"ShaderLOD", "2"},        {"ParticleDetails", "2"},
      {"LODAudienceDistance", "30"}, {"LOD", "0"},        {"ShaderVD", "0"},
  };
  for (const VarValue& v : written) EXPECT_STREQ(g_varMng->GetString(v.name), v.value) << v.name;
  EXPECT_EQ(g_varMng->GetInt("r_swapInterval"), 0);  // "VSync" is the page's, not the preset's
  EXPECT_EQ(s.r.World().ParticleMng().Detail(), 2);
  // The flag asks for a restart; its answer ends the game with "restart".
  EXPECT_TRUE(s.r.PageVisible("Settings"));
  ASSERT_TRUE(s.r.PageVisible("MessageOK"));
  EXPECT_EQ(s.r.Caption("Label2"), frontend::Text("#str351"));
  EXPECT_FALSE(frontend::Text("#str351").empty());
  s.Click("Ok1");
  EXPECT_FALSE(s.r.PageVisible("MessageOK"));
  EXPECT_FALSE(settings::RestartNeeded());
  EXPECT_EQ(g_varMng->GetInt("exit"), 1);
  EXPECT_EQ(g_varMng->GetInt("restart"), 1);
  // Each preset sets exactly its seven selectors, never "VSync" or a slider.
  for (const auto& preset : settings::Presets()) {
    SCOPED_TRACE(preset.button);
    s.Selector("VSync").SetSelected(0);
    s.Slider("Gamma1").SetValue(7);
    s.Click(preset.button);
    const auto selectors = settings::PresetSelectors();
    for (std::size_t i = 0; i < selectors.size(); ++i) EXPECT_EQ(s.Selector(selectors[i]).GetSelected(), preset.items[i]);
    EXPECT_EQ(s.Selector("VSync").GetSelected(), 0u);
    EXPECT_EQ(s.Slider("Gamma1").GetValue(), 7);
  }
}

TEST(SettingsPage, OnlyTheRestartSelectorsSetTheFlag) {
  SettingsRig s;
  N_GuiMng& gui = s.r.World().GuiMng();
  for (const auto& row : settings::VideoSelectors()) {
    SCOPED_TRACE(row.selector);
    s.Show();
    s.Click(row.selector);
    EXPECT_EQ(settings::RestartNeeded(), row.needsRestart);
    if (row.needsRestart) {
      cbSettingsRestart(nullptr);  // the only way back
      EXPECT_FALSE(settings::RestartNeeded());
      continue;
    }
    // Without the flag "Apply1" goes back to the options at once.
    gui.GetPage("Settings")->ShowImmediate();
    gui.GetPage("CareerHS")->ShowImmediate();
    s.Click("Apply1");
    EXPECT_FALSE(s.r.PageVisible("Settings"));
    EXPECT_FALSE(s.r.PageVisible("CareerHS"));
    EXPECT_TRUE(s.r.PageVisible("Background"));
    EXPECT_TRUE(s.r.PageVisible("MainOptions"));
  }
  // A choice left with "Back14" is forgotten, the flag it set is not.
  s.menu.ShowOnly({"Background", "MainOptions"});
  s.Click("Settings");
  s.Selector("Resolution").SetSelected(2);
  s.Click("Resolution");
  s.Click("Back14");
  EXPECT_EQ(s.menu.Visible(), (std::vector<std::string>{"Background", "MainOptions"}));
  s.Click("Settings");
  EXPECT_EQ(s.Selector("Resolution").GetSelected(), 0u);
  s.Click("Apply1");
  EXPECT_TRUE(s.r.PageVisible("MessageOK"));
  EXPECT_EQ(g_varMng->GetInt("v_width"), 800);
}

TEST(SettingsPage, SlidersPreviewAndApplyBrightnessContrastGamma) {
  SettingsRig s;
  s.Show();
  const auto stored = s.RampOf(1.0f, 0.0f, 1.0f);
  struct Case {
    int position;
    float brightness, contrast, gamma;
  };
  for (const Case c : {Case{0, -1.0f, 0.5f, 0.5f}, Case{100, 1.0f, 1.5f, 1.5f}}) {
    SCOPED_TRACE(c.position);
    const auto expected = s.RampOf(c.gamma, c.brightness, c.contrast);
    s.Show();
    for (const char* name : {"Brightness1", "Contrast1", "Gamma1"}) s.Slider(name).SetValue(c.position);
    s.Click("Gamma1");
    EXPECT_EQ(s.Ramp(), expected);
    EXPECT_FLOAT_EQ(g_varMng->GetFloat("r_gamma"), 1.0f);  // a preview only
    s.Click("Back14");
    EXPECT_EQ(s.Ramp(), stored);
    EXPECT_FALSE(s.r.PageVisible("Settings"));
    for (const char* name : {"Brightness1", "Contrast1", "Gamma1"}) s.Slider(name).SetValue(c.position);
    s.Click("Apply1");
    EXPECT_FLOAT_EQ(g_varMng->GetFloat("r_brightness"), c.brightness);
    EXPECT_FLOAT_EQ(g_varMng->GetFloat("r_contrast"), c.contrast);
    EXPECT_FLOAT_EQ(g_varMng->GetFloat("r_gamma"), c.gamma);
    g_varMng->SetFloat("r_brightness", 0.0f, 2);
    g_varMng->SetFloat("r_contrast", 1.0f, 2);
    g_varMng->SetFloat("r_gamma", 1.0f, 2);
  }
}

TEST(SettingsPage, VolumesActAtOnceAndSwitchesOnlyWriteTheirVariables) {
  SettingsRig s;
  auto& sounds = *s.r.sounds;
  // A race plays the same groups before and after the page is first shown: the stored
  // switches (on by default), which the page shows.
  const std::vector<std::pair<int, bool>> on = {{4, true}, {5, true}, {3, true}, {2, true}, {6, true}, {1, false}};
  SwitchSoundGroupsToRace(true);
  EXPECT_EQ(sounds.switches, on);
  s.Show();
  sounds.switches.clear();
  SwitchSoundGroupsToRace(true);
  EXPECT_EQ(sounds.switches, on);

  s.Slider("FXVolume1").SetValue(0);
  s.Click("FXVolume1");
  s.Slider("MusicVolume1").SetValue(25);
  s.Click("MusicVolume1");
  EXPECT_EQ(g_soundMng->GetFXVolume(), 0.0f);
  EXPECT_FLOAT_EQ(g_soundMng->GetMusicVolume(), 0.25f);
  s.Click("Back14");
  s.Click("Apply1");
  EXPECT_EQ(g_soundMng->GetFXVolume(), 0.0f);
  s.Show();
  EXPECT_EQ(s.Slider("FXVolume1").GetValue(), 0);
  EXPECT_EQ(s.Slider("MusicVolume1").GetValue(), 25);
  g_soundMng->SetMusicVolume(0.125f);  // ties to even
  s.Show();
  EXPECT_EQ(s.Slider("MusicVolume1").GetValue(), 12);

  for (const auto& row : settings::SoundSwitches()) {
    SCOPED_TRACE(row.selector);
    sounds.switches.clear();
    s.Selector(row.selector).SetSelected(0);
    s.Click(row.selector);
    EXPECT_EQ(g_varMng->GetInt(row.variable), 1);
    s.Selector(row.selector).SetSelected(1);
    s.Click(row.selector);
    EXPECT_EQ(g_varMng->GetInt(row.variable), 0);
    EXPECT_TRUE(sounds.switches.empty());
  }
}

}  // namespace

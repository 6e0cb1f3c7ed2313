#include "frontend/SettingsPage.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/ControlsPage.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/SettingsTables.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTextSelector.h"
#include "race/World.h"
#include "render/Render.h"
#include "sound/SoundMng.h"

#include <cstring>
#include <optional>

namespace settings {

namespace {

bool g_restartNeeded = false;

constexpr std::uint32_t kSetFlags = 2;
constexpr std::uint8_t kCalibrate = 1;
constexpr std::int32_t kTestSound = 33;  // "fxtest" of the sound cache

bool Is(const N_GuiElement* element, const char* name) { return std::strcmp(element->GetName().c_str(), name) == 0; }

N_GuiTextSelector* Selector(const char* name) { return frontend::GetElementOf<N_GuiTextSelector>(name); }
N_GuiScrollBar* Slider(const char* name) { return frontend::GetElementOf<N_GuiScrollBar>(name); }

/// The value a picture slider stands for; without the slider (the scripts are required
/// to define it) the variable keeps its own.
float SliderValue(const SliderRow& row) {
  if (const N_GuiScrollBar* slider = Slider(row.slider)) return SliderToValue(row, slider->GetValue());
  return g_varMng ? g_varMng->GetFloat(row.variable) : 0.0f;
}

/// A volume slider's position; without the slider the volume stays.
std::optional<std::int32_t> VolumePosition(const char* name) {
  const N_GuiScrollBar* slider = Slider(name);
  return slider ? std::optional(slider->GetValue()) : std::nullopt;
}

/// The ramp from gamma, brightness and contrast, in the renderer's order.
void SetGammaRamp(float gamma, float brightness, float contrast) {
  if (g_render) g_render->SetGamma(gamma, brightness, contrast, kCalibrate);
}

/// Brightness, contrast and gamma as the three picture sliders would apply them.
void PreviewSliders() {
  const auto rows = PictureSliders();
  SetGammaRamp(SliderValue(rows[2]), SliderValue(rows[0]), SliderValue(rows[1]));
}

/// The display as the applied variables say: undoes a preview.
void RestoreGammaFromVariables() {
  if (!g_varMng) return;
  SetGammaRamp(g_varMng->GetFloat("r_gamma"), g_varMng->GetFloat("r_brightness"), g_varMng->GetFloat("r_contrast"));
}

void ReturnToOptions() {
  frontend::HidePageNow("Settings");
  frontend::HidePageNow("CareerHS");
  frontend::ShowPageNow("Background");
  frontend::ShowPageNow("MainOptions");
}

void ShowSound() {
  if (g_soundMng) {
    if (N_GuiScrollBar* fx = Slider("FXVolume1")) fx->SetValue(VolumeToSlider(g_soundMng->GetFXVolume()));
    if (N_GuiScrollBar* music = Slider("MusicVolume1")) music->SetValue(VolumeToSlider(g_soundMng->GetMusicVolume()));
  }
  settings::ShowSoundSwitches();
}

void ShowVideo() {
  for (const SelectorRow& row : VideoSelectors()) {
    N_GuiTextSelector* selector = Selector(row.selector);
    if (!selector) continue;
    if (const auto item = ShownItem(row)) selector->SetSelected(*item);
  }
  for (const SliderRow& row : PictureSliders()) {
    N_GuiScrollBar* slider = Slider(row.slider);
    if (slider && g_varMng) slider->SetValue(ValueToSlider(row, g_varMng->GetFloat(row.variable)));
  }
}

/// The sound branches; false when the element is none of them.
bool ClickSound(const N_GuiElement* element) {
  if (const SoundSwitchRow* row = FindSoundSwitch(element->GetName().c_str())) {
    const N_GuiTextSelector* selector = Selector(row->selector);
    if (selector && g_varMng) g_varMng->SetInt(row->variable, SwitchValue(selector->GetSelected()), kSetFlags);
    return true;
  }
  if (Is(element, "FXVolume1")) {
    if (g_world) g_world->SoundCache().Play(kTestSound);
    const auto position = VolumePosition("FXVolume1");
    if (g_soundMng && position) g_soundMng->SetFXVolume(SliderToVolume(*position));
    return true;
  }
  if (Is(element, "MusicVolume1")) {
    const auto position = VolumePosition("MusicVolume1");
    if (g_soundMng && position) g_soundMng->SetMusicVolume(SliderToVolume(*position));
    return true;
  }
  return false;
}

void ApplyPreset(const PresetRow& preset) {
  const auto selectors = PresetSelectors();
  for (std::size_t i = 0; i < selectors.size(); ++i) {
    if (N_GuiTextSelector* selector = Selector(selectors[i])) selector->SetSelected(preset.items[i]);
  }
  g_restartNeeded = true;
}

}  // namespace

bool RestartNeeded() { return g_restartNeeded; }

void ShowSoundSwitches() {
  if (!frontend::FindPage("Settings")) return;  // the game's own start pages only
  for (const SoundSwitchRow& row : SoundSwitches()) {
    if (N_GuiTextSelector* selector = Selector(row.selector)) {
      selector->SetSelected(SwitchItem(g_varMng ? g_varMng->GetInt(row.variable) : 0));
    }
  }
}

}  // namespace settings

void ApplyVideoSettings() {
  using namespace settings;
  for (const SelectorRow& row : VideoSelectors()) {
    const N_GuiTextSelector* selector = Selector(row.selector);
    if (!selector || !ApplyItem(row, selector->GetSelected())) continue;
    if (row.particleDetail && g_world && g_varMng) {
      g_world->ParticleMng().SetDetail(static_cast<std::uint8_t>(g_varMng->GetInt(row.items[0].writes[0].name)));
    }
  }
  if (!g_varMng) return;
  for (const SliderRow& row : PictureSliders()) g_varMng->SetFloat(row.variable, SliderValue(row), kSetFlags);
}

extern "C" {

void Options1Show(N_GuiPage*) {
  settings::ShowSound();
  settings::ShowVideo();
}

void OptionsClick(N_GuiElement* element) {
  using namespace settings;
  if (!element) return;
  const char* name = element->GetName().c_str();
  if (Is(element, "Back14")) {
    RestoreGammaFromVariables();
    ReturnToOptions();
  } else if (Is(element, "Back15")) {
    ControlsBack();
  } else if (Is(element, "Apply1")) {
    ApplyVideoSettings();
    if (g_restartNeeded) {
      ShowMessageOK(frontend::Text("#str351"), "cbSettingsRestart");
    } else {
      ReturnToOptions();
    }
  } else if (ClickSound(element)) {
  } else if (Is(element, "Brightness1") || Is(element, "Contrast1") || Is(element, "Gamma1")) {
    PreviewSliders();
  } else if (const PresetRow* preset = FindPreset(name)) {
    ApplyPreset(*preset);
  } else if (const SelectorRow* row = FindVideoSelector(name)) {
    if (row->needsRestart) g_restartNeeded = true;  // "Shadows" and "Particles" act without a restart
  } else {
    ClickKeyButton(element);  // any other name does nothing there
  }
}

void cbSettingsRestart(N_GuiElement* element) {
  if (element) {
    if (N_GuiPage* box = element->GetPage()) box->Hide();
  }
  settings::g_restartNeeded = false;
  if (!g_varMng) return;
  g_varMng->SetInt("exit", 1, settings::kSetFlags);
  g_varMng->SetInt("restart", 1, settings::kSetFlags);
}

}  // extern "C"

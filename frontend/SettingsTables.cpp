#include "frontend/SettingsTables.h"

#include "core/Convert.h"
#include "core/Globals.h"
#include "core/VarMng.h"

#include <cmath>
#include <cstring>

namespace settings {

namespace {

constexpr std::uint32_t kSetFlags = 2;

constexpr SelectorItem One(const char* name, std::int32_t value) { return {{{{name, value}, {}, {}}}, 1}; }
constexpr SelectorItem Two(const char* a, std::int32_t va, const char* b, std::int32_t vb) {
  return {{{{a, va}, {b, vb}, {}}}, 2};
}

constexpr SelectorItem kResolution[] = {
    Two("v_width", 800, "v_height", 600),
    Two("v_width", 1024, "v_height", 768),
    Two("v_width", 1280, "v_height", 1024),
    Two("v_width", 1600, "v_height", 1200),
};
constexpr SelectorItem kVSync[] = {One("r_swapInterval", 1), One("r_swapInterval", 0)};
constexpr SelectorItem kShadows[] = {One("r_shadowsEnabled", 1), One("r_shadowsEnabled", 0)};
constexpr SelectorItem kAntialiasing[] = {One("v_multisample", 0), One("v_multisample", 2), One("v_multisample", 4)};
constexpr SelectorItem kTexQuality[] = {
    Two("r_picmip", 0, "r_filter", 2),
    Two("r_picmip", 1, "r_filter", 1),
    Two("r_picmip", 2, "r_filter", 1),
};
constexpr SelectorItem kLMQuality[] = {One("ShaderLOD", 1), One("ShaderLOD", 2), One("ShaderLOD", 3)};
constexpr SelectorItem kParticles[] = {
    One("ParticleDetails", 6),
    One("ParticleDetails", 3),
    One("ParticleDetails", 2),
    One("ParticleDetails", 0),
};
// "LOD" is a text variable; the integer setter writes "0" or "2" into it.
constexpr SelectorItem kDetailLevel[] = {
    {{{{"LODAudienceDistance", 60}, {"LOD", 0}, {"ShaderVD", 1}}}, 3},
    {{{{"LODAudienceDistance", 30}, {"LOD", 0}, {"ShaderVD", 0}}}, 3},
    {{{{"LODAudienceDistance", 0}, {"LOD", 2}, {"ShaderVD", 0}}}, 3},
};

constexpr SelectorRow kVideoSelectors[] = {
    {"Resolution", kResolution, true, false},
    {"VSync", kVSync, true, false},
    {"Shadows", kShadows, false, false},
    {"Antialiasing", kAntialiasing, true, false},
    {"TexQuality", kTexQuality, true, false},
    {"LMQuality", kLMQuality, true, false},
    {"Particles", kParticles, false, true},
    {"DetailLevel", kDetailLevel, true, false},
};

// Brightness: (s x 0.01 - 0.5) x 2; contrast and gamma: s x 0.01 + 0.5.
constexpr SliderRow kPictureSliders[] = {
    {"Brightness1", "r_brightness", -0.5f, 2.0f},
    {"Contrast1", "r_contrast", 0.5f, 1.0f},
    {"Gamma1", "r_gamma", 0.5f, 1.0f},
};

constexpr SoundSwitchRow kSoundSwitches[] = {
    {"CommentariesFX", "SoundCategoryComentaries"},
    {"EnvironmentFX", "SoundCategoryEnvironment"},
    {"SkiFX", "SoundCategorySki"},
    {"BodyFX", "SoundCategoryBody"},
};

constexpr const char* kPresetSelectors[] = {"Resolution", "Shadows",   "Antialiasing", "TexQuality",
                                            "LMQuality",  "Particles", "DetailLevel"};
constexpr PresetRow kPresets[] = {
    {"Defaults1", {1, 1, 0, 0, 1, 1, 0}},
    {"HiSettings", {1, 0, 1, 0, 0, 0, 0}},
    {"LoSettings", {0, 1, 0, 1, 1, 2, 1}},
};

constexpr KeyButtonRow kKeyButtons[] = {
    {"ForwardKey1", 0, 8},    {"BackwardKey1", 1, 18},  {"BreakKey1", 2, 18},     {"LeftKey1", 3, 5},
    {"RightKey1", 4, 6},      {"Skating1Key1", 7, 8},   {"Skating2Key1", 8, 9},   {"Skating3Key1", 9, 11},
    {"Skating4Key1", 10, 12}, {"Paralell1Key1", 11, 15}, {"Paralell2Key1", 12, 16}, {"UphillKey1", 13, 12},
    {"DownhillKey1", 14, 17}, {"PauseKey1", 18, 8},     {"ReloadKey1", 6, 30},
};

template <class Row>
const Row* FindByName(std::span<const Row> rows, const char* name, const char* Row::*field) {
  if (!name) return nullptr;
  for (const Row& row : rows) {
    if (std::strcmp(row.*field, name) == 0) return &row;
  }
  return nullptr;
}

}  // namespace

std::span<const SelectorRow> VideoSelectors() { return kVideoSelectors; }

const SelectorRow* FindVideoSelector(const char* name) {
  return FindByName(VideoSelectors(), name, &SelectorRow::selector);
}

std::optional<std::uint32_t> ShownItem(const SelectorRow& row) {
  if (!g_varMng || row.items.empty()) return std::nullopt;
  const VarWrite& shown = row.items.front().writes[0];
  const std::int32_t value = g_varMng->GetInt(shown.name);
  for (std::size_t i = 0; i < row.items.size(); ++i) {
    if (row.items[i].writes[0].value == value) return static_cast<std::uint32_t>(i);
  }
  return std::nullopt;
}

bool ApplyItem(const SelectorRow& row, std::uint32_t item) {
  if (!g_varMng || item >= row.items.size()) return false;
  const SelectorItem& chosen = row.items[item];
  for (int i = 0; i < chosen.count; ++i) g_varMng->SetInt(chosen.writes[i].name, chosen.writes[i].value, kSetFlags);
  return true;
}

std::span<const SliderRow> PictureSliders() { return kPictureSliders; }

float SliderToValue(const SliderRow& row, std::int32_t position) {
  return (static_cast<float>(position) * 0.01f + row.offset) * row.scale;
}

std::int32_t ValueToSlider(const SliderRow& row, float value) {
  return SaturatingTruncate(std::nearbyint((value / row.scale - row.offset) * 100.0f));
}

std::int32_t VolumeToSlider(float volume) { return SaturatingTruncate(std::nearbyint(volume * 100.0f)); }

float SliderToVolume(std::int32_t position) { return static_cast<float>(position) * 0.01f; }

std::span<const SoundSwitchRow> SoundSwitches() { return kSoundSwitches; }

const SoundSwitchRow* FindSoundSwitch(const char* name) {
  return FindByName(SoundSwitches(), name, &SoundSwitchRow::selector);
}

std::span<const char* const> PresetSelectors() { return kPresetSelectors; }

std::span<const PresetRow> Presets() { return kPresets; }

const PresetRow* FindPreset(const char* name) { return FindByName(Presets(), name, &PresetRow::button); }

std::span<const KeyButtonRow> KeyButtons() { return kKeyButtons; }

const KeyButtonRow* FindKeyButton(const char* name) { return FindByName(KeyButtons(), name, &KeyButtonRow::button); }

const KeyButtonRow* FindKeyButtonByAction(std::int32_t action) {
  for (const KeyButtonRow& row : kKeyButtons) {
    if (row.action == action) return &row;
  }
  return nullptr;
}

}  // namespace settings

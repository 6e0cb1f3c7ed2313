#pragma once
// The options pages' tables, read once for showing a page and once for applying it, so
// that the two directions cannot drift apart:
//   - the eight video selectors of "Settings": each item lists the variables it writes;
//     the page shows the item whose first write matches that variable's value now;
//   - the three picture sliders: slider position <-> variable, both ways;
//   - the four sound-group switches: item 0 on (variable 1), item 1 off (variable 0);
//   - the three presets, which set seven selectors;
//   - the fifteen key buttons of "ControlsOptions" with their actions and the figure
//     animation shown while the mouse is over them.
// The item orders are the page script's; the sample-data check holds the scripts to
// the item counts given here.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace settings {

/// One variable an item writes, with the integer setter.
struct VarWrite {
  const char* name;
  std::int32_t value;
};

/// One item of a video selector: up to three writes, the first also the shown one.
struct SelectorItem {
  std::array<VarWrite, 3> writes;
  int count;
};

struct SelectorRow {
  const char* selector;
  std::span<const SelectorItem> items;
  bool needsRestart;      ///< clicking it sets the restart-needed flag
  bool particleDetail;    ///< its value goes to the particle manager's detail at once
};

/// The eight video selectors, in the order they are shown and applied.
std::span<const SelectorRow> VideoSelectors();
/// The row of a selector name, or null.
const SelectorRow* FindVideoSelector(const char* name);

/// The item whose first write matches the variable's value now, or none (the selector
/// then stays as it is).
std::optional<std::uint32_t> ShownItem(const SelectorRow& row);
/// Writes the item's variables (flags 2); an index outside the list writes nothing and
/// gives false.
bool ApplyItem(const SelectorRow& row, std::uint32_t item);

/// A picture slider: applied = (position x 0.01 + offset) x scale; shown is the inverse,
/// x 100, to the nearest integer (ties to even).
struct SliderRow {
  const char* slider;
  const char* variable;
  float offset;
  float scale;
};
/// Brightness, contrast and gamma, in that order.
std::span<const SliderRow> PictureSliders();
float SliderToValue(const SliderRow& row, std::int32_t position);
std::int32_t ValueToSlider(const SliderRow& row, float value);

/// A volume (1.0 full) as a slider position, and back.
std::int32_t VolumeToSlider(float volume);
float SliderToVolume(std::int32_t position);

/// A sound-group switch: selector and the variable it stands for.
struct SoundSwitchRow {
  const char* selector;
  const char* variable;
};
std::span<const SoundSwitchRow> SoundSwitches();
const SoundSwitchRow* FindSoundSwitch(const char* name);
/// Item 0 is on (1); any other item is off (0).
inline std::int32_t SwitchValue(std::uint32_t item) { return item == 0 ? 1 : 0; }
/// A variable of 0 shows item 1 (off); any other value item 0 (on).
inline std::uint32_t SwitchItem(std::int32_t value) { return value == 0 ? 1u : 0u; }

/// A preset button and the items it gives the seven selectors of PresetSelectors().
struct PresetRow {
  const char* button;
  std::array<std::uint32_t, 7> items;
};
std::span<const char* const> PresetSelectors();
std::span<const PresetRow> Presets();
const PresetRow* FindPreset(const char* name);

/// A key button, its action in the key definitions table and the figure's animation.
struct KeyButtonRow {
  const char* button;
  std::int32_t action;
  std::int32_t animation;
};
/// The fifteen key buttons, in the order their captions are set.
std::span<const KeyButtonRow> KeyButtons();
const KeyButtonRow* FindKeyButton(const char* name);
const KeyButtonRow* FindKeyButtonByAction(std::int32_t action);
/// The animation of an element under the mouse that is no key button.
inline constexpr std::int32_t kOtherAnimation = 8;
/// "No action" where an action id is expected.
inline constexpr std::int32_t kNoAction = 20;

}  // namespace settings

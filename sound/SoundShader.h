#pragma once
// One sound shader: a named description of a sound read from a ".ssd" script.
#include <cstdint>
#include <string>
#include <vector>

/// Sound categories. Each has a switch in the sound manager; the numbers are fixed
/// by the scripts' category words. 0 is the category of a slot that never played.
namespace SoundCategory {
constexpr int kNone = 0;
constexpr int kMusic = 1;
constexpr int kBody = 2;
constexpr int kSki = 3;
constexpr int kCommentary = 4;
constexpr int kEnvironment = 5;
constexpr int kAudience = 6;
constexpr int kMenu = 7;
constexpr int kMenuTest = 8;
constexpr int kCount = 9;  ///< switches 0 to 8
}  // namespace SoundCategory

/// A sound shader with the defaults a new script block starts with. Distances read
/// from a script are in inches-to-units (x 39.37); the defaults are stored as they stand.
struct N_SoundShader {
  std::int32_t plain = 0;         ///< 1 after "Plain"; kept, not read by the manager
  float volume = 1.0f;            ///< 0.0 .. 1.0
  float frequency = 1.0f;         ///< pitch factor, unchecked
  std::int32_t loop = 1;          ///< a positional sound loops when this is -1
  std::int32_t stream = 0;        ///< 1 after "Stream"; kept, not read by the manager
  float minDistance = 1.0f;       ///< reference distance, world units
  float maxDistance = 128.0f;     ///< world units
  std::int32_t headRelative = 0;  ///< 1 = placed relative to the listener
  std::int32_t onlyOne = 0;       ///< 1 after "PlayRandomizeAndOnlyOne"; kept, not read
  std::int32_t category = SoundCategory::kEnvironment;
  std::vector<std::string> wavNames;  ///< below "data\"; index = variant
};

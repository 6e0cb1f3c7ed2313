#pragma once
// N_AiIdentificator: one trigger box of the level that the path tree's loading found,
// with the label it stands for (a group 1 to 7 and a bit of N_AiSectorFlags). The
// tree keeps them only while it loads: it labels or joins the sectors that contain
// their positions, in the order of the table below.
//
// The fixed identificators, in loading order, and the split-time checkpoints
// "Trigger_SplitTime_1" .. "_7" (group 5, bit 1 << (n - 1)), which are optional.
#include "core/Vector3.h"

#include <array>
#include <cstdint>
#include <string>

namespace Ai {

struct N_AiIdentificator {
  std::string name;    ///< the trigger's name as looked up
  N_Vector3 position;  ///< the trigger box's centre
  std::int32_t group = 0;
  std::uint8_t bit = 0;
};

/// One row of the fixed identificators: the trigger, its label, and whether a level
/// without it is an error that asks to end the program.
struct N_AiIdentificatorKind {
  const char* trigger;
  std::int32_t group;
  std::uint8_t bit;
  bool required;
};

extern const std::array<N_AiIdentificatorKind, 29> kFixedIdentificators;

/// "Trigger_SplitTime_" + n, n = 1 .. kSplitTimes, no leading zero.
inline constexpr const char* kSplitTimePrefix = "Trigger_SplitTime_";
inline constexpr int kSplitTimes = 7;
inline constexpr std::int32_t kSplitTimeGroup = 5;

}  // namespace Ai

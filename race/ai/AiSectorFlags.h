#pragma once
// The label flags of a path sector: seven bytes of bits, addressed by a group number
// 1 to 7 and stored in the order group 1, 6, 2, 3, 5, 7, 4. The path loader sets them
// from the level's trigger boxes:
//   1  bit 1 "Trigger_ShootArea", 2 "Trigger_PenaltyShow", 4 "Trigger_PenaltyResult",
//      8 "Trigger_Penalty_Count"
//   2  1 "Trigger_StartMass", 2 "Trigger_StartSprint", 4 "Trigger_StartHunting",
//      8 "Trigger_StartRelay", 16 "Trigger_Ciel"
//   3  1 "Trigger_Mass2Normal", 2 "Trigger_Sprint2Normal", 4 "Trigger_Relay2Normal",
//      8 "Trigger_Normal2Ciel", 16 "Trigger_PenaltyPath"
//   4  1 "Trigger_ShortCutArcadeStart", 2 "..ArcadeEnd", 4 "..ShootAreaStart", 8 "..ShootAreaEnd"
//   5  the split-time checkpoints "Trigger_SplitTime_" 1, 2, ... on bits 1, 2, 4, ...
//   6  1 "Trigger_RoundCount", 2 "Trigger_ShowSipkaCiel", 4 "Trigger_RoundTime",
//      8 "Trigger_RelayAiChange", 16 "Trigger_ShowRelayPlayer", 32 "Trigger_GoToNormalPath",
//      64 "Trigger_RoundCount2", 128 "Trigger_Kampfgeist"
//   7  1, 2, 4 "Trigger_Com_Trainer_01" to "_03"
#include <cstdint>

namespace Ai {

class N_AiSectorFlags {
 public:
  static constexpr int kGroupCount = 7;

  N_AiSectorFlags() = default;
  virtual ~N_AiSectorFlags() = default;

  /// ORs the bits into the byte of the group; a group outside 1 to 7 changes nothing.
  void Set(int group, std::uint8_t bits);
  /// The byte of the group; 0 for a group outside 1 to 7. Inline: the race asks every
  /// racer's sector for its flags many times a step.
  std::uint8_t Get(int group) const {
    const int at = ByteOf(group);
    return at >= 0 ? m_bytes[at] : 0;
  }
  /// True when any of the bits is set in the group.
  bool Has(int group, std::uint8_t bits) const { return (Get(group) & bits) != 0; }
  /// The stored bytes, in stored order.
  const std::uint8_t* Bytes() const { return m_bytes; }

 private:
  /// The stored byte of a group, or -1 outside 1 to 7 (stored order: groups 1, 6, 2, 3,
  /// 5, 7, 4).
  static constexpr int ByteOf(int group) {
    constexpr int kByteOfGroup[8] = {-1, 0, 2, 3, 6, 4, 1, 5};
    return group >= 1 && group <= kGroupCount ? kByteOfGroup[group] : -1;
  }

  std::uint8_t m_bytes[kGroupCount] = {};
};

}  // namespace Ai

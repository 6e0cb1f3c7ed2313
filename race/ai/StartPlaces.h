#pragma once
// Where and facing which way the racers start in each discipline: the sprint start,
// the relay start, the 15 places of the mass-start grid, the 15 places of the pursuit
// (called hunting throughout the game) and the four relay take-over places. Read from
// the level's named point sets by the path network's loader once per race, after the
// path tree; the racers' set-up of every game mode then reads it.
//
// Point sets read ("%02d" and "%d" the index):
//   "Info_Hunting_Start%02d" (0-14)   2 points: pursuit place = the first
//   "Info_HuntingStartTan"            2 points: pursuit direction
//   "Info_Grid_MassStart"             up to 15 points: the grid places in order
//   "Info_MassStartTan"               2 points: mass-start direction
//   "Info_Sprint_Start"               2 points: place and a point ahead of it
//   "Info_Relay_Start"                2 points, the same
//   "Info_Relay_StartsPoints_%d" (0-3) 4 points p0..p3: place p2, direction p2 -> p3,
//                                      offsets p2 - p0 and p2 - p1
// Missing pursuit points and tangents are AI errors (code 3) asking whether to end the
// program; the rest only log. Every message goes to "Ai.log".
#include "core/Vector3.h"

#include <cstdint>

class N_Level;

namespace Ai {

class N_StartPlaces {
 public:
  static constexpr std::uint32_t kGridPlaces = 15;
  static constexpr std::int32_t kRelayChanges = 4;

  /// Everything zero.
  N_StartPlaces() = default;

  /// Reads every place from the level's point sets, in the order above; true when
  /// every step after the pursuit places succeeded. A failing step returns at once and
  /// leaves every later field zero.
  bool Load(const N_Level& level);

  /// Grid place index (below 15) and the mass-start direction; otherwise (0, 0, 0) and (1, 0, 0).
  void GetMassStartPlace(N_Vector3& place, N_Vector3& direction, std::uint32_t index) const;
  /// Pursuit place index (below 15) and the pursuit direction; otherwise (0, 0, 0) and (1, 0, 0).
  void GetPursuitPlace(N_Vector3& place, N_Vector3& direction, std::uint32_t index) const;
  /// Take-over entry index (0 to 3); otherwise (0, 0, 0) and (1, 0, 0).
  void GetRelayChangePlace(N_Vector3& place, N_Vector3& direction, std::int32_t index) const;
  /// Offset A (place - p0) of take-over entry index (0 to 3); (0, 0, 0) otherwise.
  void GetRelayChangeOffset(N_Vector3& offset, std::int32_t index) const;
  /// The sprint start's first point and the unit direction to its second.
  void GetSprintStart(N_Vector3& place, N_Vector3& direction) const;

 private:
  struct RelayChange {
    N_Vector3 place;
    N_Vector3 direction;
  };
  struct RelayOffsets {
    N_Vector3 a;  ///< place - p0
    N_Vector3 b;  ///< place - p1
  };

  bool LoadPursuit(const N_Level& level);
  bool LoadMassStart(const N_Level& level);
  bool LoadStartPair(const N_Level& level, const char* setName, const char* what, N_Vector3 (&pair)[2]);
  bool LoadRelayChanges(const N_Level& level);

  N_Vector3 m_sprintStart[2];
  N_Vector3 m_relayStart[2];
  N_Vector3 m_massGrid[kGridPlaces];
  N_Vector3 m_massDirection;
  N_Vector3 m_pursuit[kGridPlaces];
  N_Vector3 m_pursuitDirection;
  RelayChange m_relayChanges[kRelayChanges];
  RelayOffsets m_relayOffsets[kRelayChanges];
};

}  // namespace Ai

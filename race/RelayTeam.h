#pragma once
// N_RelayTeam: one team of a relay: its four legs (owned), the member skiing now and the
// one waiting in the change zone, the hand-over state, the team's time and whether it
// is through. The relay mode steps it; SectorEventsRelay and RelayHandOver (race/
// RelayRoutines.h) set its flags and move it on to its next leg.
#include <cstdint>

class N_AnimSound;
class N_RaceHud;
struct N_Racer;

struct N_RelayTeam {
  static constexpr std::int32_t kLegs = 4;
  /// Flag bits: the hand-over is under way ("Trigger_RelayAiChange"), the next member is
  /// shown waiting ("Trigger_ShowRelayPlayer"); the hand-over clears these and bits 3, 4.
  static constexpr std::uint32_t kHandOver = 0x01;
  static constexpr std::uint32_t kShowNext = 0x02;
  static constexpr std::uint32_t kClearedByHandOver = 0x01 | 0x02 | 0x08 | 0x10;

  N_RelayTeam() = default;
  /// Releases the active member's breathing sound and deletes the four members.
  ~N_RelayTeam();
  N_RelayTeam(const N_RelayTeam&) = delete;
  N_RelayTeam& operator=(const N_RelayTeam&) = delete;

  /// The next leg: the active member's breathing sound is released, the waiting member
  /// skis and the one after it waits (none after the last leg); the hand-over bits are
  /// cleared; on the player's team every member is the player's; the new active member
  /// breathes with the sound of the sex.
  void HandOver(std::int32_t sex);
  /// The active member skis the last leg.
  bool IsLastLeg() const { return Active && Active == Members[kLegs - 1]; }
  /// Member i for i from 1 to 3, else member 0.
  N_Racer* GetMember(std::int32_t i) const { return i >= 1 && i <= 3 ? Members[i] : Members[0]; }

  N_Racer* Active = nullptr;  ///< null after the last leg
  N_Racer* Next = nullptr;    ///< null on the last leg
  std::uint8_t Finished = 0;
  float TeamTime = 0.0f;  ///< -1.0 when the team was stopped
  std::uint32_t Index = 0;
  std::uint32_t Flags = 0;
  std::uint32_t PlayerTeam = 0;
  N_Racer* Members[kLegs] = {};  ///< owned
  /// What the hand-over borrows (may be null): the body sounds for the breathing, the
  /// HUD for the new member's name on the player's team, the sex of the start list.
  N_AnimSound* BodySounds = nullptr;
  N_RaceHud* Hud = nullptr;
  std::int32_t Sex = 0;
};

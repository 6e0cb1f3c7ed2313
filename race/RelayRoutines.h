#pragma once
// The relay's own racer routines. SectorEventsRelay reacts, after SectorEvents, to the
// relay flags of the active member's sector: the next member shown waiting, the
// hand-over asked for, the finish on the last leg, the relay split times, the skipped
// lap and the penalty fork. RelayHandOver brings the incoming member to the waiting one
// at its take-over place and moves the team on to its next leg.
#include "core/Vector3.h"

#include <cstdint>

class N_SplitTable;
struct N_RelayTeam;
struct N_Racer;
namespace Ai {
class N_AiPath;
}  // namespace Ai

/// The relay events of the team's active member (nothing without one or its sector).
/// The split table may be null.
void SectorEventsRelay(N_RelayTeam& team, N_SplitTable* splits);

/// The animation the incoming member plays while it skis in, and the one it plays at
/// the hand.
constexpr std::int32_t kRelayApproachAnim = 17;
constexpr std::int32_t kRelayHandAnim = 44;

/// One step of the hand-over of the team's active (incoming) member to its waiting
/// member at take-over place Index of the path's start places: the waiting member
/// faces the take-over direction and sets off as the incoming one nears; the incoming
/// member skis towards the hand point (proposed, with animation 17), and once near it
/// plays 44; when 44 has run (AnimPhase above 0.99) the team moves on (HandOver, and
/// on the player's team the status shows the new member) and the answer is true.
/// Without an active or a waiting member the answer is false and nothing moves.
bool RelayHandOver(N_RelayTeam& team, Ai::N_AiPath& path, N_Vector3& proposed, std::int32_t& anim, float dt);

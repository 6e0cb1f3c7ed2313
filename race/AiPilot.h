#pragma once
// The computer racer's driving: after its physics step AiPilot sets its Power and
// Steer for the next step, towards the ideal line of its sectors and past slower
// racers ahead (AvoidRacers). In ShootPhase 0 to 8 the shooting sequence steers the
// racer instead and turns its direction into Power and Steer with AiSteerAndPower.
#include "core/Vector3.h"

#include <span>

struct N_Racer;
namespace Ai {
class N_AiPath;
}  // namespace Ai

/// The racers of a race (a null entry is skipped); the racer itself may be among them.
using N_RacerList = std::span<N_Racer* const>;

/// One step of a computer racer's pilot. While not shooting (ShootPhase 9) it aims at
/// the end ideal point of its Sector, or of the next sector once nearer than 60.0 (its
/// own end point at the end of an open path), lets AvoidRacers turn that direction and
/// sets Steer and Power from it. The shooting phases 0 to 8 hand over to the shooting
/// sequence, which may move the proposed position.
void AiPilot(N_Racer& racer, Ai::N_AiPath& path, N_RacerList racers, float dt, N_Vector3& proposed);

/// Steer and Power from the wanted unit direction: no steering within a cosine of
/// 0.995 to Heading, 0.9 up to 0.985, else full (positive to the left); none while
/// Holding. Power from Condition and the slope, at least 0.3 while Condition is above
/// 0.2, full below Speed 2.1, -1.0 when Blocked is 16 and brake is asked, none (Steer
/// none too) once Condition is below 0.
void AiSteerAndPower(N_Racer& racer, const N_Vector3& wanted, bool brake);

/// The overtaking of a computer racer. wanted comes in as the way to its target (its
/// length is how far ahead a line must be free) and leaves as the line to take, just as
/// long. With racers ahead (started, not finished, within 300.0 and in front of it) it
/// tries the wanted line, then the heading turned by 0.2, 0.4, .. 0.8 to the wider side
/// of its sector and to the other, each clear of the racers' boxes and of a racer ahead
/// that hugs the edge on that side. With no free line wanted stays and brake is raised;
/// Blocked becomes 16 when both sides are narrower than 20.0 or the racer in the way is
/// slower, and goes back to 0 only when no racer is ahead. While not shooting a line
/// must keep a cosine of 0.35 to the sector's direction.
void AvoidRacers(N_Racer& racer, N_RacerList racers, N_Vector3& wanted, bool& brake, bool shooting);

#pragma once
// What happens to a racer at the trigger flags of the path sector it is in, once per
// step before it moves: the shooting area (stance and lane), the finish line and its
// arrow, the penalty loops and their reckoning, the lap line and the lap time, the
// disqualification for a skipped lap, the pursuit's release, the split checkpoints,
// the fighting spirit and the coach's comments. The race simulation calls SectorEvents;
// the run training and the buddy running game their reduced variants.
//
// The coach speaks through the world's sound cache unless another is set (tests).
#include <cstdint>

class N_SoundCache;
class N_SplitTable;
class N_ShootLane;
struct N_Racer;
namespace Ai {
class N_AiPath;
}

/// The sector events of a race (relayLeg: the racer skis a relay leg; arcadeLevels: no
/// fighting spirit; coachOn: the coach comments on the player's race). The split table
/// may be null (no split times then).
void SectorEvents(N_Racer& racer, Ai::N_AiPath& path, N_SplitTable* splits, bool relayLeg, bool arcadeLevels,
                  bool coachOn);
/// The run training's: the finish and its arrow, the lap line and the lap time only.
void SectorEventsTraining(N_Racer& racer, N_SplitTable* splits);
/// The buddy running game's: as the training's, and the lap time also starts a new
/// round of the coach's comments.
void SectorEventsBuddyRun(N_Racer& racer, N_SplitTable* splits);

/// The lane of a racer: index StartNumber - 1, when the range has that lane and the
/// path its approach box and its entry and exit points and nobody shoots on it; else
/// the next such lane that is free; null when none is.
N_ShootLane* LaneForRacer(const N_Racer& racer, const Ai::N_AiPath& path);

/// The sound cache the coach speaks through (not owned); null gives the world's back.
void SetCoachSoundCache(N_SoundCache* cache);
/// The cache set, else the world's; null without either.
N_SoundCache* CoachSoundCache();

#include "race/SectorEvents.h"

#include "race/AthletProfile.h"
#include "race/PenaltyRounds.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/SoundCache.h"
#include "race/World.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiSector.h"
#include "race/ai/SplitTable.h"

#include <algorithm>

namespace {

/// One trigger flag of a sector: its group and bit.
struct Flag {
  int group;
  std::uint8_t bit;
};

constexpr Flag kShootArea{1, 0x01};
constexpr Flag kPenaltyResult{1, 0x04};
constexpr Flag kPenaltyCount{1, 0x08};
constexpr Flag kStartHunting{2, 0x04};
constexpr Flag kFinishLine{2, 0x10};
constexpr Flag kRoundCount{6, 0x01};
constexpr Flag kShowFinishArrow{6, 0x02};
constexpr Flag kRoundTime{6, 0x04};
constexpr Flag kRoundCount2{6, 0x40};
constexpr Flag kKampfgeist{6, 0x80};
constexpr Flag kCoachPosition{7, 0x01};
constexpr Flag kCoachCondition{7, 0x02};
constexpr Flag kCoachPulse{7, 0x04};
constexpr int kSplitGroup = 5;

constexpr float kPenaltyLoopSeconds = 120.0f;
constexpr float kKampfgeistSeconds = 20.0f;
constexpr float kCoachPulseMaximum = 200.0f;
/// The coach's position sentences know places 1 to 15; the 15th speaks for the rest.
constexpr std::int32_t kCoachLastPlace = N_SoundCache::kLastPosition;

N_SoundCache* g_coachCache = nullptr;

bool Has(const Ai::N_AiSector& sector, Flag flag) { return sector.Flags().Has(flag.group, flag.bit); }

bool IsPlayer(const N_Racer& racer) { return racer.ControlKind == 1; }

std::int32_t FullBullets(bool relayLeg) { return relayLeg ? 8 : 5; }

/// The finish line stops a racer on its last lap; the arrow before it shows the way.
void FinishEvents(N_Racer& racer, const Ai::N_AiSector& sector) {
  if (racer.LapsLeft != 0) return;
  if (Has(sector, kFinishLine)) {
    racer.Speed = 0.0f;
    racer.Stopped = 1;
    racer.ShowFinishArrow = 0;
  }
  if (Has(sector, kShowFinishArrow)) racer.ShowFinishArrow = 1;
}

/// The lap line of the reduced variants: counts an armed lap.
void CountLapReduced(N_Racer& racer, const Ai::N_AiSector& sector) {
  if (!Has(sector, kRoundCount) || !racer.LapArmed) return;
  racer.LapsLeft -= 1;
  racer.LapsDone += 1;
  racer.LapArmed = 0;
}

/// The lap time: recorded once a lap and arming the lap line.
void RecordLapTime(N_Racer& racer, const Ai::N_AiSector& sector, N_SplitTable* splits) {
  if (!Has(sector, kRoundTime)) return;
  if (splits) splits->SetRoundTime(racer.LapsDone, racer.StartNumber, racer.Time);
  racer.LapArmed = 1;
}

/// Stance first (from the lap's letter of the shooting pattern, once the lap time is
/// taken), then the lane on a later step; outside the area neither.
void ShootingArea(N_Racer& racer, const Ai::N_AiSector& sector, const Ai::N_AiPath& path) {
  if (!Has(sector, kShootArea)) {
    racer.Stance = 0;
    racer.ShootPhase = 9;
    racer.Lane = nullptr;
    return;
  }
  if (racer.Bullets <= 3) return;
  if (racer.Stance == 0) {
    if (racer.LapArmed && racer.LapsDone >= 0) racer.Stance = path.GetShootStance(std::uint32_t(racer.LapsDone));
    return;
  }
  if (racer.Lane) return;
  // A racer the range has no lane for passes it without shooting (and pays at the fork).
  N_ShootLane* lane = LaneForRacer(racer, path);
  if (!lane) return;
  racer.ShootPhase = 0;
  racer.Lane = lane;
  lane->SetInUse(true);
}

void Coach(N_Racer& racer, const Ai::N_AiSector& sector) {
  N_SoundCache* coach = CoachSoundCache();
  if (!coach) return;
  const std::int32_t place = std::clamp(racer.Position, 1, kCoachLastPlace);
  const std::int32_t lap = racer.LapsDone + 1;
  if (Has(sector, kCoachPosition) && racer.LastComment != 1) {
    racer.LastComment = 1;
    coach->PlayCoTrener1(place);
  }
  if (Has(sector, kCoachCondition) && racer.LastComment != 2) {
    racer.LastComment = 2;
    coach->PlayCoTrener2(racer.LapsLeft + lap, lap, racer.Condition);
  }
  if (Has(sector, kCoachPulse) && racer.LastComment != 4) {
    racer.LastComment = 4;
    if (racer.LapsLeft == 0) {
      coach->PlayCoTrener4(place, lap, lap, racer.Condition);
    } else {
      const float optimum = racer.Athlete ? racer.Athlete->OptPulse : racer.HeartRate;
      coach->PlayCoTrener3(racer.HeartRate, optimum, kCoachPulseMaximum);
    }
  }
}

}  // namespace

namespace {

/// Lane i when the range has it and the path its approach box and entry and exit points.
N_ShootLane* UsableLane(const Ai::N_AiPath& path, std::size_t i) {
  if (!path.GetShootTrigger(std::uint32_t(i)) || i >= path.GetHelperInCount() || i >= path.GetHelperOutCount()) {
    return nullptr;
  }
  return path.GetStand(std::int32_t(i));
}

}  // namespace

N_ShootLane* LaneForRacer(const N_Racer& racer, const Ai::N_AiPath& path) {
  const std::int32_t index = racer.StartNumber - 1;
  if (index < 0) return nullptr;
  N_ShootLane* own = UsableLane(path, std::size_t(index));
  if (own && !own->InUse()) return own;
  // A field larger than the range (or a lane taken by such a racer): the first free lane
  // from its own on, round the range, so nobody passes it unshot while lanes stand empty.
  const std::size_t lanes = path.LaneCount();
  for (std::size_t k = 0; k < lanes; ++k) {
    N_ShootLane* lane = UsableLane(path, (std::size_t(index) + k) % lanes);
    if (lane && !lane->InUse()) return lane;
  }
  return nullptr;
}

void SetCoachSoundCache(N_SoundCache* cache) { g_coachCache = cache; }

N_SoundCache* CoachSoundCache() {
  if (g_coachCache) return g_coachCache;
  return g_world ? &g_world->SoundCache() : nullptr;
}

void SectorEvents(N_Racer& racer, Ai::N_AiPath& path, N_SplitTable* splits, bool relayLeg, bool arcadeLevels,
                  bool coachOn) {
  if (!racer.Sector) return;
  const Ai::N_AiSector& sector = *racer.Sector;
  const bool player = IsPlayer(racer);

  ShootingArea(racer, sector, path);
  if (!relayLeg) FinishEvents(racer, sector);

  if (Has(sector, kPenaltyCount) && racer.PenaltyLoopOpen) {
    racer.PenaltyLoops -= 1;
    racer.PenaltyLoopOpen = 0;
  }
  if (Has(sector, kPenaltyResult)) {
    racer.ShowPenalty = 0;
    if (racer.PenaltyCheckDue) {
      // Every loop owed and not skied costs its time.
      racer.Time += float(racer.PenaltyLoops) * kPenaltyLoopSeconds;
      racer.PenaltyCheckDue = 0;
      racer.ShootPhase = 9;
    }
    racer.PenaltyLoops = 0;
    racer.Bullets = FullBullets(relayLeg);
    if (player) ClosePenaltyRounds();
  }
  if (Has(sector, kRoundCount)) {
    if (racer.LapArmed) {
      racer.LapsLeft -= 1;
      racer.LapsDone += 1;
      racer.LapArmed = 0;
      racer.ShootPhase = 9;
    }
    racer.PenaltyCheckDue = 1;
  }
  if (Has(sector, kShootArea) && racer.LapArmed) racer.PenaltyCheckDue = 1;
  if (!relayLeg && Has(sector, kRoundCount2) && !racer.LapArmed && racer.LapsDone > 0) {
    // A lap skipped (the lap time never taken): out of the race.
    racer.Finished = 1;
    racer.Disqualified = 1;
    racer.Time = -1.0f;
  }
  if (Has(sector, kStartHunting)) racer.Holding = 0;

  const std::uint8_t checkpoint = sector.Flags().Get(kSplitGroup);
  if (!relayLeg && checkpoint != 0 && splits) {
    splits->RecordSplit(racer.LapsDone, racer.StartNumber, racer.Time, checkpoint, player);
    if (player) splits->ShowStandings(racer.LapsDone, racer.StartNumber, checkpoint);
  }
  if (Has(sector, kRoundTime)) {
    RecordLapTime(racer, sector, splits);
    racer.LastComment = -1;
  }
  if (!arcadeLevels && player && Has(sector, kKampfgeist) && racer.LapsLeft == 0 && !racer.KampfgeistActive) {
    racer.KampfgeistActive = 1;
    racer.Condition = std::min(racer.Condition + racer.GamenessBoost, 1.0f);
    racer.KampfgeistTimer = kKampfgeistSeconds;
  }
  if (coachOn && !relayLeg && player) Coach(racer, sector);
}

void SectorEventsTraining(N_Racer& racer, N_SplitTable* splits) {
  if (!racer.Sector) return;
  FinishEvents(racer, *racer.Sector);
  CountLapReduced(racer, *racer.Sector);
  RecordLapTime(racer, *racer.Sector, splits);
}

void SectorEventsBuddyRun(N_Racer& racer, N_SplitTable* splits) {
  if (!racer.Sector) return;
  SectorEventsTraining(racer, splits);
  if (Has(*racer.Sector, kRoundTime)) racer.LastComment = -1;
}

#include "race/RelayRoutines.h"

#include "race/AthletProfile.h"
#include "race/PenaltyRounds.h"
#include "race/RaceSimServices.h"
#include "race/Racer.h"
#include "race/RelayTeam.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiSector.h"
#include "race/ai/SplitTable.h"
#include "race/ai/StartPlaces.h"

#include <cmath>

namespace {

struct Flag {
  int group;
  std::uint8_t bit;
};

constexpr Flag kFinishLine{2, 0x10};
constexpr Flag kPenaltyPath{3, 0x10};
constexpr Flag kShowFinishArrow{6, 0x02};
constexpr Flag kRelayAiChange{6, 0x08};
constexpr Flag kShowRelayPlayer{6, 0x10};
constexpr Flag kRoundCount2{6, 0x40};
constexpr int kSplitGroup = 5;

constexpr float kInchesPerMetre = 39.37f;
constexpr float kHandSpeed = 7.2f;
constexpr float kWaitDistance2 = 60000.0f;  // squared: farther, the waiting member stands
constexpr float kHandDistance2 = 400.0f;    // squared: nearer, the hand itself
constexpr float kHandDone = 0.99f;

bool Has(const Ai::N_AiSector& sector, Flag flag) { return sector.Flags().Has(flag.group, flag.bit); }

float Length2(const N_Vector3& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }

}  // namespace

void SectorEventsRelay(N_RelayTeam& team, N_SplitTable* splits) {
  N_Racer* const active = team.Active;
  if (!active || !active->Sector) return;
  N_Racer& racer = *active;
  const Ai::N_AiSector& sector = *racer.Sector;
  const bool player = team.PlayerTeam != 0;
  const bool lastLap = racer.LapsLeft == 0;
  const bool lastLeg = team.IsLastLeg();

  if (Has(sector, kShowRelayPlayer) && lastLap && !lastLeg) team.Flags |= N_RelayTeam::kShowNext;
  if (Has(sector, kRoundCount2) && !racer.LapArmed && racer.LapsDone > 0) {
    // A lap skipped: the member is out, and with it the team.
    racer.Finished = 1;
    racer.Disqualified = 1;
    racer.Time = -1.0f;
    team.Finished = 1;
    team.TeamTime = -1.0f;
  }
  if (Has(sector, kRelayAiChange) && lastLap && !lastLeg) team.Flags |= N_RelayTeam::kHandOver;
  if (lastLeg && lastLap) {
    if (Has(sector, kFinishLine)) {
      racer.Speed = 0.0f;
      racer.Stopped = 1;
      if (player) racer.ShowFinishArrow = 0;
    }
    if (Has(sector, kShowFinishArrow) && player) racer.ShowFinishArrow = 1;
  }
  const std::uint8_t checkpoint = sector.Flags().Get(kSplitGroup);
  if (checkpoint != 0 && splits) {
    // The team's time, not the leg's: the teams started together, so it orders them as
    // they pass, and the standings give the team's place.
    splits->RecordRelaySplit(racer.LapsDone, racer.StartNumber, team.TeamTime, checkpoint, player);
    if (player) splits->ShowRelayStandings();
  }
  if (lastLeg && racer.Finished) team.Finished = 1;
  if (Has(sector, kPenaltyPath) && racer.PenaltyCheckDue && racer.Bullets > 3) {
    racer.PenaltyLoops = 5;
    racer.Bullets = 0;
    if (player) {
      UpdatePenaltyRounds(5);
      racer.ShowPenalty = 1;
    }
  }
}

bool RelayHandOver(N_RelayTeam& team, Ai::N_AiPath& path, N_Vector3& proposed, std::int32_t& anim, float dt) {
  if (!team.Active || !team.Next) return false;
  N_Racer& in = *team.Active;
  N_Racer& out = *team.Next;
  const auto index = std::int32_t(team.Index);
  N_Vector3 place, direction, offset;
  if (const Ai::N_StartPlaces* places = path.StartPlaces()) {
    places->GetRelayChangePlace(place, direction, index);
    places->GetRelayChangeOffset(offset, index);
    out.Heading = direction;
  }
  const N_Vector3 hand = out.Pos - offset;

  N_Vector3 toHand = hand - in.Pos;
  const float distance = std::sqrt(Length2(toHand));
  if (distance > 0.0f) {
    toHand = toHand * (1.0f / distance);
    if (Vec3Dot(toHand, in.Heading) > 0.0f) in.Heading = toHand;
  }
  proposed = in.Pos + in.Heading * (in.Speed * kInchesPerMetre * dt);

  const float gap2 = Length2(hand - proposed);
  if (gap2 >= kWaitDistance2) {
    out.Speed = 0.0f;
  } else if (in.Speed - out.Speed <= kHandSpeed) {
    out.Speed = in.Speed - 2.0f;
  } else {
    out.Speed += 12.0f * dt;
  }
  if (gap2 >= kHandDistance2) {
    anim = kRelayApproachAnim;
    return false;
  }
  in.Speed = kHandSpeed;
  out.Speed = kHandSpeed;
  in.Power = 1.0f;
  proposed = hand;
  const bool done = in.Anim == kRelayHandAnim && in.AnimPhase > kHandDone;
  anim = kRelayHandAnim;
  if (!done) return false;
  team.HandOver(team.Sex);
  if (team.PlayerTeam && team.Hud && team.Active && team.Active->Athlete) {
    team.Hud->ShowPlayerStatus(team.Active->Athlete->AthletName.c_str(), team.Active->Athlete->Nationality.c_str());
  }
  return true;
}

#include "race/RacerOutput.h"

#include "race/RaceSimServices.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/Sipka.h"
#include "race/ai/AiPath.h"

void RenderRacerMarkers(N_Racer& r, const Ai::N_AiPath* path, N_Sipka& markers, N_RaceHud* hud, float dt) {
  if ((r.ShootPhase == 0 || r.ShootPhase == 1) && r.Lane) {
    // On the stand, turned by the lane's shooting direction; the lane arrow's figure
    // itself shows the way onto the mat.
    markers.SetArrowPlace(r.Lane->StandPosition(), r.Lane->ShootDirection());
    markers.RenderArrow(dt);
  }
  if (!path) return;
  N_Vector3 pos, dir;
  if (r.ShowFinishArrow) {
    path->GetFinishArrow(pos, dir);
    markers.SetFinishPlace(pos, dir);
    markers.RenderFinish(dt);
  }
  if (r.ShowPenalty) {
    path->GetPenaltyArrow(pos, dir);
    markers.SetPenaltyPlace(pos, dir);
    markers.ShowSipkaPenalty(dt, r.PenaltyLoops);
    if (r.PenaltyLoops < 1) {
      if (hud) hud->ClosePenaltyRounds();
      r.ShowPenalty = 0;
    } else if (hud) {
      hud->UpdatePenaltyRounds(r.PenaltyLoops);
    }
  }
}

N_ResultRow ResultRowOf(const N_Racer& r) {
  N_ResultRow row;
  row.AthleteIndex = r.AthleteIndex;
  row.Time = r.Time;
  row.LapsDone = r.LapsDone;
  row.Misses = r.Misses;
  row.FullPowerTime = r.FullPowerTime;
  row.Condition = r.Condition;
  row.Falls = r.Falls;
  row.StartNumber = r.StartNumber;
  return row;
}

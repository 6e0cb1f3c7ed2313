#include "race/ShootStand.h"

#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ShootingRange.h"
#include "race/ai/AiPath.h"
#include "scene/LevelRecords.h"

bool FindShootStand(Ai::N_AiPath& path, const N_ShootLane& lane, N_ShootStand& out) {
  if (lane.Index() < 0) return false;
  const auto index = static_cast<std::uint32_t>(lane.Index());
  const N_LevelTrigger* trigger = path.GetShootTrigger(index);
  if (!trigger || index >= path.GetHelperInCount() || index >= path.GetHelperOutCount()) return false;
  const float* box = trigger->box;
  out.approach.center = {box[0], box[1], box[2]};
  for (int k = 0; k < 3; ++k) {
    out.approach.axis[k] = {box[3 + 3 * k], box[4 + 3 * k], box[5 + 3 * k]};
    out.approach.extent[k] = box[12 + k];
  }
  out.entry = path.GetHelperIn(index);
  out.exit = path.GetHelperOut(index);
  return true;
}

void LeaveLane(N_Racer& racer, Ai::N_AiPath& path) {
  racer.Stance = 0;
  if (racer.Lane) {
    racer.Lane->ResetTargets();
    if (N_ShootingRange* range = path.ShootingRange()) {
      range->ReleaseLane(racer.Lane);
    } else {
      racer.Lane->SetInUse(false);
    }
  }
  racer.Lane = nullptr;
  racer.ShootPhase = 9;
}

N_Vector3 DirectionTo(const N_Vector3& from, const N_Vector3& to) {
  N_Vector3 d = to - from;
  d.Normalize();
  return d;
}

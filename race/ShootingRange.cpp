#include "race/ShootingRange.h"

#include "race/ai/AiLog.h"

bool N_ShootingRange::Build(const N_Vector3* targetPoints, int targetCount, const N_Vector3* standPoints,
                            int laneCount) {
  if (laneCount <= 0 || targetCount <= 0 || !targetPoints || !standPoints) {
    N_AiLog::Write(FormatAiLine("N_ShootingRange: %d target points for %d lanes, no range built.", targetCount,
                                laneCount));
    return false;
  }
  if (targetCount / laneCount != kTargetsPerLane) return false;
  Destroy();
  m_targets = std::make_unique<N_ShootTargetMng>();
  m_targets->Load();
  m_targets->BuildLanes(targetPoints, standPoints, laneCount);
  m_targets->CreateInstances();
  m_shooter = std::make_unique<N_Shooter>();
  m_shooter->Load();
  return false;
}

void N_ShootingRange::Destroy() {
  m_shooter.reset();
  m_targets.reset();
}

N_ShootLane* N_ShootingRange::GetLane(int index) const { return m_targets ? m_targets->Lane(index) : nullptr; }

void N_ShootingRange::ReleaseLane(N_ShootLane* lane) {
  if (lane) lane->SetInUse(false);
}

void N_ShootingRange::Update(float frameTime) {
  if (m_targets) m_targets->Update();
  if (m_shooter) m_shooter->Update(frameTime);
}

void N_ShootingRange::Begin(N_Racer* racer, bool showHits) {
  if (m_shooter) m_shooter->Begin(racer, showHits);
}

void N_ShootingRange::End() {
  if (m_shooter) m_shooter->End();
}

bool N_ShootingRange::IsDone() { return m_shooter && m_shooter->IsDone(); }

void N_ShootingRange::BeginTrainingSeries() {
  if (m_shooter) m_shooter->BeginTrainingSeries();
}

#include "race/ShootTargetMng.h"

#include "core/Matrix3.h"
#include "race/ai/AiLog.h"

bool N_ShootTargetMng::Load() {
  m_set = std::make_unique<N_AnimationFactory>();
  m_meshes[0] = m_set->AddMesh(kMeshFile);
  m_meshes[1] = m_set->AddMesh(kMeshFile);
  m_animations.clear();
  for (const char* file : kAnimationFiles) {
    const int action = m_set->AddAction(file, nullptr, false);
    if (action < 0) {
      N_AiLog::Write("N_ShootTargetMng:: Failed load targets anim !!!!!");
      return false;
    }
    m_animations.push_back(action);
  }
  return true;
}

void N_ShootTargetMng::BuildLanes(const N_Vector3* targetPoints, const N_Vector3* standPoints, int laneCount) {
  for (int lane = 0; lane < laneCount; ++lane) {
    m_lanes.push_back(std::make_unique<N_ShootLane>(targetPoints + std::size_t(lane) * N_ShootLane::kTargetCount,
                                                    standPoints[lane], lane));
  }
}

void N_ShootTargetMng::CreateInstances() {
  const bool animated = m_set && m_animations.size() == kAnimationFiles.size();
  for (std::size_t i = 0; i < m_lanes.size() * N_ShootLane::kTargetCount; ++i) {
    const int instance = animated ? m_set->CreateInstance() : -1;
    m_instances.push_back(instance);
    if (instance < 0) continue;
    m_set->SetInstanceMesh(instance, m_meshes[0]);
    m_set->SetAction(instance, m_animations[kOpening], kFrameRate, 0.0f);
    m_set->SetNextAction(instance, m_animations[kOpening], kFrameRate, 0.0f);
    m_set->SetActionRate(instance, kFrameRate, 0.0f, kBlendTime);
  }
}

N_ShootLane* N_ShootTargetMng::Lane(int i) const {
  return i >= 0 && i < LaneCount() ? m_lanes[std::size_t(i)].get() : nullptr;
}

int N_ShootTargetMng::Instance(int lane, int target) const {
  if (!Lane(lane) || target < 0 || target >= N_ShootLane::kTargetCount) return -1;
  const std::size_t at = std::size_t(lane) * N_ShootLane::kTargetCount + std::size_t(target);
  return at < m_instances.size() ? m_instances[at] : -1;
}

void N_ShootTargetMng::Update() {
  if (!m_set || m_animations.size() != kAnimationFiles.size()) return;
  for (int lane = 0; lane < LaneCount(); ++lane) {
    const std::uint32_t mask = m_lanes[std::size_t(lane)]->HitMask();
    for (int target = 0; target < N_ShootLane::kTargetCount; ++target) {
      const int instance = Instance(lane, target);
      if (instance < 0) continue;
      const bool down = (mask >> target) & 1u;
      m_set->SetNextAction(instance, m_animations[down ? kClosing : kOpening], kFrameRate, 0.0f);
    }
  }
}

void N_ShootTargetMng::Render(float frameTime) {
  if (!m_set) return;
  for (int lane = 0; lane < LaneCount(); ++lane) {
    const N_ShootLane& shootLane = *m_lanes[std::size_t(lane)];
    // The figure's face (+x) looks back along the lane at the stand.
    N_Matrix3 rotation;
    rotation.FromDirection(shootLane.ShootDirection() * -1.0f);
    for (int target = 0; target < N_ShootLane::kTargetCount; ++target) {
      const int instance = Instance(lane, target);
      if (instance >= 0) m_set->RenderInstance(frameTime, instance, *shootLane.TargetPosition(target), rotation, false, true);
    }
  }
}

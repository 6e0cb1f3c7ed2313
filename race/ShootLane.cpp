#include "race/ShootLane.h"

#include <cmath>

N_ShootLane::N_ShootLane(const N_Vector3* targetPoints, const N_Vector3& stand, std::int32_t index)
    : m_stand(stand), m_index(index) {
  for (int i = 0; i < kTargetCount; ++i) {
    auto target = std::make_unique<N_ShootTarget>();
    target->position = targetPoints[i];
    m_targets.push_back(std::move(target));
  }
  const N_Vector3 d = targetPoints[kMiddleTarget] - stand;
  const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  m_direction = length < kMinDistance ? N_Vector3{1.0f, 0.0f, 0.0f} : d * (1.0f / length);
}

const N_ShootTarget* N_ShootLane::Target(int i) const {
  return i >= 0 && i < kTargetCount ? m_targets[std::size_t(i)].get() : nullptr;
}

bool N_ShootLane::KnockDown(int i) {
  if (i < 0 || i >= kTargetCount) return false;
  m_targets[std::size_t(i)]->standing = 0;
  return true;
}

const N_Vector3* N_ShootLane::TargetPosition(int i) const {
  const N_ShootTarget* target = Target(i);
  return target ? &target->position : nullptr;
}

void N_ShootLane::ResetTargets() {
  for (auto& target : m_targets) target->standing = 1;
}

int N_ShootLane::HitFirstStanding() {
  for (int i = 0; i < kTargetCount; ++i) {
    if (m_targets[std::size_t(i)]->standing) {
      m_targets[std::size_t(i)]->standing = 0;
      return i;
    }
  }
  return -1;
}

std::uint32_t N_ShootLane::HitMask() const {
  std::uint32_t mask = 0;
  for (int i = 0; i < kTargetCount; ++i) {
    if (!m_targets[std::size_t(i)]->standing) mask |= 1u << i;
  }
  return mask;
}

int N_ShootLane::StandingCount() const {
  int down = 0;
  for (const auto& target : m_targets) down += target->standing ? 0 : 1;
  return kTargetCount - down;
}

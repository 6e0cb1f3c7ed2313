#pragma once
// N_ShootLane: one lane of the shooting range: five targets, the stand where the racer
// stops to shoot and the unit direction from the stand to the middle target. The
// target manager owns the lanes; a racer takes the lane of its start number (setting
// its in-use flag) and the range releases it after the series.
//
// Target and lane indices come from the race and the level: an index outside the five
// targets is refused (nothing done, or null).
#include "core/Vector3.h"

#include <cstdint>
#include <memory>
#include <vector>

/// One target: where it stands and whether it stands (1) or is down (0).
struct N_ShootTarget {
  N_Vector3 position;
  std::int32_t standing = 1;
};

class N_ShootLane {
 public:
  static constexpr int kTargetCount = 5;
  static constexpr int kMiddleTarget = 2;
  /// Closer than this, the stand and the middle target give the direction (1, 0, 0).
  static constexpr float kMinDistance = 1e-07f;

  /// Five standing targets at targetPoints[0..4], the stand and the lane's index.
  N_ShootLane(const N_Vector3* targetPoints, const N_Vector3& stand, std::int32_t index);
  N_ShootLane(const N_ShootLane&) = delete;
  N_ShootLane& operator=(const N_ShootLane&) = delete;

  /// Target i down; false (nothing done) outside 0..4.
  bool KnockDown(int i);
  /// Target i's position; null outside 0..4.
  const N_Vector3* TargetPosition(int i) const;
  /// All five stand up.
  void ResetTargets();
  /// Knocks down the first standing target in index order; its index, -1 when all are down.
  int HitFirstStanding();
  /// Bit i set while target i is down.
  std::uint32_t HitMask() const;
  /// Five minus the targets down.
  int StandingCount() const;

  const N_ShootTarget* Target(int i) const;
  const N_Vector3& StandPosition() const { return m_stand; }
  /// Unit vector from the stand to the middle target.
  const N_Vector3& ShootDirection() const { return m_direction; }
  bool InUse() const { return m_inUse != 0; }
  void SetInUse(bool inUse) { m_inUse = inUse ? 1 : 0; }
  std::int32_t Index() const { return m_index; }

 private:
  std::vector<std::unique_ptr<N_ShootTarget>> m_targets;
  N_Vector3 m_stand;
  N_Vector3 m_direction;
  std::uint8_t m_inUse = 0;
  std::int32_t m_index = 0;
};

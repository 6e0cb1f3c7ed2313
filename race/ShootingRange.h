#pragma once
// N_ShootingRange: the shooting range of a level: the player's rifle (N_Shooter) and
// the targets with their lanes (N_ShootTargetMng). The path network builds it once the
// level's shooting points are known and destroys it with itself.
//
// Update, per step: the targets' display, then the player's series on the rifle.
#include "race/ShootTargetMng.h"
#include "race/Shooter.h"

#include <memory>

class N_ShootingRange {
 public:
  /// Lanes have five targets each.
  static constexpr int kTargetsPerLane = N_ShootLane::kTargetCount;

  N_ShootingRange() = default;
  ~N_ShootingRange() { Destroy(); }
  N_ShootingRange(const N_ShootingRange&) = delete;
  N_ShootingRange& operator=(const N_ShootingRange&) = delete;

  /// Builds the range when targetCount / laneCount is 5 (the points past five a lane are
  /// not used): the targets loaded, the lanes, the target figures, then the rifle
  /// loaded. No lanes or no target points (or no point arrays) are refused before the
  /// division, with an AI log line. Answers false in every case (the path loader does
  /// not look at it).
  bool Build(const N_Vector3* targetPoints, int targetCount, const N_Vector3* standPoints, int laneCount);
  /// Deletes the rifle (its animation set first), then the targets (lanes and targets,
  /// then their animation set).
  void Destroy();

  /// Lane `index`; null outside the lanes (or before Build).
  N_ShootLane* GetLane(int index) const;
  /// Clears the lane's in-use flag (set by the racer that took it).
  void ReleaseLane(N_ShootLane* lane);
  /// The targets' display, then the player's series.
  void Update(float frameTime);

  /// The player's series, forwarded to the rifle (nothing without one).
  void Begin(N_Racer* racer, bool showHits);
  void End();
  bool IsDone();
  void BeginTrainingSeries();

  /// Null until built.
  N_Shooter* Shooter() const { return m_shooter.get(); }
  N_ShootTargetMng* Targets() const { return m_targets.get(); }

 private:
  std::unique_ptr<N_Shooter> m_shooter;
  std::unique_ptr<N_ShootTargetMng> m_targets;
};

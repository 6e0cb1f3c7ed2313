#pragma once
// N_Racer: one skier of a race, the player's and every computer skier's alike: where
// it is on the track, how fast and tired, how its shooting went and the factors the
// skiing, shooting and AI code read every step, derived once from its athlete record.
// A plain record owned by whoever made it (the race simulation, the relay, the buddy
// games); the racer routines work on it in place.
//
// Racers are numbered by one process-wide counter that starts at 1: each new racer
// takes the next number, and destroying any racer sets the counter back to 1, so the
// racers of every race are numbered from 1.
#include "core/Matrix3.h"
#include "core/Vector3.h"

#include <cstdint>

struct N_AthletProfile;
class N_ShootLane;
namespace Ai {
class N_AiSector;
struct N_AiStrategy;
}  // namespace Ai

struct N_Racer {
  /// The racer of an athlete: lapsLeft laps to begin after the first (laps - 1), its
  /// clock at startTime (negative before its own start), the athlete's index in its
  /// list, whether it waits at its start place, and whether it skis a relay leg (8
  /// cartridges instead of 5).
  N_Racer(N_AthletProfile& athlete, std::int32_t lapsLeft, float startTime, std::int32_t athleteIndex, bool holding,
          bool relay);
  /// Sets the racer counter back to 1.
  ~N_Racer();
  N_Racer(const N_Racer&) = delete;
  N_Racer& operator=(const N_Racer&) = delete;

  /// The number the next racer will take.
  static std::int32_t NextStartNumber();

  Ai::N_AiSector* Sector = nullptr;  ///< the sector the racer is in
  std::uint8_t PenaltyLoopOpen = 0;
  std::uint8_t LapArmed = 0;
  std::uint8_t PenaltyCheckDue = 0;
  std::int32_t ControlKind = 0;  ///< 1 the player's racer, 0 a computer racer
  std::int32_t Bullets = 5;
  float ReloadProgress = 0.0f;
  std::uint8_t Disqualified = 0;
  std::int32_t PenaltyLoops = 0;
  std::int32_t Misses = 0;
  std::int32_t Shots = 0;
  std::int32_t LapsLeft = 0;
  std::int32_t LapsDone = 0;
  std::int32_t Position = 0;  ///< rank
  std::int32_t StartNumber = 0;
  float Time = 0.0f;  ///< seconds; negative before the start, -1.0 disqualified
  float AnimPhase = 0.0f;
  N_Vector3 Pos;
  N_Vector3 Heading;
  N_Vector3 PrevPos;
  std::int32_t Anim = 18;
  std::int32_t Falls = 0;
  std::int32_t FallState = 0;
  float HeartRate = 0.0f;
  float Speed = 0.0f;  ///< m/s
  float Concentration = 0.0f;
  float Condition = 1.0f;
  float Mass = 0.0f;
  float PulseRise = 0.0f;
  float PulseFall = 0.0f;
  float ConditionCap = 1.0f;
  float Coolness = 0.0f;
  float GamenessBoost = 0.0f;
  float ShootSkill = 0.0f;
  float RunSkill = 0.0f;
  float CurveSkill = 0.0f;
  N_AthletProfile* Athlete = nullptr;  ///< not owned
  std::int32_t ShootPhase = 9;         ///< 9: not shooting
  std::int32_t Stance = 0;             ///< 0 none, 1 standing, 2 prone
  N_ShootLane* Lane = nullptr;         ///< the lane held
  float ShotTimer = -1.0f;
  std::uint8_t Finished = 0;
  float IdleTimer = 0.0f;
  std::uint8_t Holding = 0;
  std::int32_t AthleteIndex = 0;
  std::int32_t Terrain = 0;  ///< 0 downhill, 1 flat, 2 uphill
  float Power = 0.0f;
  float Steer = 0.0f;
  float PowerScale = 1.0f;
  std::int32_t Technique = -1;
  std::uint8_t ShowFinishArrow = 0;
  std::uint8_t ShowPenalty = 0;
  N_Vector3 GroundNormal;  ///< the ground plane's normal under the racer (the athlete query's three words)
  float TurnStress = 0.0f;
  std::int32_t Blocked = 0;
  N_Vector3 HeadPoint;
  N_Matrix3 Orientation;
  /// The last heading whose frame was worked out, and that frame (before the box axes'
  /// flip): a racer skiing straight keeps its heading from step to step, and the frame's
  /// trigonometry need not be done again.
  N_Vector3 FrameHeading{0.0f, 0.0f, 0.0f};
  N_Matrix3 Frame;
  /// The frame of Heading (N_Matrix3::FromDirection), worked out again only when the
  /// heading changed in any bit.
  const N_Matrix3& HeadingFrame();
  N_Vector3 BoxHalfSize{40.0f, 25.0f, 50.0f};
  N_Vector3 Probes[3];
  std::uint8_t KampfgeistActive = 0;
  float KampfgeistTimer = 15.0f;
  std::int32_t LastComment = -1;
  std::uint8_t Stopped = 0;
  float EdgeBrake = 0.0f;
  float FullPowerTime = 0.0f;
  float FallImmunity = 0.0f;
  /// Seconds stopped at the finish: after 10.0 s the racer is finished even when its
  /// finish animation never reaches its end.
  float FinishAnimTime = 0.0f;
  float StrategyValue = 1.0f;
  const Ai::N_AiStrategy* Strategy = nullptr;
  std::int32_t BreathSlot = -1;
};

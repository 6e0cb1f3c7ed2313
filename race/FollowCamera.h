#pragma once
// The race's follow camera: the free controller's camera kept behind the followed
// skier and above the snow, looking at him over his shoulder. Every race mode moves it
// once per step while the skier is not aiming at the range.
//
// The camera's position is its only state. Each step it swings round the skier towards
// the point behind his heading (never more than kMaxLagDegrees off it), eases towards
// its rest distance and height (further back at speed, as it trails him), and stays
// kClearance above the ground of the course under it; it looks at a point on the skier.
// A camera that starts anywhere (the end of the start flight, a stale position after
// the range) is brought into that band by its first step.
#include "core/Vector3.h"

class N_Camera;
struct N_Racer;

struct N_FollowCamera {
  /// Horizontal distance behind the skier at rest; the camera trails further at speed.
  static constexpr float kDistance = 240.0f;
  static constexpr float kMinDistance = 160.0f;
  static constexpr float kMaxDistance = 380.0f;
  /// The eye's height above the skier's feet, and the point on him it looks at.
  static constexpr float kEyeRaise = 100.0f;
  static constexpr float kLookRaise = 50.0f;
  /// The eye stays between these heights above the look point (never level with the
  /// snow, never looking straight down).
  static constexpr float kMinAbove = 20.0f;
  static constexpr float kMaxAbove = 160.0f;
  /// Least height of the eye above the ground under it.
  static constexpr float kClearance = 60.0f;
  /// The most the camera may lag round the skier from straight behind him, degrees.
  static constexpr float kMaxLagDegrees = 40.0f;
  /// Rates (per second) of the swing behind the heading, of the distance and of the
  /// height; the distance's is the spring stiffness of the follow.
  static constexpr float kSwingRate = 2.5f;
  static constexpr float kDistanceRate = 2.5f;
  static constexpr float kHeightRate = 4.0f;

  /// One step of dt seconds (clamped to 0..0.1) after the racer; rebuilds the view.
  static void Follow(N_Camera& camera, const N_Racer& racer, float dt);
  /// The ground height under a point as the race knows it: the ground of the racer's
  /// sector, or of the neighbouring sector the point lies across; the racer's own
  /// height without a sector.
  static float GroundUnder(const N_Racer& racer, const N_Vector3& point);
  /// The point the camera looks at.
  static N_Vector3 LookPoint(const N_Racer& racer);
};

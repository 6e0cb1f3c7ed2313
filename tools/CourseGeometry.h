#pragma once
// The plan geometry of the course generator: points in the ground plane, curves
// sampled along their length, and the sectors of a path seen as the race sees them
// (the vertical side, start and end planes through a sector's cross-sections, z up).
#include "core/Plane.h"
#include "core/Vector3.h"

#include <array>
#include <vector>

namespace course {

/// A point or direction in the ground plane.
struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
float Dot(Vec2 a, Vec2 b);
/// z of the cross product: positive when b lies counter-clockwise of a.
float Cross(Vec2 a, Vec2 b);
float Length(Vec2 a);
Vec2 Normalized(Vec2 a);
/// The direction turned a quarter to the left (counter-clockwise seen from above).
inline Vec2 LeftOf(Vec2 d) { return {-d.y, d.x}; }
inline Vec2 Plan(const N_Vector3& p) { return {p.x, p.y}; }

/// A cross-section of a path: its left edge, ideal line and right edge points.
struct Section {
  N_Vector3 left;
  N_Vector3 ideal;
  N_Vector3 right;
};
bool SameSection(const Section& a, const Section& b, bool withIdeal);

/// A sector between two cross-sections with the planes the race builds: the left and
/// right sides, the start and the end, each positive inside.
class SectorPlanes {
 public:
  SectorPlanes(const Section& start, const Section& end);
  /// Inside all four planes (a value of 0 counts as inside).
  bool Contains(const N_Vector3& point) const;
  /// The point's value for the left and the right side (its distance inside them).
  float LeftValue(const N_Vector3& point) const;
  float RightValue(const N_Vector3& point) const;
  /// The ideal points' values for the start and the end plane (0 when on them).
  float StartIdealValue() const { return Value(m_start, m_startIdeal); }
  float EndIdealValue() const { return Value(m_end, m_endIdeal); }
  /// The unit direction from the start ideal point to the end's.
  const N_Vector3& Direction() const { return m_direction; }

 private:
  static float Value(const N_Plane& plane, const N_Vector3& p) { return Vec3Dot(plane.normal, p) + plane.distance; }

  N_Plane m_left, m_right, m_start, m_end;
  N_Vector3 m_startIdeal, m_endIdeal, m_direction;
};

/// The sector's outline in plan, counter-clockwise for a sector whose left edge lies
/// on the left of its direction: start right, end right, end left, start left.
std::array<Vec2, 4> Outline(const Section& start, const Section& end);
/// Every corner turns left: a convex outline, wound counter-clockwise, of some area.
bool IsConvexCounterClockwise(const std::array<Vec2, 4>& outline);
/// Whether two convex outlines overlap in more than their borders (shrunk by the
/// margin first, so that neighbours sharing an edge do not count).
bool Overlap(const std::array<Vec2, 4>& a, const std::array<Vec2, 4>& b, float margin);

/// A point of a sampled curve and its unit direction.
struct Station {
  Vec2 point;
  Vec2 direction;
};

/// A smooth curve from `from` leaving along `fromDirection` through the waypoints to
/// `to`, arriving along `toDirection` (Hermite pieces with Catmull-Rom tangents),
/// sampled at even steps of about `spacing` along its length. Both ends are included.
std::vector<Station> SampleCurve(Vec2 from, Vec2 fromDirection, const std::vector<Vec2>& waypoints, Vec2 to,
                                 Vec2 toDirection, float spacing);
/// A polyline (dense points) sampled the same way; directions from the polyline.
std::vector<Station> SamplePolyline(const std::vector<Vec2>& dense, float spacing);

}  // namespace course

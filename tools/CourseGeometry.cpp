#include "tools/CourseGeometry.h"

#include <algorithm>
#include <cmath>

namespace course {

namespace {

/// The height added to a point for the third point of a vertical plane.
constexpr float kRaise = 20.0f;
/// Dense points per Hermite piece before the even sampling.
constexpr int kPieceSteps = 160;

N_Vector3 Raised(const N_Vector3& p) { return {p.x, p.y, p.z + kRaise}; }

N_Plane MakePlane(const N_Vector3& a, const N_Vector3& b, const N_Vector3& c) {
  N_Plane plane;
  PlaneFromPoints(plane, a, b, c);  // a degenerate sector keeps a zero plane; the outline test finds it
  return plane;
}

bool SamePoint(const N_Vector3& a, const N_Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

std::array<Vec2, 4> Shrunk(const std::array<Vec2, 4>& outline, float margin) {
  Vec2 centre;
  for (Vec2 p : outline) centre = centre + p * 0.25f;
  std::array<Vec2, 4> out = outline;
  for (Vec2& p : out) {
    const Vec2 inward = centre - p;
    const float length = Length(inward);
    p = length > margin ? p + inward * (margin / length) : centre;
  }
  return out;
}

/// Whether some edge of `a` separates the two outlines.
bool Separated(const std::array<Vec2, 4>& a, const std::array<Vec2, 4>& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Vec2 edge = a[(i + 1) % a.size()] - a[i];
    const Vec2 axis = LeftOf(edge);
    float minA = Dot(axis, a[0]), maxA = minA, minB = Dot(axis, b[0]), maxB = minB;
    for (Vec2 p : a) minA = std::min(minA, Dot(axis, p)), maxA = std::max(maxA, Dot(axis, p));
    for (Vec2 p : b) minB = std::min(minB, Dot(axis, p)), maxB = std::max(maxB, Dot(axis, p));
    if (maxA <= minB || maxB <= minA) return true;
  }
  return false;
}

Vec2 Hermite(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1, float t) {
  const float t2 = t * t, t3 = t2 * t;
  return p0 * (2 * t3 - 3 * t2 + 1) + t0 * (t3 - 2 * t2 + t) + p1 * (-2 * t3 + 3 * t2) + t1 * (t3 - t2);
}

}  // namespace

float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
float Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
Vec2 Normalized(Vec2 a) {
  const float length = Length(a);
  return length > 0.0f ? a * (1.0f / length) : Vec2{1.0f, 0.0f};
}

bool SameSection(const Section& a, const Section& b, bool withIdeal) {
  return SamePoint(a.left, b.left) && SamePoint(a.right, b.right) && (!withIdeal || SamePoint(a.ideal, b.ideal));
}

SectorPlanes::SectorPlanes(const Section& s, const Section& e)
    : m_left(MakePlane(e.left, s.left, Raised(s.left))),
      m_right(MakePlane(s.right, e.right, Raised(e.right))),
      m_start(MakePlane(s.left, s.right, Raised(s.left))),
      m_end(MakePlane(e.right, e.left, Raised(e.left))),
      m_startIdeal(s.ideal),
      m_endIdeal(e.ideal),
      m_direction(e.ideal - s.ideal) {
  m_direction.Normalize();
}

bool SectorPlanes::Contains(const N_Vector3& p) const {
  return Value(m_left, p) >= 0.0f && Value(m_right, p) >= 0.0f && Value(m_start, p) >= 0.0f && Value(m_end, p) >= 0.0f;
}

float SectorPlanes::LeftValue(const N_Vector3& p) const { return Value(m_left, p); }
float SectorPlanes::RightValue(const N_Vector3& p) const { return Value(m_right, p); }

std::array<Vec2, 4> Outline(const Section& start, const Section& end) {
  return {Plan(start.right), Plan(end.right), Plan(end.left), Plan(start.left)};
}

bool IsConvexCounterClockwise(const std::array<Vec2, 4>& outline) {
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const Vec2 a = outline[(i + 1) % 4] - outline[i];
    const Vec2 b = outline[(i + 2) % 4] - outline[(i + 1) % 4];
    if (!(Cross(a, b) > 0.0f)) return false;
  }
  return true;
}

bool Overlap(const std::array<Vec2, 4>& a, const std::array<Vec2, 4>& b, float margin) {
  const auto sa = Shrunk(a, margin), sb = Shrunk(b, margin);
  return !Separated(sa, sb) && !Separated(sb, sa);
}

std::vector<Station> SampleCurve(Vec2 from, Vec2 fromDirection, const std::vector<Vec2>& waypoints, Vec2 to,
                                 Vec2 toDirection, float spacing) {
  std::vector<Vec2> points{from};
  points.insert(points.end(), waypoints.begin(), waypoints.end());
  points.push_back(to);
  const std::size_t n = points.size();
  std::vector<Vec2> tangents(n);
  tangents.front() = Normalized(fromDirection) * Length(points[1] - points[0]);
  tangents.back() = Normalized(toDirection) * Length(points[n - 1] - points[n - 2]);
  for (std::size_t i = 1; i + 1 < n; ++i) tangents[i] = (points[i + 1] - points[i - 1]) * 0.5f;
  std::vector<Vec2> dense{from};
  for (std::size_t i = 0; i + 1 < n; ++i) {
    for (int step = 1; step <= kPieceSteps; ++step) {
      dense.push_back(Hermite(points[i], tangents[i], points[i + 1], tangents[i + 1], float(step) / kPieceSteps));
    }
  }
  std::vector<Station> stations = SamplePolyline(dense, spacing);
  stations.front() = {from, Normalized(fromDirection)};
  stations.back() = {to, Normalized(toDirection)};
  return stations;
}

std::vector<Station> SamplePolyline(const std::vector<Vec2>& dense, float spacing) {
  std::vector<float> along{0.0f};
  for (std::size_t i = 1; i < dense.size(); ++i) along.push_back(along.back() + Length(dense[i] - dense[i - 1]));
  const float total = along.back();
  const int count = std::max(1, static_cast<int>(std::lround(total / spacing)));
  auto at = [&](float s) {
    s = std::clamp(s, 0.0f, total);
    const auto it = std::upper_bound(along.begin(), along.end(), s);
    const std::size_t i = std::min<std::size_t>(std::max<std::ptrdiff_t>(it - along.begin(), 1), dense.size() - 1);
    const float piece = along[i] - along[i - 1];
    const float t = piece > 0.0f ? (s - along[i - 1]) / piece : 0.0f;
    return dense[i - 1] + (dense[i] - dense[i - 1]) * t;
  };
  const float step = total / float(count), probe = step * 0.25f;
  std::vector<Station> stations;
  for (int k = 0; k <= count; ++k) {
    const float s = step * float(k);
    stations.push_back({at(s), Normalized(at(s + probe) - at(s - probe))});
  }
  return stations;
}

}  // namespace course

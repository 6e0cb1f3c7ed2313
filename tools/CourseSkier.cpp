#include "tools/CourseSkier.h"

#include <algorithm>
#include <cmath>

namespace course {

namespace {

constexpr float kStep = 10.0f;
/// A heading this short along a side (a head-on meeting) takes the sector's direction.
constexpr float kMinAlong = 0.1f;

/// How far p lies beyond the cross-section's line, seen along the way (its right-to-left
/// line turned a quarter to the right points ahead), times the line's length.
float Along(const Section& s, Vec2 p) { return -Cross(Plan(s.left) - Plan(s.right), p - Plan(s.right)); }

}  // namespace

float SideAngleLimit(float curveTechnique) {
  const float skill = curveTechnique * 0.004f + 0.6f;
  return std::asin(std::clamp(skill - 0.3f, 0.0f, 1.0f));
}

bool SkiForward(std::span<const WaySector> way, Vec2 from, Vec2 heading, float stride,
                const std::function<void(const SideMet&)>& met, float maxLength) {
  Vec2 p = from, d = Normalized(heading);
  std::size_t i = 0;
  for (float skied = 0.0f; skied < maxLength; skied += kStep) {
    stride = std::fmod(stride + kStep / (2.0f * kHalfStride), 1.0f);
    const float push = stride < 0.5f ? kStridePush : -kStridePush;
    const Vec2 move{d.x * std::cos(push) - d.y * std::sin(push), d.x * std::sin(push) + d.y * std::cos(push)};
    p = p + move * kStep;
    while (i < way.size() && Along(*way[i].end, p) > 0.0f) ++i;
    if (i == way.size()) return true;
    while (Along(*way[i].start, p) < 0.0f) {
      if (i == 0) return false;
      --i;
    }
    const Section& s = *way[i].start;
    const Section& e = *way[i].end;
    const N_Vector3 q{p.x, p.y, 0.0f};
    const float left = way[i].planes->LeftValue(q), right = way[i].planes->RightValue(q);
    if (left >= kSideMargin && right >= kSideMargin) continue;
    const bool onLeft = left < right;
    const Vec2 side = onLeft ? Normalized(Plan(e.left) - Plan(s.left)) : Normalized(Plan(e.right) - Plan(s.right));
    const Vec2 inward = onLeft ? Vec2{side.y, -side.x} : LeftOf(side);
    p = p + inward * (kSideMargin - (onLeft ? left : right));
    if (Dot(move, inward) < 0.0f) met({i, std::asin(std::min(std::fabs(Cross(side, move)), 1.0f))});
    const float into = Dot(d, inward);
    if (into >= 0.0f) continue;  // heading along it or off it: the stride alone took him there
    Vec2 along = d - inward * into;
    if (Length(along) < kMinAlong) {
      const Vec2 course = Normalized(Plan(e.ideal) - Plan(s.ideal));
      along = course - inward * Dot(course, inward);
    }
    d = Normalized(along);
  }
  return false;
}

}  // namespace course

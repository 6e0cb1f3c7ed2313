#include "tools/CourseStraight.h"

#include <algorithm>
#include <cmath>

namespace course {

namespace {

using namespace stadium;

constexpr float kPi = 3.14159265f;
constexpr float kDegree = kPi / 180.0f;
/// Plan units of the funnel's sides' integration.
constexpr float kFine = 10.0f;

Vec2 Heading(float angle) { return {std::cos(angle), std::sin(angle)}; }

/// A side's angle s units into the funnel: growing evenly over its ramp to its full.
float SideAngle(float s, float full, float ramp) { return full * std::min(s / ramp, 1.0f); }

class StraightBuilder {
 public:
  Straight Build() {
    Add({{0.0f, 0.0f}, {1.0f, 0.0f}}, kRangeLeft[0], kRangeRight[0]);
    Add({{kRangeTo, 0.0f}, {1.0f, 0.0f}}, kRangeLeft[1], kRangeRight[1]);
    Label("Trigger_ShootArea");
    Funnel();
    // Along the right side's last angle until the skiers of the left side are over.
    const Station end = m_straight.stops.back().station;
    const Vec2 along = Heading(kFunnelRightAngle * kDegree);
    const int crossing = int(std::lround(kCrossing / kStraightStep));
    for (int i = 1; i <= crossing; ++i) Add({end.point + along * (kStraightStep * float(i)), along});
    Label("Trigger_PenaltyShow", 2);
    Add({m_straight.stops.back().station.point + along * kStraightStep, along});
    Label("Trigger_PenaltyPath");
    TurnBack();
    static constexpr const char* kAfterFork[] = {"Trigger_RoundCount", nullptr, "Trigger_Mass2Normal", nullptr,
                                                 "Trigger_Sprint2Normal", nullptr, "Trigger_Relay2Normal", nullptr};
    for (const char* label : kAfterFork) {
      const Station& last = m_straight.stops.back().station;
      Add({last.point + Vec2{kStraightStep, 0.0f}, {1.0f, 0.0f}});
      if (label) Label(label);
    }
    return std::move(m_straight);
  }

 private:
  void Add(const Station& station, float left = kHalfWidth, float right = kHalfWidth) {
    m_straight.stops.push_back({station, left, right});
  }
  int Sectors() const { return int(m_straight.stops.size()) - 1; }
  /// The sector `back` sectors before the one the last stop ends.
  void Label(const char* label, int back = 0) { m_straight.sectors[label] = Sectors() - 1 - back; }

  /// From the range's end both sides draw in, each more steeply over its ramp, until the
  /// straight has the track's width: a cross-section every kStraightStep, and the last
  /// where it is narrow enough. Its first sectors carry the lap's check, the by-pass's
  /// return and the relay's events.
  void Funnel() {
    static constexpr const char* kLabels[] = {"Trigger_RoundCount2", "Trigger_ShortCutShootAreaEnd",
                                              "Trigger_ShowRelayPlayer", "Trigger_RelayAiChange", nullptr,
                                              "Trigger_GoToNormalPath"};
    float left = kRangeLeft[1], right = -kRangeRight[1];
    for (float s = kFine; left - right > 2.0f * kHalfWidth || Sectors() == 1; s += kFine) {
      const float middle = s - kFine * 0.5f;
      left -= std::tan(SideAngle(middle, kFunnelLeftAngle, kFunnelLeftRamp) * kDegree) * kFine;
      right += std::tan(SideAngle(middle, kFunnelRightAngle, kFunnelRightRamp) * kDegree) * kFine;
      const bool narrow = left - right <= 2.0f * kHalfWidth;
      if (!narrow && std::fmod(s, kStraightStep) > 0.5f * kFine) continue;
      const float half = narrow ? kHalfWidth : (left - right) * 0.5f;
      Add({{kRangeTo + s, (left + right) * 0.5f}, {1.0f, 0.0f}}, half, half);
      const std::size_t sector = std::size_t(Sectors() - 2);  // of the funnel
      if (sector < std::size(kLabels) && kLabels[sector]) Label(kLabels[sector]);
    }
  }

  /// A bend to the right from the fork's heading back along the stadium's axis; the
  /// penalty result on its first sector.
  void TurnBack() {
    const Station fork = m_straight.stops.back().station;
    const float turn = kFunnelRightAngle * kDegree;
    const Vec2 centre = fork.point - LeftOf(fork.direction) * kTurnBackRadius;
    const int steps = std::max(1, int(std::lround(kTurnBackRadius * turn / kStraightStep)));
    for (int i = 1; i <= steps; ++i) {
      const float a = turn * (1.0f - float(i) / float(steps));  // the heading at this stop
      const Vec2 h = Heading(a);
      Add({centre + LeftOf(h) * kTurnBackRadius, h});
      if (i == 1) Label("Trigger_PenaltyResult");
    }
  }

  Straight m_straight;
};

}  // namespace

const Straight& StadiumStraight() {
  static const Straight straight = StraightBuilder().Build();
  return straight;
}

std::vector<Vec2> PenaltyLine(const Station& forkStart, const Station& forkEnd) {
  // In the fork's frame (u ahead, v to the left): left round a gentle arc, then a tight
  // one to the half turn; back along a leg; left round a half circle that ends on the
  // fork's line, and along it into the fork: the way back lies on the way in.
  const Vec2 ahead = forkEnd.direction, left = LeftOf(ahead);
  const float turn = kPenaltyEntryTurn * kDegree;
  std::vector<Vec2> dense{forkEnd.point};
  Vec2 at = forkEnd.point;
  float heading = 0.0f;  // from `ahead`, counter-clockwise
  const auto arc = [&](float radius, float to) {
    const Vec2 centre = at + (ahead * -std::sin(heading) + left * std::cos(heading)) * radius;
    const float from = heading;
    for (int i = 1; i <= 32; ++i) {
      heading = from + (to - from) * float(i) / 32.0f;
      at = centre + (ahead * std::sin(heading) - left * std::cos(heading)) * radius;
      dense.push_back(at);
    }
  };
  arc(kPenaltyEntryRadius, turn);
  arc(kPenaltyRadius, kPi);
  const float across = Dot(at - forkEnd.point, left);  // the second half circle's width
  const float leg = Dot(at - forkStart.point, ahead) + kPenaltyLeadIn;
  at = at - ahead * leg;
  dense.push_back(at);
  arc(across * 0.5f, 2.0f * kPi);
  dense.push_back(forkStart.point);
  return dense;
}

}  // namespace course

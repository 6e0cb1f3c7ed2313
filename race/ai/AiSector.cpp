#include "race/ai/AiSector.h"

#include "race/ai/AiLog.h"

#include <cmath>
#include <utility>

namespace Ai {

namespace {

/// The height added to a point for the third point of a vertical plane.
constexpr float kRaise = 20.0f;
/// An ideal point may lie this far off its cross-section's plane.
constexpr float kIdealTolerance = 0.1f;
/// Squared distance within which two edge points are the same.
constexpr float kConsistencyBound = 0.1f;
/// A move with a squared length up to this has no direction.
constexpr float kShortMove = 0.001f;

N_Vector3 Raised(const N_Vector3& p) { return {p.x, p.y, p.z + kRaise}; }

float SquaredDistance(const N_Vector3& a, const N_Vector3& b) {
  const N_Vector3 d = a - b;
  return Vec3Dot(d, d);
}

}  // namespace

void N_AiSector::Link(N_AiSector* previous, N_AiSector* next) {
  if (previous) previous->m_next = next;
  if (next) next->m_previous = previous;
}

N_Vector3 N_AiSector::SectionPoint(const N_Matrix3& section, int k) {
  return {section.m[3 * k], section.m[3 * k + 1], section.m[3 * k + 2]};
}

void N_AiSector::ComputePlanes(std::unique_ptr<N_Matrix3> start, std::unique_ptr<N_Matrix3> end,
                               std::int32_t pathKind) {
  if (!start || !end) return;  // the builder always gives both
  m_start = std::move(start);
  m_end = std::move(end);
  m_pathKind = pathKind;
  const N_Vector3 sL = SectionPoint(*m_start, kLeft), sI = SectionPoint(*m_start, kIdeal),
                  sR = SectionPoint(*m_start, kRight);
  const N_Vector3 eL = SectionPoint(*m_end, kLeft), eI = SectionPoint(*m_end, kIdeal),
                  eR = SectionPoint(*m_end, kRight);
  struct Corners {
    Plane plane;
    N_Vector3 a, b, c;
  };
  const Corners corners[] = {
      {kDiagonal, eR, sL, Raised(sL)}, {kLeftSide, eL, sL, Raised(sL)}, {kRightSide, sR, eR, Raised(eR)},
      {kStart, sL, sR, Raised(sL)},    {kEnd, eR, eL, Raised(eL)},      {kGroundA, eR, sL, eL},
      {kGroundB, eR, sR, sL},
  };
  for (const Corners& c : corners) {
    // A plane that cannot be built keeps what it held (zero in a new sector).
    if (!PlaneFromPoints(m_planes[c.plane], c.a, c.b, c.c)) N_AiLog::WriteBox("Ai::N_AiPath: Failed computing planes.");
  }
  m_direction = eI - sI;
  m_length = std::sqrt(Vec3Dot(m_direction, m_direction));
  m_direction.Normalize();
  CheckIdealPoint(*m_start, kStart);
  CheckIdealPoint(*m_end, kEnd);
}

void N_AiSector::CheckIdealPoint(const N_Matrix3& section, Plane plane) const {
  const N_Vector3 ideal = SectionPoint(section, kIdeal);
  const float value = PlaneValue(m_planes[plane], ideal);
  if (std::fabs(value) > kIdealTolerance) {
    N_AiLog::Error(5, FormatAiLine("Zle polozeny ideal point. \nPozicia bodu: %3.1f %3.1f %3.1f \nDistance: %3.2f",
                                   double(ideal.x), double(ideal.y), double(ideal.z), double(value)));
  }
}

int N_AiSector::Classify(const N_Vector3& point) const {
  const float dL = PlaneValue(m_planes[kLeftSide], point);
  const float dR = PlaneValue(m_planes[kRightSide], point);
  const float dS = PlaneValue(m_planes[kStart], point);
  const float dE = PlaneValue(m_planes[kEnd], point);
  int result = 0;
  if (dL < 0.0f || dR < 0.0f) result = 4;
  if (dS < 0.0f && dE >= 0.0f) result |= 2;
  if (dS >= 0.0f && dE < 0.0f) result |= 1;
  return result;
}

void N_AiSector::ClampToSpan(const N_Vector3& point, N_Vector3& out) const {
  for (Plane plane : {kStart, kEnd}) {
    const float value = PlaneValue(m_planes[plane], point);
    if (value < 0.0f) {
      out = point - m_planes[plane].normal * value;
      return;
    }
  }
  out = point;
}

void N_AiSector::GetGroundHeight(const N_Vector3& point, float& outZ) const {
  const N_Plane& ground = PlaneValue(m_planes[kDiagonal], point) >= 0.0f ? m_planes[kGroundB] : m_planes[kGroundA];
  if (ground.normal.z == 0.0f) {
    outZ = point.z;  // a vertical triangle has no height to give
    return;
  }
  outZ = -(ground.distance + ground.normal.x * point.x + ground.normal.y * point.y) / ground.normal.z;
}

void N_AiSector::GetSideDistances(const N_Vector3& point, float out[3]) const {
  out[0] = PlaneValue(m_planes[kLeftSide], point);
  out[1] = PlaneValue(m_planes[kRightSide], point);
  out[2] = PlaneValue(m_planes[kEnd], point);
}

N_Vector3 N_AiSector::GetIdealPoint(bool atEnd) const {
  const N_Matrix3* section = atEnd ? m_end.get() : m_start.get();
  return section ? SectionPoint(*section, kIdeal) : N_Vector3{};
}

const N_Plane* N_AiSector::CollideSides(const N_Vector3& previous, const N_Vector3& next, N_Vector3& out,
                                        std::int32_t& state, float& cosine, float factor) const {
  const N_Plane* side = &m_planes[kLeftSide];
  float d = PlaneValue(*side, next) - kSideMargin;
  if (d >= 0.0f) {
    side = &m_planes[kRightSide];
    d = PlaneValue(*side, next) - kSideMargin;
    if (d >= 0.0f) {
      out = next;
      return nullptr;
    }
  }
  N_Vector3 move = next - previous;
  if (Vec3Dot(move, move) <= kShortMove) {
    out = previous;
    return nullptr;
  }
  move.Normalize();
  out = next - side->normal * d;  // exactly the margin inside the side hit
  const float c = Vec3Dot(move, side->normal);
  cosine = std::fabs(c);
  if (c < 0.3f - factor && state == 0) state = 2;
  return side;
}

bool N_AiSector::CheckConsistency(const N_AiSector& other, bool checkIdeal) const {
  if (!m_start || !m_end || !other.m_start || !other.m_end) return false;
  struct Check {
    int point;
    const char* failure;
  };
  const Check checks[] = {{kLeft, "Left point consistency failed."},
                          {kRight, "Right point consistency failed."},
                          {kIdeal, "Ideal point consistency failed."}};
  const std::pair<const N_Matrix3*, const N_Matrix3*> pairs[] = {{m_start.get(), other.m_start.get()},
                                                                  {m_end.get(), other.m_end.get()}};
  for (const auto& [mine, theirs] : pairs) {
    for (const Check& check : checks) {
      if (check.point == kIdeal && !checkIdeal) continue;
      if (SquaredDistance(SectionPoint(*mine, check.point), SectionPoint(*theirs, check.point)) > kConsistencyBound) {
        N_AiLog::Write(check.failure);
        return false;
      }
    }
  }
  return true;
}

}  // namespace Ai

#pragma once
// One sector of the AI path network: the piece of a path between two cross-sections,
// each a line across the course through its left edge, ideal line and right edge
// point (a N_Matrix3 whose rows are the three points). The path builder makes the
// sectors of a level's path when a race is loaded (ComputePlanes, Link), labels them
// and joins paths; the racers' movement then asks them every step where a skier is
// (Classify), how high the ground is (GetGroundHeight) and how to keep it off the
// sides (CollideSides). A sector never moves a racer by itself.
//
// Coordinates are world units with z up; every vertical plane contains (0, 0, 1). A
// plane's value at p is normal . p + distance. With the left edge on the left of the
// travel direction, the side, start and end normals point into the sector, the
// diagonal plane is positive on the side of the start's right point and the ground
// normals point up; nothing flips a plane of data that breaks the convention.
//
// Deleting a path network deletes its sectors; a sector deletes its two
// cross-sections, never its neighbours or junctions.
#include "core/Matrix3.h"
#include "core/Plane.h"
#include "core/Vector3.h"
#include "race/ai/AiSectorFlags.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Ai {

/// The path a sector belongs to. Normal and Penalty are closed rings, the others open chains.
enum N_AiPathType : std::int32_t {
  kPathNormal = 0,
  kPathMassStart = 1,
  kPathSprintStart = 2,
  kPathRelayStart = 3,
  kPathPenalty = 4,
  kPathCiel = 5,  ///< the finish run-in
  kPathShortCutArcade = 6,
  kPathShortCutShootArea = 7,
};

class N_AiSector {
 public:
  /// The seven planes, in this order.
  enum Plane { kDiagonal, kLeftSide, kRightSide, kStart, kEnd, kGroundA, kGroundB, kPlaneCount };
  /// Rows of a cross-section.
  enum Point { kLeft = 0, kIdeal = 1, kRight = 2 };
  /// How far inside its sides CollideSides keeps a skier, world units.
  static constexpr float kSideMargin = 5.0f;

  /// All zero: no cross-sections, planes, flags or links.
  N_AiSector() = default;
  virtual ~N_AiSector() = default;
  N_AiSector(const N_AiSector&) = delete;
  N_AiSector& operator=(const N_AiSector&) = delete;

  /// previous's next := next; next's previous := previous (either may be null).
  static void Link(N_AiSector* previous, N_AiSector* next);

  /// Takes both cross-sections and the path kind, builds the seven planes, the
  /// direction and the length, then checks the ideal points: one off its plane by
  /// more than 0.1 is the AI error with code 5. A plane that cannot be built is shown
  /// in a box and keeps what it held; building goes on.
  void ComputePlanes(std::unique_ptr<N_Matrix3> start, std::unique_ptr<N_Matrix3> end, std::int32_t pathKind);

  /// 4 when the point lies outside the left or right side, OR 2 when before the start
  /// plane and not beyond the end plane, OR 1 when beyond the end plane and not before
  /// the start; 0 inside. A value of exactly 0 is inside.
  int Classify(const N_Vector3& point) const;
  /// A point before the start plane projected onto it, else one beyond the end plane
  /// onto that, else the point itself.
  void ClampToSpan(const N_Vector3& point, N_Vector3& out) const;
  /// z of the ground triangle the diagonal picks (B where the diagonal value is >= 0)
  /// at the point's x and y; a vertical triangle leaves the point's own z.
  void GetGroundHeight(const N_Vector3& point, float& outZ) const;
  /// The plane values of the point for the left side, the right side and the end.
  void GetSideDistances(const N_Vector3& point, float out[3]) const;
  /// The ideal point of the end (atEnd) or the start cross-section; (0, 0, 0) before
  /// ComputePlanes.
  N_Vector3 GetIdealPoint(bool atEnd) const;
  /// Keeps a skier moving from previous to next 5.0 inside the sides: out is next, or
  /// the corrected point, or previous for a move too short to have a direction (state
  /// and cosine then untouched). A hit side sets cosine to |c|, c = the unit move .
  /// the side's normal (negative head-on), and when c < 0.3 - factor and the state is
  /// 0, the state to 2 (the fall after hitting a side). The left side is tested first
  /// and wins. Returns the side's plane when it moved the point onto the margin, else
  /// null (no side hit, or a move too short).
  const N_Plane* CollideSides(const N_Vector3& previous, const N_Vector3& next, N_Vector3& out, std::int32_t& state,
                              float& cosine, float factor) const;
  /// Whether this sector and another path's sector have the same edges: starts, then
  /// ends; left, right and (when asked) ideal points within a squared distance of 0.1.
  /// The first failure is written to the AI log.
  bool CheckConsistency(const N_AiSector& other, bool checkIdeal) const;

  /// ORs bits into the flag byte of a group 1 to 7 (others change nothing).
  void SetFlag(int group, std::uint8_t bits) { m_flags.Set(group, bits); }
  const N_AiSectorFlags& Flags() const { return m_flags; }
  /// Joins a sector of another path (not owned).
  void AddJunction(N_AiSector* sector) { m_junctions.push_back(sector); }
  const std::vector<N_AiSector*>& Junctions() const { return m_junctions; }

  const N_Vector3& Direction() const { return m_direction; }
  float Length() const { return m_length; }
  const N_Plane& GetPlane(Plane plane) const { return m_planes[plane]; }
  /// The cross-sections; null before ComputePlanes.
  const N_Matrix3* StartSection() const { return m_start.get(); }
  const N_Matrix3* EndSection() const { return m_end.get(); }
  N_AiSector* Next() const { return m_next; }
  N_AiSector* Previous() const { return m_previous; }
  std::int32_t PathKind() const { return m_pathKind; }

  /// Row k (kLeft, kIdeal, kRight) of a cross-section.
  static N_Vector3 SectionPoint(const N_Matrix3& section, int k);
  /// The plane's value at the point.
  static float PlaneValue(const N_Plane& plane, const N_Vector3& point) {
    return Vec3Dot(plane.normal, point) + plane.distance;
  }

 private:
  void CheckIdealPoint(const N_Matrix3& section, Plane plane) const;

  N_Vector3 m_direction;
  float m_length = 0.0f;
  N_AiSectorFlags m_flags;
  std::unique_ptr<N_Matrix3> m_end;
  std::unique_ptr<N_Matrix3> m_start;
  N_Plane m_planes[kPlaneCount] = {};
  std::vector<N_AiSector*> m_junctions;  ///< sectors of other paths; not owned
  N_AiSector* m_next = nullptr;          ///< null at the end of an open path
  N_AiSector* m_previous = nullptr;
  std::int32_t m_pathKind = 0;
};

}  // namespace Ai

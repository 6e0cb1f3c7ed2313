#pragma once
// Planes and the box-against-plane test of the view frustum.
#include "core/Vector3.h"

#include <cstdint>

/// Points p of the plane satisfy normal . p + distance = 0. The axis type and sign
/// bits are filled by the plane's owner (the view frustum) for BoxOnPlaneSide.
struct N_Plane {
  N_Vector3 normal;
  float distance = 0.0f;
  std::uint8_t type = 3;      ///< 0, 1, 2: the normal is that positive axis; 3: any other
  std::uint8_t signBits = 0;  ///< bit i set when normal component i is negative
};

/// The plane through a, b, c with the normal (c - a) x (b - a) normalised; false
/// (plane untouched) when that cross product is shorter than 1e-7.
bool PlaneFromPoints(N_Plane& out, const N_Vector3& a, const N_Vector3& b, const N_Vector3& c);

/// Which side of the plane the axis-aligned box lies on: 1 in front (touching counts
/// as in front), 2 behind, 3 crossing. For axial planes (type 0-2) the comparison is
/// with the distance field directly and outDistance is not written; otherwise
/// outDistance gets the farthest corner's distance, or for a crossing box the nearest one's.
int BoxOnPlaneSide(const N_Vector3& mins, const N_Vector3& maxs, const N_Plane& plane, float* outDistance);

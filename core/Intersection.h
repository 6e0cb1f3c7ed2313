#pragma once
// Ray and sphere tests of the aiming and collision code.
#include "core/Vector3.h"

struct N_Sphere {
  N_Vector3 center;
  float radius = 0.0f;
};
static_assert(sizeof(N_Sphere) == 16);

/// Squared distance from the point to the ray; outT (when not null) gets the ray
/// parameter of the nearest point, 0 when that is the origin (point behind it).
float PointRayDistanceSq(const N_Vector3& point, const N_Vector3& origin, const N_Vector3& direction, float* outT);
/// True when the centre lies within the radius of the ray (inclusive).
bool RayIntersectsSphere(const N_Vector3& origin, const N_Vector3& direction, const N_Sphere& sphere);
/// Sphere a moves from a0 to a1 and sphere b from b0 to b1 during one step. True when
/// they first touch inside the step; outT gets the step fraction less 0.001 (at least 0).
/// Spheres that both move less than sqrt(0.001) never collide; spheres already
/// overlapping at the start do not either, except when both move by the same vector
/// (their distance never changes: then overlapping is a collision at t = 0).
bool SweptSpheresCollide(const N_Vector3& a0, const N_Vector3& a1, const N_Vector3& b0, const N_Vector3& b1,
                         float radiusA, float radiusB, float* outT);

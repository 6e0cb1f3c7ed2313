#pragma once
// Rotation blending of the animation: keys, animation channels, camera paths.
#include "core/Quaternion.h"

/// Spherical linear interpolation from a (t = 0) to b (t = 1) along the shorter arc
/// (b is negated when a . b < 0); nearly equal rotations (1 - |a . b| <= 1e-6) are
/// blended linearly. The result is not normalised again. out may be a or b.
void QuaternionSlerp(const N_Quaternion& a, const N_Quaternion& b, float t, N_Quaternion& out);

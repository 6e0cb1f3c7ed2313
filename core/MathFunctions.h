#pragma once
// The float helpers the game's formulas are written with.
#include <cmath>

inline float SinF(float angle) { return std::sin(angle); }
inline float CosF(float angle) { return std::cos(angle); }
inline float FabsF(float value) { return std::fabs(value); }
/// -1 below 0, otherwise 1 (also for -0.0 and NaN).
inline float SignF(float value) { return value < 0.0f ? -1.0f : 1.0f; }

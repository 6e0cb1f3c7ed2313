#pragma once
// Number conversions of the engine's texts. The game reads numbers with atoi and atof;
// atoi here saturates at the int range (glibc's wraps), and float-to-int truncation
// saturates too, so huge values in data files cannot produce nonsense.
#include <cstdint>
#include <string_view>

/// atoi that saturates: leading blanks, optional sign, digits; no digits gives 0.
int SaturatingAtoi(const char* text);
/// atof of the C library (0.0 for null).
double PlainAtof(const char* text);
/// Truncation toward zero, saturated to the int range (NaN gives 0).
int SaturatingTruncate(double value);
/// A double as a float, saturated to the float range (NaN gives 0), so numbers of any
/// size in data files become usable floats.
float SaturatingToFloat(double value);

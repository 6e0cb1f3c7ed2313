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

/// The largest magnitude a number of a script may have: far beyond any position, size,
/// time or count of the game's data, and within the int range.
inline constexpr double kScriptNumberLimit = 2147483647.0;

/// A number of a script as its reader takes it, and what is wrong with the text.
struct ScriptNumber {
  double value = 0.0;
  const char* fault = nullptr;  ///< null, or e.g. "is out of range" (to follow the quoted text)
};
/// Reads a number as atoi (whole) or atof does and checks it: NaN (taken as 0), a value
/// beyond kScriptNumberLimit (taken at the limit) and, for a whole number, a fraction or
/// exponent (taken as atoi reads it) are faults. A text without a number (a word, an
/// empty text) is none: it reads as 0, as atoi and atof give, and its reader decides.
ScriptNumber ReadScriptNumber(const char* text, bool whole);

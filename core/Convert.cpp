#include "core/Convert.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

int SaturatingAtoi(const char* text) {
  if (!text) return 0;
  errno = 0;
  const long long v = std::strtoll(text, nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

double PlainAtof(const char* text) { return text ? std::atof(text) : 0.0; }

int SaturatingTruncate(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

float SaturatingToFloat(double value) {
  if (std::isnan(value)) return 0.0f;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

ScriptNumber ReadScriptNumber(const char* text, bool whole) {
  if (!text) return {};
  char* end = nullptr;
  const double read = std::strtod(text, &end);
  if (end == text) return {};
  // "inf" or "nan" starting a longer word ("info") is a word, not a number.
  if (!std::isfinite(read) && *end != '\0' && !std::isspace(static_cast<unsigned char>(*end))) return {};
  if (std::isnan(read)) return {0.0, "is not a number"};
  if (std::fabs(read) > kScriptNumberLimit) return {std::copysign(kScriptNumberLimit, read), "is out of range"};
  if (!whole) return {read};
  const double atoi = SaturatingAtoi(text);
  if (atoi != read) return {atoi, "is not a whole number"};
  return {atoi};
}

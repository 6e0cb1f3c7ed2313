#include "race/ResultOrder.h"

#include "race/ExportData.h"
#include "race/SplitBoardRow.h"

#include <cmath>

bool ResultRowTimeLess(const N_ResultRow& a, const N_ResultRow& b) {
  const bool aValid = a.Time >= 0.0f;  // false for NaN too
  const bool bValid = b.Time >= 0.0f;
  if (!aValid) return false;
  if (!bValid) return true;
  return a.Time < b.Time;
}

std::int32_t CompareSplitRowTime(const N_SplitBoardRow& a, const N_SplitBoardRow& b) {
  const bool aNan = std::isnan(a.Time);
  const bool bNan = std::isnan(b.Time);
  if (aNan || bNan) return aNan == bNan ? 0 : (aNan ? 1 : -1);
  if (a.Time < b.Time) return -1;
  return a.Time > b.Time ? 1 : 0;
}

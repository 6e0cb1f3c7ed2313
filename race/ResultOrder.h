#pragma once
// The two orderings of the result boards: result rows by time, split-board rows by
// time. Both are strict orderings for the standard sorts (the boards use
// std::stable_sort, so equal times keep their arrival order).
#include <cstdint>

struct N_ResultRow;
struct N_SplitBoardRow;

/// Whether a goes before b: rows with a real time (not negative, not NaN) first, in
/// ascending time; a row without one never goes before another row.
bool ResultRowTimeLess(const N_ResultRow& a, const N_ResultRow& b);
/// -1 when a's time is smaller, 1 when it is larger, 0 when equal; a time that is not
/// a number goes after every number and equals another such time.
std::int32_t CompareSplitRowTime(const N_SplitBoardRow& a, const N_SplitBoardRow& b);

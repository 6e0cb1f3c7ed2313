#pragma once
// The penalty-loop page "PenaltyRounds": "NumPenalty" shows the loops still to ski.
// The race shows it when the player leaves the range with misses, counts it down on
// each loop and closes it after the last.
#include <cstdint>

/// Shows the page at once with the count.
void ShowPenaltyRounds(std::int32_t count);
/// The count only.
void UpdatePenaltyRounds(std::int32_t count);
/// Fades the page out at 2.0 per second.
void ClosePenaltyRounds();

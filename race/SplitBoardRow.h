#pragma once
// One racer's entry of a split-time board: made by the race's split table for every
// racer, its time filled in as the racer passes a checkpoint, and handed to the board
// (race/SplitBoard.h), which keeps a copy. Memory only.
#include <cstdint>

struct N_SplitBoardRow {
  static constexpr int kTextSize = 128;

  char Name[kTextSize] = {};    ///< the athlete's name, zero-terminated within the field
  float Time = -1.0f;           ///< seconds at the checkpoint; -1.0 until passed
  char Nation[kTextSize] = {};  ///< the athlete's three-letter code, zero-terminated
  std::int32_t RacerId = 0;     ///< the racer's number (its start number)
  std::int32_t Leg = 0;         ///< the relay leg, set by the relay mode
  std::int32_t Round = -1;      ///< the round of the passage; -1 until passed (not read by the board)
};
static_assert(sizeof(N_SplitBoardRow) == 272, "the split table's board entry");

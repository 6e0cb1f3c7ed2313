#pragma once
// The split-time board "SplitTimes": the standings at an intermediate checkpoint,
// shown for a few seconds while a race runs. The race's split table opens it when the
// first racer reaches a checkpoint, feeds it every racer with a time there and every
// later arrival, and closes it 10 s later. The board keeps its rows sorted by time and
// rewrites its table on every arrival: "Times1" (rank, start number, flag, name, time
// or gap to the first) for individual races, "Times2" (rank, flag, time) for relays.
#include "race/SplitBoardRow.h"

#include <cstdint>
#include <vector>

/// The open board's values, process-wide; each opening starts them again.
struct SplitBoardState {
  std::vector<N_SplitBoardRow> SplitBoardRows;  ///< copies of the rows fed, sorted by time
  std::uint8_t SplitBoardMode = 0;              ///< 0 individual ("Times1"), 1 relay ("Times2")
  std::int32_t SplitBoardPlayer = -1;           ///< racer number of the player's row, -1 none
};
extern SplitBoardState g_splitBoard;
/// Back to the values of program start (tests).
void ResetSplitBoardState();

/// Opens an empty individual board ("Times1" shown, "Times2" hidden), no player row,
/// and fades "SplitTimes" in at 2.0 per second.
void ShowSplitBoardIndividual();
/// The same for the relay board ("Times2").
void ShowSplitBoardRelay();
/// Adds a copy of the row (the player's when isPlayer) and rewrites the board's table
/// in time order; the player's row stays selected on the individual board, the relay
/// board selects none. Nothing when the board's table is missing or the row is null.
void FillSplitTimeTable(const N_SplitBoardRow* row, bool isPlayer);
/// Fades "SplitTimes" out at 2.0 per second.
void CloseSplitTimes();

#pragma once
// The final-result board "FinalResult": when a race ends the world hands the game's
// result to ShowFinalResult, which takes the race display down, removes the game,
// keeps the result for the front-end (its handle in the variable "egd",
// race/FinishedResults.h) and shows the page with one of its tables filled: the race
// standings "FR/Table" (individual or relay), the run training's laps or the running
// buddy game's line "FR/Table1", the shooting training's or the shooting buddy game's
// line "FR/Table2". "FR/Table3" is always hidden.
#include <memory>

struct ExportData;

/// Closes the race pages (status, shooting, penalty loops, split board, start info,
/// stopwatch, the overlay and "BuddyStatus"), puts the race camera in mode 0 and
/// "viewmode" to 0, removes and deletes the world's game, ends the exhaustion blur,
/// keeps the result (its handle in "egd"), fills the tables and shows "FinalResult"
/// at once. A null result does nothing.
void ShowFinalResult(std::unique_ptr<ExportData> result);
/// Fills the table of "gamemode" (3 trainings, 4 and 5 buddy games, else races; a race
/// is a relay when "discipline" is 1). The race rows are left in board order: a relay's
/// legs merged into one row per team, then every row sorted by time.
void FillFinalResultTables(ExportData& result);

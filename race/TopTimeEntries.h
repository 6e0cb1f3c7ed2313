#pragma once
// The top-times entries of a finished race, made by the results page's click: the
// player's result goes into the table of the mode that launched the race
// (race/TopTimeTables.h), in the block of the choices of its set-up page, with the
// name typed there. The result is read, not taken over.
//
// Each first stores the name box's text in the saved variable of the page
// ("PlayerName1" arcade, "PlayerName3" single race, "PlayerName2" time attack), so the
// name is offered again next time, even when nothing is entered. Nothing is entered
// when an element of the page is missing (one log line), when the player has no row
// with a time above 0, or when the row's athlete has no athlete record.
struct ExportData;

/// The arcade entry: the player's row is the first of the selected athlete (a relay's:
/// the first of RelayTeam's first member, with no athlete name); a pursuit's time is
/// the pursuit's plus QualificationTime.
void RecordArcadeHighScore(const ExportData* result);
/// The same on the single-race page and its table.
void RecordSingleRaceHighScore(const ExportData* result);
/// The time-attack entry, the result's first row. True when it is the new best of its
/// block (and the table was saved): its run is then kept as the block's ghost.
bool RecordTimeAttackHighScore(const ExportData* result);

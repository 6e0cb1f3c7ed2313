#pragma once
// The result of a finished race or game: the game mode's PollResult makes it, the race
// simulation fills its rows, the result boards, the final-result page, the high-score
// tables, the buddy results and the career read it. Whoever finishes with it deletes
// it, and with it its rows, its lap times and its recorded run. Memory only.
#include <cstdint>
#include <memory>
#include <vector>

class N_RunRecorder;

/// One racer's line of a result.
struct N_ResultRow {
  std::int32_t AthleteIndex = 0;  ///< in the athlete list of ExportData::Sex
  float Time = 0.0f;              ///< the clock at the end; negative: did not finish ("Disq")
  std::int32_t LapsDone = 0;
  std::int32_t Misses = 0;        ///< over the whole race
  float FullPowerTime = 0.0f;     ///< seconds with the power above 0.95
  float Condition = 0.0f;         ///< at the end; 1.0 is full
  std::int32_t Falls = 0;
  std::int32_t StartNumber = 0;   ///< running number, 1 for the first racer created
  bool Player = false;            ///< the player's racer (relay: a leg of the player's team)
};

struct ExportData {
  ExportData();
  ~ExportData();  // out of line: the recorder is complete there
  ExportData(const ExportData&) = delete;
  ExportData& operator=(const ExportData&) = delete;

  /// Time attack: the run just driven, for the final-result page to save. Owned: the
  /// time-attack mode hands it over with the result; whoever takes it out owns it.
  std::unique_ptr<N_RunRecorder> Ghost;
  std::int32_t Discipline = 13;  ///< trainings: the game's discipline (12 or 13)
  std::int32_t Shots = 0;        ///< shooting training
  std::int32_t Misses = 0;       ///< shooting training
  std::int32_t Faults = 0;       ///< shooting training: misses; run training: falls
  std::int32_t AthleteIndex = 0; ///< trainings: the runner
  float Time = 0.0f;             ///< trainings: the final clock
  std::int32_t LapsDone = 0;     ///< run training
  /// Run training: each lap's time and, last, the time from the last lap mark to the
  /// end. Readers stop at its last entry, whatever LapsDone says.
  std::vector<float> LapTimes;
  float BuddyTime = 0.0f;
  std::int32_t BuddyMisses = 0;
  std::int32_t BuddyShots = 0;
  std::uint8_t Success = 1;      ///< buddy games: the task was met
  std::int32_t BuddyFalls = 0;
  /// One row per racer (relay: one per leg, a team's four legs in a row).
  std::vector<N_ResultRow> Rows;
  std::int32_t Sex = 0;          ///< the athlete list of the rows' indices
};

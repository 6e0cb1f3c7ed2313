#pragma once
// N_GameBodyGamesRun: a buddy game's running attempt: one skier, the player's, skis the
// description's laps from the sprint start against the clock, alone on the course,
// after a five-second countdown. A fall ends the attempt under the description's
// Faultless flag. Made by the buddy-games launcher with the description (owned until
// the result), then Load, Init and SetPaused(1).
#include "race/RaceSimSolo.h"

class N_GameBodyGamesRun final : public N_SoloRaceGame {
 public:
  /// A null description is only logged here (three lines); Init refuses it.
  N_GameBodyGamesRun(std::unique_ptr<GameData> gameData, const N_RaceServices& services);
  ~N_GameBodyGamesRun() override;

  void Init() override;
  /// The range's targets, the starter, the finish arrow and the racer (from -5 s on).
  void Render(float dt) override;
  /// Null until the racer has finished; then the attempt's record, once: valid unless
  /// given up, fallen under Faultless, or faster than a positive TimeLimit.
  std::unique_ptr<ExportData> PollResult() override;

 private:
  bool StepOnce(float s) override;
  /// The countdown (the start signal and the start info once, the counter every step);
  /// at 0 the status with the description's player name and nation, once.
  void StartSequence();
};

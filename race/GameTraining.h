#pragma once
// N_GameTraining: the two trainings. The running training (discipline 12): the player
// skis the laps alone against the clock from a five-second countdown, with the heart
// rate's rise and fall scaled by the training factor. The shooting training
// (discipline 13): the player stands at a random lane of the range and shoots series
// of five until Esc. Made by the training set-up with the description (owned until the
// result), then Load, Init and SetPaused(1).
//
// A shooting training on a range without any lane keeps the racer at the sprint start
// with no series ("Ai.log" says so); Esc ends it as usual. Esc ends either training
// with the clock as it stands.
#include "race/RaceSimSolo.h"

class N_GameTraining final : public N_SoloRaceGame {
 public:
  /// The running training's clock at Init: a five-second countdown.
  static constexpr float kRunStart = -5.01f;

  /// A null description is logged (three lines); a discipline other than 12 and 13 is
  /// the critical error "Undefined training type".
  N_GameTraining(std::unique_ptr<GameData> gameData, const N_RaceServices& services);
  ~N_GameTraining() override;

  /// A null description is the critical error of that name.
  void Init() override;
  void Render(float dt) override;
  /// Null until the racer has finished; then the pages are closed and the result made
  /// once (shooting: shots, misses with the unfinished series'; running: falls, laps and
  /// the lap times).
  std::unique_ptr<ExportData> PollResult() override;

  bool Shooting() const { return m_shooting != 0; }

 private:
  bool StepOnce(float s) override;
  void StepRun(float s);
  void StepShooting(float s);
  /// Puts the racer on lane int(RandomRange(0, 29)) (the last lane past the range) and
  /// begins the series; false without any lane.
  bool TakeLane();

  std::uint8_t m_shooting = 0;
  bool m_hasLane = false;
};

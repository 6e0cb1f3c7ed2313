#pragma once
// N_GameTimeAttack: the time attack. The player skis the chosen course alone from the
// sprint start against the ghost of the best recorded run of the same settings, and
// the run is recorded (race/RunRecorder.h). Made by the time-attack set-up with the
// description and the recorder (both owned: the recorder goes to the result as its
// Ghost, the description is destroyed by PollResult, or with the mode when no result
// was made), then Load, Init and SetPaused(1).
//
// Each step: the range, Esc (the run is given up: -1.0), the countdown, the clock, the
// ghost and the recording, the sector events (no coach) and, once the clock is above
// 0, the technique, input, shooting, physics, the status HUD, the 3400 s limit and the
// move; then the mini-map (the racer and the loaded ghost), the breathing, the
// listener and the camera.
#include "race/RaceSimSolo.h"

#include <memory>

class N_RunRecorder;

class N_GameTimeAttack final : public N_SoloRaceGame {
 public:
  /// A run past this clock is disqualified (the recorder holds 3600 s).
  static constexpr float kTimeLimit = 3400.0f;

  N_GameTimeAttack(std::unique_ptr<GameData> gameData, std::unique_ptr<N_RunRecorder> ghost,
                   const N_RaceServices& services);
  ~N_GameTimeAttack() override;

  /// The path network and the markers; without a recorder the critical error
  /// "TimeAttackData is NULL".
  void Load() override;
  void Init() override;
  void Render(float dt) override;
  /// Null until the racer has finished; then the pages are closed and the result made
  /// once: Sex, the recorder as Ghost and one row (athlete, time, laps, misses).
  std::unique_ptr<ExportData> PollResult() override;

  N_RunRecorder* Ghost() const { return m_ghost.get(); }
  bool RacingStarted() const { return m_statusShown != 0; }

 private:
  bool StepOnce(float s) override;

  std::unique_ptr<N_RunRecorder> m_ghost;
};

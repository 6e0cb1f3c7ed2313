#pragma once
// N_GameBodyGamesShoot: a buddy game's shooting attempt: the player's athlete stands at
// a drawn lane of the range and shoots series of five under the contest's rule: a time
// limit, no miss allowed (Faultless), a number of hits (TargetHits) or a number of shots
// (ShotLimit). No skiing, no course, no markers; the frame time is used as it comes.
// Made by the buddy-games launcher with the description (owned until the result), then
// Load, Init and SetPaused(1).
#include "race/RaceSimSolo.h"

class N_GameBodyGamesShoot final : public N_SoloRaceGame {
 public:
  /// The seconds before the time limit in which the start signal sounds every update.
  static constexpr float kLastSeconds = 5.0f;

  /// A null description is only logged here (three lines); Init refuses it.
  N_GameBodyGamesShoot(std::unique_ptr<GameData> gameData, const N_RaceServices& services);
  ~N_GameBodyGamesShoot() override;

  /// The path network, the shader scripts again and a texture purge; no markers.
  void Load() override;
  void Init() override;
  void Update(float dt) override;
  /// The range's targets; nothing while paused.
  void Render(float dt) override;
  /// Null until the attempt has ended; then its record, once, and the rifle put away.
  std::unique_ptr<ExportData> PollResult() override;
  /// No racer is shown: block null, false.
  bool GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) override;

  /// The lane drawn by Init; -1 without one.
  int LaneIndex() const { return m_lane; }

 private:
  bool StepOnce(float) override { return false; }
  /// The misses of the series under way.
  std::int32_t SeriesMisses() const;
  /// Ends the attempt; aborted ones are not valid.
  void Finish(bool aborted);

  std::uint8_t m_firstStep = 1;
  int m_lane = -1;
};

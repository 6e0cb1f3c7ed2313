#pragma once
// N_SoloRaceGame: what the two game modes that drive one racer themselves (the
// training and the time attack) share: the description (owned until the result), the
// path network and the markers (owned, made by Load), the player's racer, the player
// controls, the paused byte, the borrowed services; the racer's set-up at the sprint
// start, the start countdown, the animation and move of a step, the listener and the
// following camera, the markers' draws, and the athlete query.
//
// Load makes the path network from the services' level (the world's level in the
// game) and loads the markers; a failed marker load is the critical error "Failed
// load sipka !!!!". Update runs the frame in fixed steps (race/FixedStep.h): nothing
// while paused by SetPaused; the controls are polled; while their pause toggle is on
// no step is made and Render draws with dt 0.
#include "core/PlayerControls.h"
#include "core/Vector3.h"
#include "race/AthletProfile.h"
#include "race/RaceSimServices.h"
#include "scene/Game.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_Sipka;
class N_SplitTable;
struct GameData;
struct N_Racer;
namespace Ai {
class N_AiPath;
}  // namespace Ai

class N_SoloRaceGame : public N_Game {
 public:
  static constexpr float kCountdown = 5.0f;

  ~N_SoloRaceGame() override;

  void Load() override;
  void Update(float dt) override;
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override { return m_paused = paused; }
  /// The player's figure: block = its three ground probes, point = the ground normal.
  /// Any other id: block null, false.
  bool GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) override;

  N_Racer* Racer() const { return m_racer.get(); }
  Ai::N_AiPath* Path() const { return m_path.get(); }
  N_Sipka* Markers() const { return m_markers.get(); }
  const GameData* Description() const { return m_gameData.get(); }
  N_SplitTable* SplitTable() const { return m_splitTable.get(); }
  /// The mini-map's marks of the last step.
  const std::vector<N_Vector3>& MapMarks() const { return m_positions; }
  N_PlayerControls& Controls() { return m_controls; }
  bool Paused() const { return m_paused != 0; }
  /// The athlete a racer races for when its entry names none that exists.
  const N_AthletProfile& DefaultAthlete() const { return m_defaultAthlete; }

 protected:
  N_SoloRaceGame(std::unique_ptr<GameData> gameData, const N_RaceServices& services);

  /// One step of s seconds; false ends the frame's update.
  virtual bool StepOnce(float s) = 0;

  /// The racer of the first start entry (default athlete, start time 0 for an empty
  /// list), placed at the sprint start in the sprint start sector with the stance of
  /// the first shooting; the player's. `what` names the mode in the AI-log lines.
  void BuildRacer(const char* what);
  /// The figure's shadows and the standing animation queued; the markers' shadows, the
  /// mini-map rectangle and the starter's place.
  void SetUpFigureAndMarkers();
  /// The split table of laps + 1 rows with the one racer.
  void CreateSplitTable();
  /// Countdown between -5 and 0 (the start signal and start info once, the counter
  /// every step); at 0 the start info closes and the player status shows, once.
  void StepStartSequence();
  /// The technique by Difficulty (from the racer's own animation of the step), the
  /// player's keys and shooting, and the physics step's proposed position.
  void DrivePlayer(std::int32_t& next, N_Vector3& proposed, float s);
  /// The chosen animation's rate, phase, blend and queue on the figure, then the move
  /// to the proposed position along the sectors and onto the ground.
  void AnimateAndMove(std::int32_t previous, std::int32_t next, const N_Vector3& proposed, float s);
  /// The breathing sound, the listener and (unless shooting) the following camera.
  void FollowRacer(float s);
  /// The lane arrow in phases 0 and 1, the finish arrow, the penalty arrow and its board.
  void RenderArrows(float dt);
  /// Draws the racer's figure.
  void RenderRacer(float dt);
  /// Closes the race pages (split times, player status, shooting, penalty, start info).
  void CloseRacePages();

  std::int32_t Figure() const;
  /// The figure's current action, or for a racer without a figure the one it chose.
  std::int32_t CurrentAction() const;
  /// The figure's action progress, 1.0 for a racer without a figure.
  float ActionProgress() const;

  std::unique_ptr<GameData> m_gameData;
  N_RaceServices m_services;
  std::unique_ptr<Ai::N_AiPath> m_path;
  std::unique_ptr<N_Racer> m_racer;
  std::unique_ptr<N_Sipka> m_markers;
  std::unique_ptr<N_SplitTable> m_splitTable;
  N_PlayerControls m_controls;
  std::uint8_t m_paused = 0;
  std::vector<N_Vector3> m_positions;  ///< the mini-map's marks
  std::uint8_t m_announcePending = 1;
  std::uint8_t m_statusShown = 0;
  std::int32_t m_chosen = 18;  ///< the last animation chosen
  bool m_resultMade = false;
  N_AthletProfile m_defaultAthlete;
};

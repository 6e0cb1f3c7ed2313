#pragma once
// N_GameArcade: the game mode of the arcade race, the single race, the career race and
// the pursuit that follows a sprint. It owns the course's path network and the race
// simulation (race/RaceSim.h), which owns the racers; a launcher makes it with the
// race description, then Load, Init and SetPaused(1) (race/GameLaunch.h).
//
// Load sets "Game" to the game's id (non-zero, one per game made), builds the path
// network from the level and the race simulation, which takes the description over
// (a game deleted before Load frees it itself). Init logs the "GameType" line, sets
// the path's relay change sector and shooting pattern ("LLSSVVV" for four laps or
// more, else "LSVVV") and sets the race up; the racers stand where the description's
// discipline puts them, whatever "GameType" says. Update runs the frame in fixed steps
// (race/FixedStep.h), the shooting range first, then the race; nothing while paused
// by SetPaused (the controls are not even polled); while the pause key's toggle is on,
// one race step of 0 and no range update. PollResult hands the result over once,
// when the race is over. Render shows the camera's position in developer mode.
//
// The AI log "Ai.log" is opened by the constructor and closed by the destructor, after
// the race objects.
#include "core/PlayerControls.h"
#include "race/RaceSimServices.h"
#include "scene/Game.h"

#include <cstdint>
#include <memory>

class N_RaceSim;
struct GameData;
namespace Ai {
class N_AiPath;
}  // namespace Ai

class N_GameArcade : public N_Game {
 public:
  static constexpr const char* kNoGameData = "*****  Gamearcade:  GAMEDATA is NULL !!!  ******\n";

  explicit N_GameArcade(std::unique_ptr<GameData> gameData,
                        const N_RaceServices& services = N_RaceServices::FromWorld());
  ~N_GameArcade() override;
  N_GameArcade(const N_GameArcade&) = delete;
  N_GameArcade& operator=(const N_GameArcade&) = delete;

  void Load() override;
  /// A null description is the critical error kNoGameData; a "GameType" other than 0,
  /// 1 and 2 is logged and set to 0.
  void Init() override;
  void Update(float dt) override;
  void Render(float dt) override;
  std::unique_ptr<ExportData> PollResult() override;
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override { return m_paused = paused; }
  /// The racer whose athlete's figure is the id: block = its three ground probes, point
  /// = its ground normal. False, with both left as they were, when none is.
  bool GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) override;

  /// Runs the race to its end with the computer driving the player's racer too (the
  /// career); the next PollResult then hands the result over.
  void Simulate();

  /// The description: the game's until Load, then the race simulation's until the
  /// result is made; null after that.
  const GameData* Description() const;
  N_RaceSim* RaceSim() const { return m_raceSim.get(); }
  Ai::N_AiPath* Path() const { return m_path.get(); }
  N_PlayerControls& Controls() { return m_controls; }
  bool Paused() const { return m_paused != 0; }
  /// The id "Game" holds once loaded.
  std::int32_t Id() const { return m_id; }

 protected:
  // One step of the shooting range and of the race, and the race's draws; a test's
  // game records them instead.
  virtual void StepRange(float dt);
  virtual void StepRace(float dt);
  virtual void RenderRace(float dt);
  virtual void RenderTargets(float dt);

 private:
  /// The developer's line "Cam Pos: x y z" with the current camera's position.
  void ShowCameraPosition() const;

  std::unique_ptr<Ai::N_AiPath> m_path;
  std::unique_ptr<N_RaceSim> m_raceSim;
  N_PlayerControls m_controls;
  std::unique_ptr<GameData> m_gameData;  ///< until Load hands it to the race simulation
  std::uint8_t m_paused = 1;
  N_RaceServices m_services;
  std::int32_t m_id = 0;
  bool m_initialised = false;
  bool m_resultMade = false;
};

#pragma once
// N_GameRelay: the relay. The start list is cut into teams of four consecutive entries;
// every team skis four legs, one member after the other, handing over in the change
// zone; the player skis every leg of the team that holds the player's entry. The mode
// keeps its teams itself and steps them in the race's fixed steps (race/FixedStep.h);
// the result holds one row per leg, team after team.
//
// Made by the relay launches with the description (owned until the result), then Load,
// Init and SetPaused(1). Esc ends the relay on the next PollResult: the player's team is
// stopped and the others are computed to their finish (at most 7200 s of computed time).
#include "core/PlayerControls.h"
#include "core/Vector3.h"
#include "race/AthletProfile.h"
#include "race/RaceSimServices.h"
#include "scene/Game.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class N_Sipka;
class N_SplitTable;
struct GameData;
struct N_Racer;
struct N_RelayTeam;
namespace Ai {
class N_AiPath;
}  // namespace Ai

class N_GameRelay final : public N_Game {
 public:
  static constexpr float kCountdown = 5.0f;
  static constexpr std::uint32_t kSplitLaps = 3;
  /// Computed time after which DoCompunting stops every team still running.
  static constexpr float kComputeLimit = 7200.0f;

  N_GameRelay(std::unique_ptr<GameData> gameData, const N_RaceServices& services);
  ~N_GameRelay() override;

  void Load() override;
  void Init() override;
  void Update(float dt) override;
  void Render(float dt) override;
  std::unique_ptr<ExportData> PollResult() override;
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override { return m_paused = paused; }
  /// Held by the launch until the race camera's start flight hands over.
  bool Paused() const { return m_paused != 0; }
  /// An active member's figure: its ground probes and normal. A waiting member or an
  /// unknown id: block null, false.
  bool GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) override;

  std::size_t TeamCount() const { return m_teamCount; }
  N_RelayTeam* Team(std::size_t t) const { return t < m_teams.size() ? m_teams[t].get() : nullptr; }
  N_RelayTeam* PlayerTeam() const { return m_playerTeam; }
  Ai::N_AiPath* Path() const { return m_path.get(); }
  N_SplitTable* SplitTable() const { return m_splits.get(); }
  N_PlayerControls& Controls() { return m_controls; }
  float LetterboxLevel() const { return m_letterboxLevel; }
  bool RaceOver() const { return m_raceOver != 0; }
  float StartOffset() const { return m_startOffset; }

 private:
  void SetUpTeam(N_RelayTeam& team, std::uint32_t t);
  void PlaceStarter(N_Racer& racer, std::uint32_t t);
  void PlaceWaiting(N_Racer& racer, std::uint32_t t);
  /// One step of every team, then the HUD, the markers, the letterbox, the waiting
  /// members and the camera.
  void Step(float s);
  void StepTeam(N_RelayTeam& team, float s);
  void StepStart(N_RelayTeam& team, N_Racer& r, float s);
  /// The chosen animation's rate and the next action on the figure, the move along the
  /// sectors (only the last leg takes the finish fork) and onto the ground.
  void AnimateAndMove(N_RelayTeam& team, N_Racer& r, std::int32_t previous, std::int32_t next,
                      const N_Vector3& proposed, float s);
  /// The id whose standing is the member's rank: on the player's team the member that
  /// passed the checkpoint on display.
  std::int32_t RankedMember(const N_RelayTeam& team, const N_Racer& r) const;
  void AnimateWaiting(N_RelayTeam& team, float s);
  void StepLetterbox(float s);
  /// Computes every team to its finish without the player.
  void DoCompunting();
  /// The other teams' active members (the collisions and the pilot's look-ahead).
  void CollectOthers(const N_RelayTeam& team);

  std::int32_t FigureOf(const N_Racer& r) const;
  std::int32_t CurrentAction(const N_Racer& r) const;
  float ActionProgress(const N_Racer& r) const;
  void AdvanceFigure(const N_Racer* r, float s);

  std::unique_ptr<GameData> m_gameData;
  N_RaceServices m_services;
  std::vector<std::unique_ptr<N_RelayTeam>> m_teams;
  std::vector<N_Racer*> m_activeRacers;
  std::vector<N_Racer*> m_nextRacers;
  std::vector<N_Racer*> m_others;
  std::uint8_t m_teamCount = 1;
  std::unique_ptr<Ai::N_AiPath> m_path;
  N_PlayerControls m_controls;
  N_RelayTeam* m_playerTeam = nullptr;
  std::unique_ptr<N_Sipka> m_markers;
  std::unique_ptr<N_SplitTable> m_splits;
  std::uint8_t m_letterboxOn = 0;
  float m_letterboxLevel = 0.0f;
  std::uint8_t m_paused = 0;
  float m_startOffset = 0.0f;
  std::vector<N_Vector3> m_markerPoints;
  std::uint8_t m_startSignalPending = 1;
  std::uint8_t m_statusShown = 0;
  std::uint8_t m_raceOver = 0;
  bool m_resultMade = false;
  std::map<const N_Racer*, std::int32_t> m_chosen;  ///< the last animation chosen per racer
  N_AthletProfile m_defaultAthlete;
};

#pragma once
// N_RaceSim: the race object of an individual race (sprint, pursuit, mass start: the
// arcade, single and career races). It builds the racers from the start list of its
// description, places them by discipline, steps them all together in fixed steps
// (countdown, player-status HUD, listener and free camera on the followed racer),
// draws them with the course markers, runs the field without real time before the
// start (Precompute), to the end (DoComputing) and for the career (Simulate), and
// writes the result rows.
//
// The game mode makes it with the description (taken over) and what it borrows
// (N_RaceServices: any of it may be absent, so the race also runs headless), calls
// Setup in its Init, Step from its Update (race/FixedStep.h), Render from its Render,
// AllFinished and ExportResults from its PollResult, FindRacerByFigure for its athlete
// query. The followed racer is the player's, or the first racer without a player;
// without any racer (an unknown discipline, an empty start list) nothing is followed
// and Step, Render and the passes do nothing.
//
// A racer whose athlete has no figure (the default athlete of a start entry whose
// athlete does not exist) keeps the animation it chose as its current one, reads its
// progress as 1.0 and is not drawn.
#include "core/Vector3.h"
#include "race/AthletProfile.h"
#include "race/RaceSimServices.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_PlayerControls;
class N_Sipka;
class N_SplitTable;
struct ExportData;
struct GameData;
struct N_Racer;
namespace Ai {
class N_AiPath;
}  // namespace Ai

class N_RaceSim {
 public:
  static constexpr float kStartRenderDefault = -5.0f;
  static constexpr float kCountdown = 5.0f;
  static constexpr float kStuckTime = 3600.0f;
  /// The racer count is 8-bit: further start entries are left out.
  static constexpr std::size_t kMaxRacers = 255;
  static constexpr float kPlayerPulseRise = 1.1f;
  static constexpr float kMassStartFallImmunity = 45.0f;

  /// Keeps the description and loads the markers; a failed load is the critical error
  /// "Failed load sipka !!!!".
  N_RaceSim(std::unique_ptr<GameData> gameData, const N_RaceServices& services);
  /// Releases the racers' breathing sounds and destroys the racers (the racer counter
  /// goes back to 1), the markers and the split table.
  virtual ~N_RaceSim();
  N_RaceSim(const N_RaceSim&) = delete;
  N_RaceSim& operator=(const N_RaceSim&) = delete;

  /// Builds and places the racers, the split table and runs the precomputation. Without
  /// a description the critical error "GameData NULL".
  void Setup(Ai::N_AiPath& path);
  /// One step of every racer; controls are the player's, or null for the passes.
  void Step(float dt, const N_PlayerControls* controls);
  /// The markers and the racers.
  void Render(float dt);
  /// The stop flag is set, there is no racer, or every racer has finished.
  bool AllFinished() const;
  /// Runs the race to its end, closes the HUD pages and appends one row per racer;
  /// destroys the description. A null record is the AI error "Export data is NULL".
  void ExportResults(ExportData* result);
  /// The first racer whose athlete's figure is id: block = its three ground probes
  /// (nine floats), point = its ground normal. False, writing nothing, when none.
  bool FindRacerByFigure(std::int32_t id, const float** block, N_Vector3* point) const;

  /// Before the start: shifts the clocks so the followed racer stands at the start
  /// flight and countdown, stepping the field up to it.
  void Precompute();
  /// To the end: the followed racer, unless finished or across the line, is given up
  /// (-1.0); the others run until every racer has finished.
  void DoComputing();
  /// For the career: the computer drives the followed racer too, to the end.
  void Simulate();

  std::size_t RacerCount() const { return m_racers.size(); }
  N_Racer& Racer(std::size_t i) const { return *m_racers[i]; }
  /// The followed racer, null without racers.
  N_Racer* Followed() const { return m_followed; }
  bool Stopped() const { return m_stop != 0; }
  float StartRenderThreshold() const { return m_startRenderThreshold; }
  float RaceClock() const { return m_raceClock; }
  /// Steps made since the set-up began (the precomputation's included).
  std::int64_t StepCount() const { return m_steps; }
  const GameData* Description() const { return m_gameData.get(); }
  N_Sipka& Markers() const { return *m_markers; }
  /// The split table, null before Setup.
  N_SplitTable* SplitTable() const { return m_splitTable.get(); }
  /// The athlete a racer races for when its entry names none that exists.
  const N_AthletProfile& DefaultAthlete() const { return m_defaultAthlete; }

 private:
  /// Start place, start sector and strategy of racer i by discipline.
  void PlaceRacer(N_Racer& racer, std::size_t i);
  void StepStartPhase();
  void StepRacer(std::size_t i, float dt, const N_PlayerControls* controls);
  void FollowCamera(float dt);
  /// The figure's current action, or for a racer without a figure the one it chose.
  std::int32_t CurrentAction(std::size_t i) const;
  /// The figure's action progress, 1.0 for a racer without a figure.
  float ActionProgress(const N_Racer& racer) const;
  std::int32_t FigureOf(const N_Racer& racer) const;
  /// Advances the figure of every racer that is not finished (and whose clock is at
  /// least minTime) by one step, without drawing it.
  void AdvanceFigure(const N_Racer& racer, float dt);
  /// Ends racers past the stuck time; true when every racer has finished.
  bool EndStuckRacers(float loggedTime, int& visits, bool everyVisit);
  void TickTimer();
  float FrameTime() const;

  std::unique_ptr<GameData> m_gameData;
  N_RaceServices m_services;
  std::vector<std::unique_ptr<N_Racer>> m_racers;
  /// Per racer: the animation it chose last (the current one of a racer without figure).
  std::vector<std::int32_t> m_chosen;
  Ai::N_AiPath* m_path = nullptr;
  N_Racer* m_followed = nullptr;
  std::unique_ptr<N_Sipka> m_markers;
  std::uint8_t m_stop = 0;
  std::vector<N_Vector3> m_positions;
  std::uint8_t m_announcePending = 1;
  std::uint8_t m_statusShown = 0;
  float m_startRenderThreshold = kStartRenderDefault;
  float m_raceClock = 0.0f;
  std::int64_t m_steps = 0;
  std::unique_ptr<N_SplitTable> m_splitTable;
  /// The racers that may be on the course this step (started or starting, not
  /// finished), ordered by their x, for the pilot's neighbours; kept in order as each
  /// racer moves.
  void OrderField(float dt);
  void Reorder(std::size_t i);
  /// Into m_near: the racers of the order within the pilot's reach of x along x, in
  /// racer order (as the whole field would be seen).
  void GatherNear(std::size_t i);
  std::vector<std::uint8_t> m_order;
  /// Per racer: its place in m_order, or -1 outside it, and its x when last placed.
  std::vector<std::int32_t> m_place;
  std::vector<float> m_keys;
  std::vector<std::uint8_t> m_nearIndex;
  std::vector<N_Racer*> m_near;
  /// Per racer: its clock's offset from the race clock in a pursuit.
  std::vector<float> m_clockOffsets;
  /// The racers in racer order, for the routines that see the whole field.
  std::vector<N_Racer*> m_field;
  N_AthletProfile m_defaultAthlete;
};

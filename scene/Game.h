#pragma once
// N_Game: the game-mode interface. One game mode runs a race at a time; the world
// (race/World.h) owns it as its current game and hands it to the scene as g_scene.game
// (null while no game runs). The modes themselves are the race's (race/); the
// interface lives here because the scene reaches the running game too: it only asks
// where a skier is (the trail patches, GetAthleteView).
//
// Calling contract: a launcher calls OnRemove and deletes the previous game, stores the
// new one in the world, then calls Load, Init and SetPaused(1); every frame the world
// calls Update and PollResult, and Render inside its render. The first non-null result
// goes to the final-result board (race/FinalResult.h), which removes the game.
//
// The virtual operations keep this slot order: destructor, Load, Init, Update, Render,
// PollResult, OnRemove, SetPaused, GetAthleteView.
#include "core/Vector3.h"

#include <cstdint>
#include <memory>

struct ExportData;

class N_Game {
 public:
  virtual ~N_Game() = default;
  /// Creates the mode's race objects; once, after the level has loaded.
  virtual void Load() = 0;
  /// Sets the race up from its description; once, after Load.
  virtual void Init() = 0;
  /// Per frame, with the frame time in seconds.
  virtual void Update(float dt) = 0;
  /// Per frame, inside the world's render, after the level objects and figures.
  virtual void Render(float dt) = 0;
  /// A new race-result record, handed over to the caller, once the race is over; else
  /// null. The world removes the mode on the first record, so one is made per race.
  virtual std::unique_ptr<ExportData> PollResult() = 0;
  /// Called just before the world deletes the mode; does nothing in every mode.
  virtual void OnRemove() = 0;
  /// Stores the paused byte and returns it.
  virtual std::uint8_t SetPaused(std::uint8_t paused) = 0;
  /// The racer of the athlete id: true with block = its view block (nine floats: the
  /// ground triangle under the skier, three points) and point = its view point; false
  /// when no racer has that id.
  virtual bool GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) = 0;
};

#pragma once
// A race as a player meets it, headless: the world of the game root's data (pages,
// courses, figures, range, texts) on the recording renderer, a silent sound manager,
// a timer the rig moves, the scripted keyboard and mouse behind the input manager, and
// a race launched as the set-up page launches it (the start list's click unpauses
// it). Frames run as the main loop runs them: input, world update, world
// render. The renderer writes no calls down.
#include "core/InputMng.h"
#include "core/StringTable.h"
#include "core/Timer.h"
#include "platform/dinput8/ScriptedInput.h"
#include "race/World.h"
#include "render/TextureMngImpl.h"
#include "sound/SoundMng.h"
#include "tests/race/RacePagesRig.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"

#include <memory>
#include <string>

class N_GameArcade;
class N_GameTraining;
struct N_Racer;

namespace test {

class PlayerRaceRig {
 public:
  /// The world started on the course ("Beitostolen.alf"); its table rows are looked
  /// up by name.
  explicit PlayerRaceRig(const std::string& course);
  ~PlayerRaceRig();
  PlayerRaceRig(const PlayerRaceRig&) = delete;
  PlayerRaceRig& operator=(const PlayerRaceRig&) = delete;

  /// A race of the discipline (race/GameData.h's codes) on the course, as the arcade
  /// page fills it (the single race's page for a course only the full table names):
  /// `racers` men started `gap` seconds apart (all at once for 0), the player the entry
  /// `player`; launched and unpaused (the start list's click). The world owns the game.
  N_GameArcade& StartRace(std::int32_t discipline, int racers, int player, float gap, int laps);
  /// The running training on the course as its page fills it by default (three laps,
  /// the first man), on the full course or the arcade table's short one (with its
  /// short cut); launched and unpaused. The world owns the game.
  N_GameTraining& StartRunTraining(bool shortCourse = false);
  /// Whether the course's sprint runs on the arcade page's table (with its short cut).
  bool ArcadeTable() const { return Row(true) >= 0; }
  /// The player's racer of the running game.
  const N_Racer& Player() const;
  /// One frame of dt seconds: the timer, the input manager, the world's update and
  /// render.
  void Frame(float dt);

  RenderRig rig{Unrecorded()};  ///< its device writes no calls down: the race reads none
  FakeTextureDevice device;
  N_TextureMngImpl textures{2048, &device};
  N_StringTable strings;
  NotingSoundMng sound;  ///< silent, behind g_soundMng
  TestClock clock;
  N_Timer timer{clock};
  platform::ScriptedInput input;  ///< behind the input manager
  std::unique_ptr<N_InputMng> inputMng;
  std::unique_ptr<N_World> world;
  N_GameArcade* game = nullptr;

 private:
  static platform::d3d9::RecordingDirect3DConfig Unrecorded();
  /// The course's row in the arcade or the full table, -1 when it has none.
  int Row(bool arcadeTable) const;

  std::string m_course;
};

}  // namespace test

// The follow camera through a whole sprint on each sample course, on the OpenGL device
// (Xvfb with Mesa): the followed skier (the first computer racer, who misses every
// shot, so he skis the penalty loops) is looked at when he starts, in his first two
// sharp bends, at the range, in the penalty loop, in a fall and at the finish. The
// same moments of the player's own sprint, played through the keys and the mouse by
// the simple player of tests/race/AutoPlayer.h.
#include "core/KeyDefinitions.h"
#include "core/Random.h"
#include "core/VarMng.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "tests/race/AutoPlayer.h"
#include "tests/race/RaceViewCheck.h"
#include "tests/race/WorldGlRig.h"
#include "tools/CourseLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

/// A sprint of three racers: two laps of computer racers, or three laps with the
/// player first (the race ends when the last racer is in), played by the simple player
/// through the keys and the mouse.
void FollowASprint(const char* layout, bool player = false) {
  test::WorldGlRig w;
  w.core.vars->SetString("mapname", (std::string(layout) + ".alf").c_str(), 2);
  w.world->LoadLevel();
  ResetKeyDefinitions();
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kSprint;
  data->Laps = player ? 3 : 2;
  data->PlayerIndex = player ? 0 : -1;
  for (int i = 0; i < 3; ++i) data->StartList.push_back({i, -10.0f * float(i)});
  Srand(7);
  auto game = std::make_unique<N_GameArcade>(std::move(data));
  N_GameArcade& mode = *game;
  w.world->SetGame(std::move(game));
  mode.Load();
  mode.Init();
  mode.SetPaused(0);
  w.core.vars->SetInt("viewmode", 1, 0);  // the free camera, which follows the racer
  const N_RaceSim& race = *mode.RaceSim();
  N_Racer& r = *race.Followed();
  if (!player) r.ShootSkill = 0.0f;
  const course::Terrain terrain(*course::FindLayout(layout));
  // The player misses one shot of each series, so he has a loop to ski.
  test::AutoPlayer policy(w.keys, race, *mode.Path(), 1);

  test::RaceMoments moments(true);
  for (int frame = 0; frame < 40000 && !r.Finished && !moments.Missing().empty(); ++frame) {
    if (player) policy.Frame();
    // At the range the frames are drawn: the rifle's aim follows the drawn scope view.
    if (player && r.ShootPhase != 9) {
      w.Frame(0.05f);
    } else {
      test::AdvanceRace(w, race, 0.05f);
    }
    ASSERT_EQ(w.world->Game(), &mode) << "the race runs on";
    if (const char* moment = moments.Due(r)) test::ExpectRaceView(w, r, terrain, std::string(layout) + " " + moment);
  }
  for (const std::string& name : moments.Missing()) ADD_FAILURE() << layout << ": never reached " << name;
}

TEST(RaceCameraGl, FollowsTheSkierThroughASprintOnBeitostolen) { FollowASprint("Beitostolen"); }
TEST(RaceCameraGl, FollowsTheSkierThroughASprintOnHolmenkollen) { FollowASprint("Holmenkollen"); }
TEST(RaceCameraGl, FollowsThePlayersSkierThroughHisSprintOnBeitostolen) { FollowASprint("Beitostolen", true); }
TEST(RaceCameraGl, FollowsThePlayersSkierThroughHisSprintOnHolmenkollen) { FollowASprint("Holmenkollen", true); }

}  // namespace

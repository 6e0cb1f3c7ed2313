// The follow camera through a whole sprint on each sample course, on the OpenGL device
// (Xvfb with Mesa): the followed skier (the first computer racer, who misses every
// shot, so he skis the penalty loops) is looked at when he starts, in his first two
// sharp bends, at the range, in the penalty loop, in a fall and at the finish.
#include "core/Random.h"
#include "core/VarMng.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "tests/race/RaceViewCheck.h"
#include "tests/race/WorldGlRig.h"
#include "tools/CourseLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void FollowASprint(const char* layout) {
  test::WorldGlRig w;
  w.core.vars->SetString("mapname", (std::string(layout) + ".alf").c_str(), 2);
  w.world->LoadLevel();
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kSprint;
  data->Laps = 2;
  data->PlayerIndex = -1;
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
  r.ShootSkill = 0.0f;
  const course::Terrain terrain(*course::FindLayout(layout));

  test::RaceMoments moments(true);
  for (int frame = 0; frame < 40000 && !r.Finished && !moments.Missing().empty(); ++frame) {
    test::AdvanceRace(w, race, 0.05f);
    ASSERT_EQ(w.world->Game(), &mode) << "the race runs on";
    if (const char* moment = moments.Due(r)) test::ExpectRaceView(w, r, terrain, std::string(layout) + " " + moment);
  }
  for (const std::string& name : moments.Missing()) ADD_FAILURE() << layout << ": never reached " << name;
}

TEST(RaceCameraGl, FollowsTheSkierThroughASprintOnBeitostolen) { FollowASprint("Beitostolen"); }
TEST(RaceCameraGl, FollowsTheSkierThroughASprintOnHolmenkollen) { FollowASprint("Holmenkollen"); }

}  // namespace

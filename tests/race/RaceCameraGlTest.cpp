// The follow camera through a whole sprint on each sample course, on the OpenGL device
// (Xvfb with Mesa): the followed skier (the first computer racer, who misses every
// shot, so he skis the penalty loops) is looked at when he starts, in his first two
// sharp bends, at the range, in the penalty loop, in a fall and on the finish run-in.
#include "core/Matrix3.h"
#include "core/Random.h"
#include "core/VarMng.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ai/AiSector.h"
#include "scene/AnimationFactory2.h"
#include "tests/race/RaceViewCheck.h"
#include "tests/race/WorldGlRig.h"
#include "tools/CourseLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <string>

namespace {

constexpr float kFrame = 0.05f;

/// One frame of the game without drawing it: the figures' animations advance as the
/// drawing would advance them.
void Advance(test::WorldGlRig& w, const N_RaceSim& race) {
  w.input->Update();
  w.world->Update(kFrame);
  if (!w.world->Game()) return;  // the race is over
  for (std::size_t i = 0; i < race.RacerCount(); ++i) {
    const N_Racer& r = race.Racer(i);
    if (r.Finished || !r.Athlete || r.Athlete->Figure < 0) continue;
    N_Matrix3 orientation;
    orientation.FromDirection(r.Heading);
    w.world->Figures().RenderFigure(kFrame, r.Athlete->Figure, r.Pos, orientation, r.StartNumber, r.Athlete, false,
                                    false, false);
  }
}

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

  // Each moment once, in race order, when its condition first holds.
  std::deque<std::pair<std::string, std::function<bool()>>> moments;
  bool turning = false;  // by more than 30 degrees over the last three seconds
  float penaltyFrom = -1.0f, cielFrom = -1.0f, fallFrom = -1.0f, lastBend = -100.0f;
  const auto kind = [&r] { return r.Sector ? r.Sector->PathKind() : -1; };
  const auto sharpBend = [&] {
    return kind() == Ai::kPathNormal && r.Speed > 3.0f && turning && r.Time > lastBend + 15.0f;
  };
  moments.push_back({"start", [&] { return r.Time > 1.0f; }});
  moments.push_back({"first bend", sharpBend});
  moments.push_back({"second bend", sharpBend});
  moments.push_back({"range arrival", [&] { return r.ShootPhase == 4; }});
  moments.push_back({"range departure", [&] { return r.ShootPhase == 8 && r.Speed > 1.0f; }});
  moments.push_back({"penalty loop", [&] { return penaltyFrom > 0.0f && r.Time > penaltyFrom + 2.0f; }});
  moments.push_back({"penalty loop turn", [&] { return penaltyFrom > 0.0f && r.Time > penaltyFrom + 5.0f; }});
  moments.push_back({"fall", [&] {
                       // Thrown down on the second lap at speed, looked at as he falls.
                       if (fallFrom < 0.0f && r.LapsDone == 1 && r.Speed > 4.0f && r.FallImmunity <= 0.0f) {
                         r.FallState = 1;
                         fallFrom = r.Time;
                       }
                       return fallFrom > 0.0f && r.Time > fallFrom + 0.3f;
                     }});
  moments.push_back({"finish run-in", [&] { return cielFrom > 0.0f && r.Time > cielFrom + 1.0f; }});
  moments.push_back({"at the finish", [&] { return r.Stopped != 0; }});

  std::deque<N_Vector3> headings;
  for (int frame = 0; frame < 40000 && !moments.empty() && !r.Finished; ++frame) {
    Advance(w, race);
    ASSERT_EQ(w.world->Game(), &mode) << "the race runs on";
    headings.push_back(r.Heading);
    if (headings.size() > std::size_t(3.0f / kFrame)) headings.pop_front();
    turning = headings.front().x * r.Heading.x + headings.front().y * r.Heading.y < 0.866f;
    if (kind() == Ai::kPathPenalty && penaltyFrom < 0.0f) penaltyFrom = r.Time;
    if (kind() == Ai::kPathCiel && cielFrom < 0.0f) cielFrom = r.Time;
    if (r.ShootPhase == 5 || !moments.front().second()) continue;
    if (moments.front().first.find("bend") != std::string::npos) lastBend = r.Time;
    test::ExpectRaceView(w, r, terrain, std::string(layout) + " " + moments.front().first);
    moments.pop_front();
  }
  for (const auto& [name, condition] : moments) ADD_FAILURE() << layout << ": never reached " << name;
}

TEST(RaceCameraGl, FollowsTheSkierThroughASprintOnBeitostolen) { FollowASprint("Beitostolen"); }
TEST(RaceCameraGl, FollowsTheSkierThroughASprintOnHolmenkollen) { FollowASprint("Holmenkollen"); }

}  // namespace

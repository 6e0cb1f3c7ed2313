// The trainings' pages over the sample scripts: the two launches with the fields and
// variables of their choices, and the results page's way back to the page a training
// came from.
#include "frontend/TrainingSetup.h"

#include "core/Random.h"
#include "core/VarMng.h"
#include "race/AthletMng.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameData.h"
#include "race/GameTraining.h"
#include "scene/ParticleEmitter.h"
#include "tests/frontend/SoloModesRig.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test::SoloModesRig;

N_GameTraining* Training(SoloModesRig& rig) { return dynamic_cast<N_GameTraining*>(rig.World().Game()); }

bool Snowing(SoloModesRig& rig) {
  const N_ParticleEmitter* snow = rig.World().Level().snow;
  return snow && snow->IsEmitting();
}

TEST(TrainingSetup, RunTrainingTakesThePagesChoicesAndWaitsForTheCamera) {
  SoloModesRig rig;
  N_VarMng& vars = *rig.rig.core.vars;
  frontend::ShowPageNow("RunTraining");
  struct Run {
    int level, trackLength, rounds, weather, snow, condition, sex, athlete;
    const char* map;
    std::uint8_t laps;
    float scale;
    bool snowing;
  };
  for (const Run& run : {Run{1, 0, 0, 0, 2, 0, 1, 2, "Holmenkollen.alf", 3, 0.1f, false},
                         Run{1, 0, 1, 1, 0, 9, 0, 3, "fog_Holmenkollen.alf", 5, 1.0f, true},
                         Run{6, 1, 1, 2, 1, 4, 0, 0, "fog_Pokljuka.alf", 5, 0.5f, false}}) {
    SCOPED_TRACE(run.map);
    frontend::ShowPageNow("RunTraining");
    rig.Choose({{"Sex4", run.sex}});
    TrainingClick(&rig.Element("Sex4"));
    rig.Choose({{"TrackLength1", run.trackLength}});
    TrainingClick(&rig.Element("TrackLength1"));
    rig.Choose({{"Level5", run.level}, {"NumRounds1", run.rounds}, {"Weather4", run.weather},
                {"SnowQuality4", run.snow}, {"InitCondition1", run.condition}, {"Difficulty4", 1},
                {"Athlets4", run.athlete}});
    TrainingClick(&rig.Element("Start4"));
    N_GameTraining* game = Training(rig);
    ASSERT_NE(game, nullptr);
    const GameData& d = *game->Description();
    ASSERT_EQ(d.StartList.size(), 1u);
    EXPECT_EQ(d.StartList[0].AthleteIndex, run.athlete);
    EXPECT_EQ(d.StartList[0].StartTime, 0.0f);
    EXPECT_EQ(d.Sex, run.sex);
    EXPECT_EQ(d.Discipline, DisciplineCode::kRunTraining);
    EXPECT_EQ(d.Weather, run.weather);
    EXPECT_EQ(d.SnowQuality, run.snow);
    EXPECT_EQ(d.Track, run.level);
    EXPECT_EQ(d.Laps, run.laps);
    EXPECT_EQ(d.PlayerIndex, 0);
    EXPECT_EQ(d.ArcadeLevels, run.trackLength);
    EXPECT_EQ(d.Difficulty, 1);
    EXPECT_FLOAT_EQ(d.TrainingScale1, run.scale);
    EXPECT_STREQ(vars.GetString("mapname"), run.map);
    EXPECT_EQ(Snowing(rig), run.snowing);
    EXPECT_EQ(vars.GetInt("trackmode"), run.trackLength + 1);
    EXPECT_EQ(vars.GetInt("gamemode"), 3);
    EXPECT_EQ(vars.GetInt("discipline"), DisciplineCode::kRunTraining);
    EXPECT_EQ(vars.GetInt("detail"), 1);
    EXPECT_EQ(vars.GetInt("ShowAnimObj"), 0);
    EXPECT_TRUE(game->Paused());
    EXPECT_EQ(rig.World().CameraMng().RaceController().Mode(), 1);
    EXPECT_FALSE(rig.PageVisible("RunTraining"));
    EXPECT_FALSE(rig.PageVisible("StartList"));
  }
}

TEST(TrainingSetup, ShootingTrainingDrawsACourseAndRunsAtOnceInTheShootingView) {
  SoloModesRig rig;
  N_VarMng& vars = *rig.rig.core.vars;
  frontend::ShowPageNow("ShootTraining");
  Srand(7);
  struct Shot {
    int shootType, condition, arms, sex, athlete;
    std::uint8_t steady;
  };
  for (const Shot& s : {Shot{0, 0, 9, 0, 1, 1}, Shot{1, 9, 4, 1, 2, 0}}) {
    SCOPED_TRACE(s.shootType);
    vars.SetInt("trackmode", 7, 2);
    frontend::ShowPageNow("ShootTraining");
    rig.Choose({{"Sex5", s.sex}});
    TrainingClick(&rig.Element("Sex5"));
    rig.Choose({{"Weather5", 0}, {"ShootType1", s.shootType}, {"InitCondition2", s.condition},
                {"ArmsCondition1", s.arms}, {"Difficulty5", 1}, {"Athlets5", s.athlete}});
    TrainingClick(&rig.Element("Start5"));
    N_GameTraining* game = Training(rig);
    ASSERT_NE(game, nullptr);
    const GameData& d = *game->Description();
    EXPECT_EQ(d.Discipline, DisciplineCode::kShootingTraining);
    EXPECT_EQ(d.StartList[0].AthleteIndex, s.athlete);
    EXPECT_EQ(d.Sex, s.sex);
    EXPECT_EQ(d.Laps, 0);
    EXPECT_EQ(d.SnowQuality, 1);
    EXPECT_EQ(d.ArcadeLevels, 0);
    EXPECT_EQ(d.Difficulty, 1);
    EXPECT_EQ(d.SteadyAim, s.steady);
    EXPECT_FLOAT_EQ(d.TrainingScale1, (s.condition + 1) * 0.1f);
    EXPECT_FLOAT_EQ(d.TrainingScale2, (s.arms + 1) * 0.1f);
    EXPECT_GE(d.Track, 0);
    EXPECT_LE(d.Track, 9);
    EXPECT_EQ(rig.World().CurrentMapName(), vars.GetString("mapname"));
    EXPECT_EQ(vars.GetInt("viewmode"), 2);
    EXPECT_EQ(vars.GetInt("gamemode"), 3);
    EXPECT_EQ(vars.GetInt("discipline"), DisciplineCode::kShootingTraining);
    EXPECT_EQ(vars.GetInt("trackmode"), 7) << "left as it was";
    EXPECT_FALSE(game->Paused());
    const N_AthletMng& athletes = rig.World().AthletMng();
    const N_AthletProfile* record = s.sex == 0 ? athletes.GetMale(s.athlete) : athletes.GetFemale(s.athlete);
    EXPECT_EQ(rig.Caption("Name1"), record->AthletName);
    EXPECT_EQ(rig.Element("Natn1").GetShaderName(), record->Nationality);
  }
  // Without an athlete row nothing starts (the shooting page would name nobody).
  N_Game* before = rig.World().Game();
  frontend::ShowPageNow("ShootTraining");
  rig.ElementAs<N_GuiTable>("Athlets5").Clear();
  TrainingClick(&rig.Element("Start5"));
  EXPECT_EQ(rig.World().Game(), before);
  EXPECT_NE(rig.NewLog().find("no athlete is selected"), std::string::npos);
}

TEST(TrainingSetup, TheResultLeadsBackToThePageOfItsTraining) {
  SoloModesRig rig;
  struct Case {
    int discipline;  ///< 0: no result under the handle
    const char* page;
  };
  for (const Case& c : {Case{12, "RunTraining"}, Case{13, "ShootTraining"}, Case{0, "ShootTraining"}}) {
    std::int32_t handle = 99999;
    if (c.discipline) {
      auto result = std::make_unique<ExportData>();
      result->Discipline = c.discipline;
      result->LapTimes = {10.0f, 11.0f};
      handle = StoreFinishedResult(std::move(result));
    }
    frontend::HidePageNow(c.page);
    rig.ClickResult(3, handle);
    EXPECT_TRUE(rig.PageVisible(c.page));
    EXPECT_EQ(GetFinishedResult(handle), nullptr);
  }
}

}  // namespace

// The athlete list rows, the start-list click and the loading page's reset over the
// sample pages.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/AthleteField.h"
#include "frontend/StartPages.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

/// A game that notes the paused values it is given.
class PausedGame final : public N_Game {
 public:
  explicit PausedGame(std::vector<int>& paused) : m_paused(paused) {}
  void Load() override {}
  void Init() override {}
  void Update(float) override {}
  void Render(float) override {}
  std::unique_ptr<ExportData> PollResult() override { return nullptr; }
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override {
    m_paused.push_back(paused);
    return paused;
  }
  bool GetAthleteView(std::int32_t, const float**, N_Vector3*) override { return false; }

 private:
  std::vector<int>& m_paused;
};

TEST(FrontendAthleteList, OneRowPerAthleteWithTheNameInOneCell) {
  test::RacePagesRig rig;
  rig.World().GuiMng().ParseGuiFile(NAVO_FRONTEND_TEST_PAGES "/setup.gui");
  N_AthletProfile& first = *rig.World().AthletMng().GetMale(0);
  first.AthletName = "Ana \"Speedy\" Kel";
  float value = 1.0f;  // the attributes in the order of the row's columns
  for (float N_AthletProfile::*a : {&N_AthletProfile::OptPulse, &N_AthletProfile::MaxCondition,
                                    &N_AthletProfile::MaxPower, &N_AthletProfile::Concetration,
                                    &N_AthletProfile::Gameness, &N_AthletProfile::Coolness,
                                    &N_AthletProfile::ShootTechnic, &N_AthletProfile::RunTechnic}) {
    first.*a = value++;
  }
  first.CurveTechnic = 50.0f;
  FillAthleteList("Athlets1", 0);
  auto rows = rig.Rows("Athlets1");
  ASSERT_EQ(rows.size(), rig.World().AthletMng().GetMaleCount());
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Ana 'Speedy' Kel", first.Nationality, "1.0", "2.0", "3.0", "4.0",
                                               "5.0", "6.0", "7.0", "8.0", "50.0"}));
  EXPECT_EQ(first.AthletName, "Ana \"Speedy\" Kel") << "the record keeps the name as typed";

  // Another sex empties the table first; a missing table changes nothing.
  FillAthleteList("Athlets1", 1);
  rows = rig.Rows("Athlets1");
  ASSERT_EQ(rows.size(), rig.World().AthletMng().GetFemaleCount());
  EXPECT_EQ(rows[0][0], rig.World().AthletMng().GetFemale(0)->AthletName);
  FillAthleteList("NoSuchTable", 0);
}

TEST(FrontendStartPages, StartListClickClosesPointsTheCameraAndStartsTheGame) {
  test::RacePagesRig rig;
  struct Case {
    int discipline;
    bool game;
    int cameraMode;  // after the click, from 0
  };
  for (const Case& c : {Case{1, true, 3}, Case{2, true, 3}, Case{3, true, 2}, Case{4, true, 1}, Case{12, true, 0},
                        Case{4, false, 0}}) {
    SCOPED_TRACE(testing::Message() << "discipline " << c.discipline << (c.game ? "" : " without a game"));
    std::vector<int> paused;
    rig.World().SetGame(c.game ? std::make_unique<PausedGame>(paused) : nullptr);
    rig.World().CameraMng().SetRaceCameraMode(0);
    g_varMng->SetInt("discipline", c.discipline, 2);
    rig.World().GuiMng().GetPage("StartList")->ShowImmediate();
    StartListClick(&rig.Element("StartListCatcher"));
    EXPECT_EQ(rig.World().CameraMng().RaceController().Mode(), c.cameraMode);
    EXPECT_EQ(paused, c.game ? std::vector<int>{0} : std::vector<int>{});
    EXPECT_TRUE(rig.PageVisible("StartList")) << "a fade, not a hide";
    rig.Frames(0.5);
    EXPECT_FALSE(rig.PageVisible("StartList"));
  }
  rig.World().SetGame(nullptr);
}

TEST(FrontendStartPages, ShowingLoadingEmptiesItsBar) {
  test::RacePagesRig rig;
  auto& bar = rig.ElementAs<N_GuiProgressBar>("Loading");
  bar.SetValue(60.0f);
  rig.World().GuiMng().GetPage("Loading")->ShowImmediate();  // through the script's onshow
  EXPECT_EQ(bar.GetValue(), 0.0f);
  EXPECT_EQ(rig.NewLog().find("not found"), std::string::npos);
}

}  // namespace

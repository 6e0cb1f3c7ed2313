// The click on the final-result page: the sprint run for a pursuit starts the pursuit
// and the pursuit's click records both times; a pursuit that cannot start records
// nothing; the menu reset; a "gamemode" without a case goes to the main menu; a stale
// "egd" skips the deletes. Over the stand-in set-up pages of the race tests.
#include "frontend/FinalResultPage.h"

#include "gui/GuiPage.h"
#include "race/GameArcade.h"
#include "race/PursuitStart.h"
#include "race/TopTimeTables.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleShader.h"
#include "sound/SoundShader.h"
#include "tests/race/SetupPagesRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using test::SetupPagesRig;

struct ModeCase {
  int gameMode;
  const char* level;
  const char* discipline;
  const char* sex;
  const char* difficulty;
  const char* athletes;
  const char* nameBox;
  const char* setupPage;
  const char* file;
};
const ModeCase kModes[] = {
    {0, "Level1", "Discipline1", "Sex1", "Difficulty1", "Athlets1", "PlayerName1", "Arcade", "arcade.hs"},
    {1, "Level3", "Discipline3", "Sex3", "Difficulty3", "Athlets3", "PlayerName3", "SingleRace", "single_race.hs"},
};

void PrintTo(const ModeCase& mode, std::ostream* out) { *out << mode.setupPage; }

/// The top-time rows of a block of the file.
template <class Table>
std::vector<std::pair<std::string, float>> Block(std::int64_t block) {
  Table table;
  table.Load();
  std::vector<std::pair<std::string, float>> rows;
  for (std::size_t slot = 0; slot < Table::kRowsPerBlock; ++slot) {
    const N_TopTimeRow& row = table.At(std::size_t(block), slot);
    if (!row.Empty()) rows.emplace_back(row.PlayerName, row.Time);
  }
  return rows;
}

void Click(SetupPagesRig& r, int gameMode, int discipline, std::int32_t handle) {
  r.Vars().SetInt("gamemode", gameMode, 2);
  r.Vars().SetInt("discipline", discipline, 2);
  r.Vars().SetInt("egd", handle, 2);
  r.World().GuiMng().GetPage("FinalResult")->ShowImmediate();
  FinalResultClick(nullptr);
}

// Each case makes its own game root: one process each.
class FinalResultPursuit : public testing::TestWithParam<ModeCase> {};

TEST_P(FinalResultPursuit, FollowsItsSprintAndIsRecordedWithIt) {
  const ModeCase& mode = GetParam();
  {
    SetupPagesRig r;
    r.Choose({{mode.level, 2}, {mode.discipline, 1}, {mode.sex, 0}, {mode.difficulty, 1}, {mode.athletes, 1}});
    r.TypeName(mode.nameBox, "Pursuer");
    r.World().GuiMng().GetPage(mode.setupPage)->Hide();

    // The sprint's click starts the pursuit and records nothing.
    const std::int32_t sprint = SetupPagesRig::Keep({SetupPagesRig::Row(0, 880.0f), SetupPagesRig::Row(1, 900.0f)});
    Click(r, mode.gameMode, 4, sprint);
    EXPECT_NE(dynamic_cast<N_GameArcade*>(r.World().Game()), nullptr);
    EXPECT_TRUE(r.PageVisible("StartList"));
    EXPECT_FALSE(r.PageVisible("FinalResult"));
    EXPECT_FALSE(r.PageVisible(mode.setupPage));
    EXPECT_EQ(GetFinishedResult(sprint), nullptr);
    EXPECT_EQ(r.TableFile(mode.file), "");

    // The pursuit's click: its time plus the sprint's, back to the set-up page.
    const std::int32_t pursuit = SetupPagesRig::Keep({SetupPagesRig::Row(1, 1500.0f), SetupPagesRig::Row(0, 1510.0f)});
    Click(r, mode.gameMode, 3, pursuit);
    EXPECT_TRUE(r.PageVisible(mode.setupPage));
    EXPECT_EQ(GetFinishedResult(pursuit), nullptr);
    const std::int64_t block = mode.gameMode == 0 ? N_ArcadeHS::BlockIndex(2, 0, 1, 1)
                                                  : N_SingleRaceHS::BlockIndex(2, 0, 1, 1);
    const auto rows = mode.gameMode == 0 ? Block<N_ArcadeHS>(block) : Block<N_SingleRaceHS>(block);
    EXPECT_EQ(rows, (std::vector<std::pair<std::string, float>>{{"Pursuer", 2400.0f}}));
  }
}
INSTANTIATE_TEST_SUITE_P(Modes, FinalResultPursuit, testing::ValuesIn(kModes),
                         [](const auto& info) { return std::string(info.param.setupPage); });

TEST(FinalResultClick, APursuitThatCannotStartEntersNothingAndResetsTheMenu) {
  SetupPagesRig r;
  N_VarMng& vars = r.Vars();
  r.Choose({{"Discipline1", 1}, {"Athlets1", 1}});
  r.World().GuiMng().GetPage("Arcade")->Hide();
  N_ParticleShader flakes("snow");
  flakes.SetNumParticles(4);
  N_ParticleEmitter snow(flakes, r.World().ParticleMng());
  snow.Start();
  r.World().Level().snow = &snow;
  vars.SetInt("HmlaHackSet", 1, 2);
  vars.SetInt("detail", 1, 2);
  vars.SetInt("ShowAnimObj", 0, 2);
  r.sounds->switches.clear();

  // The player's sprint has no time above 0.0.
  const std::int32_t handle = SetupPagesRig::Keep({SetupPagesRig::Row(0, 880.0f), SetupPagesRig::Row(1, -1.0f)});
  Click(r, 0, 4, handle);
  r.World().Level().snow = nullptr;
  EXPECT_EQ(r.World().Game(), nullptr);
  EXPECT_FALSE(r.PageVisible("StartList"));
  EXPECT_TRUE(r.PageVisible("Arcade"));
  EXPECT_EQ(GetFinishedResult(handle), nullptr);
  EXPECT_EQ(r.TableFile("arcade.hs"), "");

  EXPECT_FALSE(snow.IsEmitting());
  EXPECT_EQ(std::vector<int>({vars.GetInt("HmlaHackSet"), vars.GetInt("detail"), vars.GetInt("ShowAnimObj")}),
            std::vector<int>({0, 0, 1}));
  EXPECT_EQ(r.sounds->switches, (std::vector<std::pair<int, bool>>{{SoundCategory::kCommentary, false},
                                                                   {SoundCategory::kEnvironment, false},
                                                                   {SoundCategory::kSki, false},
                                                                   {SoundCategory::kBody, false},
                                                                   {SoundCategory::kAudience, false},
                                                                   {SoundCategory::kMusic, true}}));
}

class FinalResultNoMode : public testing::TestWithParam<int> {};

TEST_P(FinalResultNoMode, ReleasesTheResultAndShowsTheMainMenu) {
  SetupPagesRig r;
  for (const char* page : {"Background", "MainMenu"}) r.World().GuiMng().GetPage(page)->Hide();
  const std::int32_t handle = SetupPagesRig::Keep({SetupPagesRig::Row(0, 880.0f)});
  Click(r, GetParam(), 4, handle);
  EXPECT_TRUE(r.PageVisible("Background"));
  EXPECT_TRUE(r.PageVisible("MainMenu"));
  EXPECT_FALSE(r.PageVisible("FinalResult"));
  EXPECT_EQ(GetFinishedResult(handle), nullptr);

  // A stale "egd" (released above) finds no result: the deletes are skipped.
  const std::int32_t other = SetupPagesRig::Keep({SetupPagesRig::Row(0, 700.0f)});
  Click(r, GetParam(), 4, handle);
  EXPECT_NE(GetFinishedResult(other), nullptr);
  EXPECT_TRUE(r.PageVisible("MainMenu"));
}
INSTANTIATE_TEST_SUITE_P(Modes, FinalResultNoMode, testing::Values(8, -1),
                         [](const auto& info) { return info.param < 0 ? std::string("Minus1") : "Mode8"; });

}  // namespace

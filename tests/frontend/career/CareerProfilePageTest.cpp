// The career profile and attribute pages by their callbacks over the sample page
// scripts: browsing the athletes, the start of a career with all or fewer points, the
// special name and its dress, the reset, the file values after leaving, the point
// budget of the bars and the view look.
#include "frontend/career/CareerAthleteView.h"
#include "frontend/HighScoreRows.h"
#include "frontend/career/CareerMainPage.h"
#include "frontend/career/CareerProfilePage.h"
#include "frontend/career/CareerState.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MainMenu.h"
#include "frontend/SetupPages.h"

#include "core/FormatString.h"
#include "core/Random.h"
#include "gui/GuiCheckBox.h"
#include "platform/win32/FileReplace.h"
#include "gui/GuiElement.h"
#include "gui/GuiModel.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/GameArcade.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/TexInfo.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using high_scores::GetI32;

const char* const kBars[] = {"HearthAtt1",        "ConditionAtt1",  "PowerAtt1",
                             "ConcentrationAtt1", "FightGhostAtt1", "CoolnessAtt1",
                             "RunTechAtt1",       "ShootTechAtt1",  "HandlTechAtt1"};

void Click(test::RacePagesRig& r, const char* name) { CareerProfileClick(&r.Element(name)); }

void SetBars(test::RacePagesRig& r, const int (&values)[9]) {
  for (int i = 0; i < 9; ++i) r.ElementAs<N_GuiScrollBar>(kBars[i]).SetValue(values[i]);
}

/// The set-up page on a fresh slot 0.
void OpenSetUp(test::RacePagesRig& r, std::uint32_t slot = 0) {
  r.rig.harness.dir.Write("data/tables/.keep", "");
  r.ElementAs<N_GuiTextSelector>("Profile1").SetSelected(slot);
  r.Element("Profile1").Show();
  r.Element("t88").Show();
  CareerProfileShow(nullptr);
}

TEST(CareerProfilePage, BrowsingWrapsAndTheSexStartsAtAthleteZero) {
  test::RacePagesRig r;
  OpenSetUp(r);
  const N_AthletMng& athletes = r.World().AthletMng();
  auto& model = r.ElementAs<N_GuiModel>("Model7");
  for (std::int32_t sex : {0, 1}) {
    SCOPED_TRACE(sex);
    const auto last = static_cast<std::int32_t>(sex == 0 ? athletes.GetMaleCount() : athletes.GetFemaleCount()) - 1;
    ASSERT_GT(last, 0);
    r.ElementAs<N_GuiTextSelector>("Sex11").SetSelected(static_cast<std::uint32_t>(sex));
    model.SetAthlete(0);
    Click(r, "AthletPrev");
    EXPECT_EQ(model.GetAthlete(), last);
    Click(r, "AthletNext");
    EXPECT_EQ(model.GetAthlete(), 0);
    model.SetAthlete(2);
    r.ElementAs<N_GuiTextSelector>("Sex11").SetSelected(static_cast<std::uint32_t>(1 - sex));
    Click(r, "Sex11");
    EXPECT_EQ(model.GetAthlete(), 0);
    EXPECT_EQ(model.GetSex(), 1 - sex);
  }
  career::DeleteProfile();
}

TEST(CareerProfilePage, ContinueStartsWithAllPointsAndAsksWithFewer) {
  struct Case {
    int bars[9];
    const char* name;
    std::int32_t sex, athlete, difficulty;
    bool asks;
    std::int32_t account;  ///< after the start
  };
  const Case cases[] = {
      {{140, 40, 40, 80, 70, 70, 100, 60, 60}, "Skier", 1, 2, 1, false, 1000},
      {{140, 40, 40, 80, 70, 70, 100, 60, 59}, "Skier", 0, 3, 0, true, 1000},
      {{100, 60, 60, 80, 70, 70, 100, 60, 60}, "PeLiMoRa", 0, 0, 0, false, 100000},
      {{100, 60, 60, 80, 70, 70, 100, 60, 60}, "xpelimora", 1, 1, 1, false, 1000},
  };
  // One game root a process: each case on a slot of its own.
  test::RacePagesRig r;
  const N_AthletMng& athletes = r.World().AthletMng();
  std::uint32_t slot = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenSetUp(r, slot);
    career::ShowCareerAthlete(c.sex, c.athlete);
    const std::string nation = athletes.GetBySex(c.sex, static_cast<std::size_t>(c.athlete))->Nationality;
    r.ElementAs<N_GuiTextSelector>("Difficulty6").SetSelected(static_cast<std::uint32_t>(c.difficulty));
    SetBars(r, c.bars);
    r.Element("PlayerName5").SetCaption(c.name);
    Click(r, "Continue1");
    N_CareerProfile* p = career::Profile();
    ASSERT_NE(p, nullptr);
    // The page's choices are in the profile whether or not the question comes: the
    // ceilings and techniques from the bars, each body value drawn between 40 and its
    // ceiling. The career page, once shown, raises the special name's values to 100.
    const bool special = career::IsSpecialName(c.name) && r.PageVisible("Career");
    EXPECT_EQ(std::string(p->name), c.name);
    EXPECT_EQ(std::string(p->nation), nation);
    EXPECT_EQ(p->sex, c.sex);
    EXPECT_EQ(p->athleteIndex, c.athlete);
    EXPECT_EQ(p->difficulty, c.difficulty);
    const float fromBars[] = {p->maxHearth,   p->maxCondition, p->maxPower,  p->maxConcentration, p->maxFightGhost,
                              p->maxCoolness, p->runTech,      p->shootTech, p->handlTech};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(fromBars[i], special ? 100.0f : static_cast<float>(c.bars[i])) << kBars[i];
    const std::pair<float, float> body[] = {{p->hearth, p->maxHearth},
                                            {p->condition, p->maxCondition},
                                            {p->power, p->maxPower},
                                            {p->concentration, p->maxConcentration},
                                            {p->fightGhost, p->maxFightGhost},
                                            {p->coolness, p->maxCoolness}};
    for (const auto& [value, ceiling] : body) {
      EXPECT_GE(value, 40.0f);
      EXPECT_LE(value, ceiling);
    }
    // The new week may offer a sponsor event in the same box: only the text tells.
    EXPECT_EQ(r.PageVisible("MessageYesNo") && r.Caption("Label1") == r.strings.Find("#str350"), c.asks);
    if (c.asks) {
      EXPECT_EQ(p->started, 0);
      EXPECT_EQ(r.Caption("Label1"), r.strings.Find("#str350"));
      cbUnusedPoints(&r.Element("Yes1"));
    }
    EXPECT_EQ(p->started, 1);
    EXPECT_EQ(p->account, c.account);
    EXPECT_FALSE(r.PageVisible("CareerProfile"));
    EXPECT_TRUE(r.PageVisible("Career"));
    EXPECT_TRUE(r.ElementAs<N_GuiCheckBox>("Monday").IsChecked());
    EXPECT_FALSE(r.rig.harness.dir.Read("data/tables/profile" + std::to_string(slot++) + ".dat").empty());
    // The roster athlete of the page's sex and index races as the career's, and the
    // career page's figure shows it.
    const N_AthletProfile* mine = athletes.GetBySex(c.sex, static_cast<std::size_t>(c.athlete));
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->AthletName, c.name);
    EXPECT_EQ(mine->RunTechnic, p->runTech);
    if (!special) {
      const float carried[] = {mine->MaxPower, mine->OptPulse,     mine->MaxCondition, mine->Concetration,
                               mine->Coolness, mine->Gameness,     mine->ShootTechnic, mine->CurveTechnic};
      const float expected[] = {p->power,    p->hearth,     p->condition, p->concentration,
                                p->coolness, p->fightGhost, p->shootTech, p->handlTech};
      for (int i = 0; i < 8; ++i) EXPECT_EQ(carried[i], expected[i]) << i;
    }
    EXPECT_EQ(r.ElementAs<N_GuiModel>("Model8").GetAthlete(), c.athlete);
    EXPECT_EQ(r.ElementAs<N_GuiModel>("Model8").GetSex(), c.sex);
    r.Element("Label1").SetCaption("");
    frontend::HidePageNow("MessageYesNo");
    career::DeleteProfile();
  }
}

TEST(CareerProfilePage, ResetAsksOnlyForAStartedCareer) {
  test::RacePagesRig r;
  OpenSetUp(r);
  N_CareerProfile* p = career::Profile();
  ASSERT_NE(p, nullptr);
  p->account = 5;
  Click(r, "Reset1");
  EXPECT_FALSE(r.PageVisible("MessageYesNo"));
  EXPECT_EQ(p->account, 1000);

  p->started = 1;
  p->account = 5;
  Click(r, "Reset1");
  EXPECT_TRUE(r.PageVisible("MessageYesNo"));
  EXPECT_EQ(r.Caption("Label1"), r.strings.Find("#str318"));
  cbResetProfile(&r.Element("No1"));
  EXPECT_EQ(p->started, 1);
  Click(r, "Reset1");
  cbResetProfile(&r.Element("Yes1"));
  EXPECT_EQ(p->started, 0);
  EXPECT_EQ(p->account, 1000);
  career::DeleteProfile();
}

/// The profile page's rig with what an arcade race's start reads; the blocking fade's
/// frames move the clock.
struct ArcadeRig : test::RacePagesRig {
  ArcadeRig() {
    const test::TempDir& dir = rig.harness.dir;
    test::CopyCoursesFromGameRoot(dir);
    test::CopyFigureData(dir);
    for (const char* part : {"data/textures", "data/anim/sipka", "data/anim/starter.mesh", "data/anim/starter.anim",
                             "data/anim/starter_s.anim", "data/anim/puska", "data/anim/terciky"}) {
      test::CopyFromGameRoot(dir, part);
    }
    World().ParticleMng().LoadScripts();
    frontend::SetFrameObserver([this](const frontend::FrameEvent& event) {
      if (!event.drawn) clock.counter += 250000;
    });
  }
  ~ArcadeRig() { frontend::SetFrameObserver({}); }
};

/// The nine attributes of every athlete, in file order.
std::vector<std::vector<float>> AllAttributes(const N_AthletMng& athletes) {
  std::vector<std::vector<float>> all;
  for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) {
    std::vector<float>& values = all.emplace_back();
    for (float N_AthletProfile::*key : N_AthletProfile::kAttributes) values.push_back(athletes.Athlete(i)->*key);
  }
  return all;
}

/// What the racers of an arcade race with man `player` took from their athletes, by
/// athlete.
std::map<std::int32_t, std::vector<float>> ArcadeRacers(ArcadeRig& r, std::int32_t player) {
  Srand(5);  // the same field each time
  frontend::ShowPageNow("Arcade");
  r.ElementAs<N_GuiTable>("Athlets1").SelectRow(player);
  ArcadeClick(&r.Element("Start1"));
  std::map<std::int32_t, std::vector<float>> racers;
  const auto* game = dynamic_cast<N_GameArcade*>(r.World().Game());
  if (!game || !game->RaceSim()) {
    ADD_FAILURE() << "no arcade race";
    return racers;
  }
  for (std::size_t i = 0; i < game->RaceSim()->RacerCount(); ++i) {
    const N_Racer& racer = game->RaceSim()->Racer(i);
    racers[racer.AthleteIndex] = {racer.RunSkill,      racer.ShootSkill, racer.CurveSkill, racer.Coolness,
                                  racer.Concentration, racer.PulseRise,  racer.PulseFall,  racer.GamenessBoost};
  }
  frontend::HidePageNow("StartList");
  r.Frames(1.0);
  return racers;
}

// Whatever a set-up tried ("No1" to the question of unused points, a second attempt)
// or a career did, leaving it ("Back22" before the start, "Back21" after it) gives the
// athletes their file values back, and an arcade race races with them.
TEST(CareerProfilePage, LeavingTheSetUpOrTheCareerRestoresTheFileValues) {
  ArcadeRig r;
  N_AthletMng& athletes = r.World().AthletMng();
  const auto fileValues = AllAttributes(athletes);
  const auto fileRace = ArcadeRacers(r, 0);
  ASSERT_GT(fileRace.size(), 1u);
  for (const bool start : {false, true}) {
    SCOPED_TRACE(start ? "Back21" : "Back22");
    OpenSetUp(r, start ? 1 : 0);
    SetBars(r, {140, 40, 40, 80, 70, 70, 100, 60, 59});
    Click(r, "Continue1");
    cbUnusedPoints(&r.Element("No1"));
    EXPECT_NE(AllAttributes(athletes), fileValues) << "the career's athletes";
    if (start) SetBars(r, {140, 40, 40, 80, 70, 70, 100, 60, 60});
    Click(r, "Continue1");
    if (start) {
      ASSERT_TRUE(r.PageVisible("Career"));
      frontend::HidePageNow("MessageYesNo");  // the first week's sponsor offer, if any
      CareerClick(&r.Element("Back21"));
    } else {
      cbUnusedPoints(&r.Element("No1"));
      Click(r, "Back22");
    }
    EXPECT_EQ(career::Profile(), nullptr);
    EXPECT_TRUE(r.PageVisible("SinglePlayer"));
    EXPECT_EQ(AllAttributes(athletes), fileValues);
    EXPECT_EQ(ArcadeRacers(r, 0), fileRace);
  }
  CareerProfileShow(nullptr);
  EXPECT_NE(career::Profile(), nullptr);
  career::DeleteProfile();
}

// A save that fails (a full disk) is told in the OK box and keeps everything: "Back21"
// used to drop the week's plan from memory with the failed save, and the roster's
// career values with it. The next save writes it all. The program's end on the career
// page saves it the same way; in the middle of a race week's races it saves nothing.
TEST(CareerProfilePage, AFailedSaveKeepsTheCareerForTheNextOne) {
  test::RacePagesRig r;
  OpenSetUp(r, 2);
  SetBars(r, {140, 40, 40, 80, 70, 70, 100, 60, 60});
  Click(r, "Continue1");
  frontend::HidePageNow("MessageYesNo");
  N_CareerProfile* p = career::Profile();
  ASSERT_TRUE(p && p->started);
  const std::string saved = r.rig.harness.dir.Read("data/tables/profile2.dat");
  career::Week().days[0] = {*career::ScheduleItem(7)};
  p->account -= 150;
  const N_AthletMng& athletes = r.World().AthletMng();
  ASSERT_FALSE(athletes.HoldsFileValues());

  platform::SetReplaceFailureHook([](platform::ReplaceStep step) { return step == platform::ReplaceStep::Write; });
  CareerClick(&r.Element("Back21"));
  platform::SetReplaceFailureHook({});
  EXPECT_TRUE(r.PageVisible("MessageOK"));
  EXPECT_NE(r.Caption("Label2").find("profile2.dat could not be saved (cannot write"), std::string::npos);
  EXPECT_EQ(career::Profile(), p);
  EXPECT_TRUE(r.PageVisible("Career"));
  EXPECT_EQ(career::Week().days[0].size(), 1u);
  EXPECT_FALSE(athletes.HoldsFileValues());
  EXPECT_EQ(r.rig.harness.dir.Read("data/tables/profile2.dat"), saved);

  // The end of the program saves the plan as "Back21" would; during the week's races
  // (its plan played out, its first race not booked) it leaves the last save.
  frontend::HidePageNow("MessageOK");
  career::Week().weekPlayedOut = true;
  career::SaveCareerAtExit();
  EXPECT_EQ(r.rig.harness.dir.Read("data/tables/profile2.dat"), saved);
  career::Week().weekPlayedOut = false;
  career::SaveCareerAtExit();
  const std::string planned = r.rig.harness.dir.Read("data/tables/profile2.dat");
  EXPECT_EQ(GetI32(&planned[4 + 376]), 7) << "Monday's first item";
  EXPECT_EQ(GetI32(&planned[4 + 116]), p->account);

  CareerClick(&r.Element("Back21"));
  EXPECT_EQ(career::Profile(), nullptr);
  EXPECT_TRUE(athletes.HoldsFileValues());
  EXPECT_EQ(r.rig.harness.dir.Read("data/tables/profile2").size(), athletes.AthleteCount() * 36);

  // The started slot browsed on the profile page, the program ends: its file stays as it
  // is (it was saved again, which turned an event number without its booked item, 4,
  // into -1).
  std::string browsed = r.rig.harness.dir.Read("data/tables/profile2.dat");
  high_scores::PutI32(&browsed[4 + 456], 4);
  high_scores::PutI32(&browsed[4 + 128], 3);  // three races run, with no tables beside
  r.rig.harness.dir.Write("data/tables/profile2.dat", browsed);
  frontend::ShowPageNow("CareerProfile");
  OpenSetUp(r, 2);
  ASSERT_TRUE(career::Profile() && career::Profile()->started);
  career::SaveCareerAtExit();
  EXPECT_EQ(r.rig.harness.dir.Read("data/tables/profile2.dat"), browsed);

  // The roster of the started career gone, its rivals start anew: said, naming the file.
  std::filesystem::remove(r.rig.harness.dir.Path() + "/data/tables/profile2");
  r.NewLog();
  Click(r, "Continue1");
  EXPECT_TRUE(r.PageVisible("Career"));
  const std::string log = r.NewLog();
  EXPECT_NE(log.find("!!! data\\tables\\profile2, the roster of a started career, is missing"), std::string::npos);
  EXPECT_NE(log.find("!!! data\\tables\\career2.hs, the tables of a started career, is missing"), std::string::npos);
  CareerClick(&r.Element("Back21"));
}

// "Details1" on the career page shows the two pages in their view look; "Back22" goes
// back to the career with the profile kept, and the next entry from the menu finds the
// set-up look again.
TEST(CareerProfilePage, DetailsShowTheViewLookAndTheMenuTheSetUpLookAgain) {
  test::RacePagesRig r;
  const char* const setUpLook[] = {"t88",      "Profile1",  "AthletPrev", "AthletNext", "Reset1",
                                   "Continue1", "TotalLbl1", "TotalLbl2",  "TotalLbl3"};
  OpenSetUp(r);
  SetBars(r, {140, 40, 40, 80, 70, 70, 100, 60, 60});
  Click(r, "Continue1");
  frontend::HidePageNow("MessageYesNo");
  N_CareerProfile* p = career::Profile();
  ASSERT_TRUE(p && p->started);
  CareerClick(&r.Element("Details1"));
  EXPECT_FALSE(r.PageVisible("Career"));
  EXPECT_TRUE(r.PageVisible("CareerProfile"));
  EXPECT_TRUE(r.PageVisible("CareerAttributes"));
  EXPECT_EQ(career::Profile(), p);
  EXPECT_EQ(r.Caption("Caption23"), r.strings.Find("#str229"));
  for (const char* name : setUpLook) EXPECT_FALSE(r.Element(name).IsVisible()) << name;
  const std::pair<float, float> shown[] = {
      {p->hearth, p->maxHearth},         {p->condition, p->maxCondition},         {p->power, p->maxPower},
      {p->concentration, p->maxConcentration}, {p->fightGhost, p->maxFightGhost}, {p->coolness, p->maxCoolness},
      {p->runTech, 100.0f},              {p->shootTech, 100.0f},                  {p->handlTech, 100.0f}};
  for (int i = 0; i < 9; ++i) {
    std::string text = kBars[i];
    text.replace(text.size() - 4, 4, "Text1");
    EXPECT_FALSE(r.Element(kBars[i]).IsEnabled()) << kBars[i];
    EXPECT_EQ(r.Caption(text.c_str()), FormatString("%d / %d", static_cast<int>(std::lround(shown[i].first)),
                                                    static_cast<int>(std::lround(shown[i].second))));
  }

  Click(r, "Back22");
  EXPECT_FALSE(r.PageVisible("CareerProfile"));
  EXPECT_TRUE(r.PageVisible("Career"));
  EXPECT_EQ(career::Profile(), p);
  EXPECT_EQ(p->started, 1);
  CareerClick(&r.Element("Back21"));
  ASSERT_TRUE(r.PageVisible("SinglePlayer"));
  r.ElementAs<N_GuiTextSelector>("Profile1").SetSelected(1);  // a slot that never started: nothing locked
  SinglePlayerClick(&r.Element("Career"));
  EXPECT_TRUE(r.PageVisible("CareerProfile"));
  EXPECT_NE(career::Profile(), nullptr);
  EXPECT_EQ(r.Caption("Caption23"), r.strings.Find("#str200"));
  for (const char* name : setUpLook) EXPECT_TRUE(r.Element(name).IsVisible()) << name;
  career::DeleteProfile();
}

TEST(CareerAttributesPage, BudgetOfTheGroupsAndTheViewLook) {
  test::RacePagesRig r;
  OpenSetUp(r);
  struct Case {
    const char* bar;
    std::int32_t tag, value, after;
    const char* total;
    const char* left;
  };
  const Case cases[] = {
      {"HearthAtt1", 0, 150, 140, "TotalLbl1", "0"},
      {"ConditionAtt1", 0, 20, 40, "TotalLbl1", "100"},
      {"RunTechAtt1", 5, 100, 100, "TotalLbl3", "40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bar);
    SetBars(r, {40, 40, 40, 40, 40, 40, 40, 40, 40});
    auto& bar = r.ElementAs<N_GuiScrollBar>(c.bar);
    bar.SetTag(c.tag);
    bar.SetValue(c.value);
    CareerAttributesDown(&bar);
    EXPECT_EQ(bar.GetValue(), c.after);
    EXPECT_EQ(r.Caption(c.total), c.left);
  }

  N_CareerProfile* p = career::Profile();
  p->power = 57.6f;
  p->maxPower = 80.2f;
  p->shootTech = 66.6f;
  r.Element("Profile1").Hide();
  CareerAttributesShow(nullptr);
  EXPECT_EQ(r.ElementAs<N_GuiScrollBar>("PowerAtt1").GetValue(), 57);
  EXPECT_FALSE(r.Element("PowerAtt1").IsEnabled());
  EXPECT_EQ(r.Caption("PowerText1"), "58 / 80");
  EXPECT_EQ(r.Caption("ShootTechText1"), "67 / 100");
  career::DeleteProfile();
}

}  // namespace

namespace {

// The special name raises the values whatever the sex; the women's dresses change only
// for a female career and only when the special dress file is there.
TEST(CareerSpecialName, RaisesEverythingToAHundredAndDressesTheWomenWithTheFile) {
  test::RacePagesRig r;
  // The athletes' gear as the world's start loads it, without the special dress first.
  const test::TempDir& dir = r.rig.harness.dir;
  test::CopyFromGameRoot(dir, "data/textures/lyziari");
  std::filesystem::remove(dir.Path() + "/data/textures/lyziari/dress00.dds");
  N_AthletMng& athletes = r.World().AthletMng();
  athletes.LoadTextures();
  r.World().ShaderMng().LoadShaders();
  r.textures.PurgeTextures();
  auto dresses = [&] {
    std::vector<const TexInfo*> firstTextures;
    for (std::size_t i = 0; i < athletes.GetFemaleCount(); ++i) {
      const N_Shader* shader = r.World().ShaderMng().GetShader(athletes.GetFemale(i)->DressShader);
      const N_ShaderStage* stage = shader ? shader->Stage(0) : nullptr;
      firstTextures.push_back(stage && !stage->textures.empty() ? stage->textures[0] : nullptr);
    }
    return firstTextures;
  };
  const std::vector<const TexInfo*> own = dresses();
  ASSERT_FALSE(own.empty());
  for (const TexInfo* texture : own) ASSERT_NE(texture, nullptr);

  struct Case {
    std::int32_t sex;
    bool file;
  };
  for (const Case& c : {Case{1, false}, Case{0, true}, Case{1, true}}) {
    SCOPED_TRACE(c.sex * 10 + c.file);
    if (c.file) test::CopyFromGameRoot(dir, "data/textures/lyziari/dress00.dds");
    N_CareerProfile& p = career::NewProfile();
    p.sex = c.sex;
    p.hearth = 41.0f;
    p.maxCoolness = 55.0f;
    p.shootTech = 60.0f;
    p.freshness = 12.0f;
    career::ApplySpecialName();
    for (float v : {p.hearth, p.maxCoolness, p.shootTech, p.freshness, p.maxHearth, p.handlTech})
      EXPECT_EQ(v, 100.0f);
    const TexInfo* special = r.textures.FindTexture("textures\\lyziari\\dress00");
    if (c.sex == 1 && c.file) {
      ASSERT_NE(special, nullptr);
      EXPECT_EQ(dresses(), std::vector<const TexInfo*>(own.size(), special));
    } else {
      EXPECT_EQ(dresses(), own);
    }
  }
  EXPECT_TRUE(career::IsSpecialName("PELIMORA"));
  EXPECT_FALSE(career::IsSpecialName("pelimora "));
  career::DeleteProfile();
}

}  // namespace

// What the career model shows on its pages: the week header of "Career" (picture,
// title, extra-race week, the days a week blocks), the day selection, the athlete on
// "CareerProfile", the attribute points and the week's change animation on the
// 2D-only frame with the test's clock. Over the race pages' test world with the
// sample page scripts.
#include "frontend/FrontendFrame.h"
#include "frontend/career/CareerAthleteView.h"
#include "frontend/career/CareerAttributeView.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerWeekHeader.h"

#include "core/FormatString.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiElement.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTextSelector.h"
#include "gui/GuiModel.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};

N_CareerProfile& Fresh() {
  career::Week() = CareerWeekState{};
  N_CareerProfile& p = career::NewProfile();
  for (int i = 0; i < 10; ++i) p.trackOrder[i] = 9 - i;
  p.extraRaces[0] = 2;
  p.extraRaces[1] = 5;
  return p;
}

std::vector<bool> DaysEnabled(test::RacePagesRig& r) {
  std::vector<bool> enabled;
  for (const char* day : kDays) enabled.push_back(r.Element(day).IsEnabled());
  return enabled;
}

TEST(CareerWeekHeader, PictureTitleExtraRaceAndBlockedDays) {
  test::RacePagesRig r;
  const std::string title = r.strings.Find("#str264");
  const std::string extra = ", " + r.strings.Find("#str012");
  struct Case {
    std::int32_t season, raceIndex, stage, weekChoice;
    const char* picture;
    std::string suffix;
    bool flag;
    std::vector<bool> enabled;  ///< Monday to Friday afterwards, from all enabled
  };
  const Case cases[] = {
      {3, 7, 0, -1, "textures\\menu\\trat03s", "", false, {true, true, true, true, true}},
      {0, 0, 0, -1, "textures\\menu\\trat10s", "", false, {true, true, true, true, true}},
      {9, 5, 0, -1, "textures\\menu\\trat05s", extra, true, {true, true, true, true, false}},
      {1, 2, 1, -1, "textures\\menu\\trat08s", extra, true, {true, true, true, true, false}},
      {2, 4, 0, 1, "textures\\menu\\trat06s", "", false, {false, false, false, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raceIndex);
    N_CareerProfile& p = Fresh();
    p.season = c.season;
    p.raceIndex = c.raceIndex;
    p.stage = c.stage;
    p.weekChoice = c.weekChoice;
    for (const char* day : kDays) r.Element(day).SetEnabled(true);
    r.Element("Friday").SetEnabled(c.stage == 0);  // the page disables the days while races run
    career::Week().extraRaceWeek = !c.flag;
    career::RefreshCareerWeekHeader();
    EXPECT_EQ(r.Element("Level6").GetShaderName(), c.picture);
    EXPECT_EQ(r.Caption("LevelText1"),
              FormatString(title.c_str(), c.season + 2005, c.raceIndex + 1, c.suffix.c_str()));
    EXPECT_EQ(career::Week().extraRaceWeek, c.flag);
    std::vector<bool> expected = c.enabled;
    if (c.stage != 0) expected[4] = false;
    EXPECT_EQ(DaysEnabled(r), expected);
  }
  career::DeleteProfile();
}

TEST(CareerWeekHeader, DaySelectionAndAccount) {
  test::RacePagesRig r;
  auto check = [&](const char* day, bool on) { r.ElementAs<N_GuiCheckBox>(day).SetChecked(on); };
  career::ResetWeekdaySelection();
  EXPECT_EQ(career::GetSelectedWeekday(), 0);
  for (const char* day : kDays) EXPECT_EQ(r.ElementAs<N_GuiCheckBox>(day).IsChecked(), day == kDays[0]) << day;
  check("Monday", false);
  EXPECT_EQ(career::GetSelectedWeekday(), -1);
  check("Friday", true);
  check("Wednesday", true);
  EXPECT_EQ(career::GetSelectedWeekday(), 2);

  Fresh().account = 4321;
  career::ShowAccount();
  EXPECT_EQ(r.Caption("Account1"), "4321 EUR");
  career::DeleteProfile();
}

TEST(CareerProfileView, AthleteAndTheLocksOfAStartedCareer) {
  test::RacePagesRig r;
  const N_AthletMng& athletes = r.World().AthletMng();
  struct Case {
    std::int32_t sex, index;
    bool started;
  };
  for (const Case& c : {Case{0, 3, false}, Case{1, 2, true}, Case{7, 4, false}}) {
    SCOPED_TRACE(c.sex);
    Fresh().started = c.started;
    career::ShowCareerAthlete(c.sex, c.index);
    const std::int32_t list = c.sex == 0 ? 0 : 1;
    const N_AthletProfile* athlete = athletes.GetBySex(list, static_cast<std::size_t>(c.index));
    ASSERT_NE(athlete, nullptr);
    EXPECT_EQ(r.ElementAs<N_GuiModel>("Model7").GetAthlete(), c.index);
    EXPECT_EQ(r.ElementAs<N_GuiModel>("Model7").GetSex(), list);
    EXPECT_EQ(r.ElementAs<N_GuiTextSelector>("Sex11").GetSelected(), static_cast<std::uint32_t>(list));
    EXPECT_EQ(r.Element("Natn3").GetShaderName(), athlete->Nationality);
    EXPECT_EQ(r.Caption("Height1"), FormatString("%.1f cm", double(athlete->Height)));
    EXPECT_EQ(r.Caption("Weight1"), FormatString("%.1f kg", double(athlete->Weight)));
    for (const char* locked : {"Sex11", "Difficulty6", "PlayerName5"})
      EXPECT_EQ(r.Element(locked).IsEnabled(), !c.started) << locked;
    for (const char* browse : {"AthletPrev", "AthletNext"}) EXPECT_EQ(r.Element(browse).IsVisible(), !c.started) << browse;
  }
  // An athlete the roster does not hold shows no measures and does not crash.
  r.NewLog();
  career::ShowCareerAthlete(0, 9999);
  EXPECT_NE(r.NewLog().find("no athlete 9999"), std::string::npos);
  career::DeleteProfile();
}

// The career athlete takes the place of the roster athlete of the profile's sex (any
// sex but 0 is the women's list): its name and each value on its own key.
TEST(CareerRoster, HandsTheAthleteToItsListByKey) {
  test::RacePagesRig r;
  N_AthletMng& athletes = r.World().AthletMng();
  for (std::int32_t sex : {0, 2}) {
    SCOPED_TRACE(sex);
    N_CareerProfile& p = Fresh();
    p.sex = sex;
    p.athleteIndex = 3;
    std::strcpy(p.name, "Kari Vell");
    float v = 60.0f;
    for (float* a : {&p.power, &p.hearth, &p.condition, &p.concentration, &p.coolness, &p.fightGhost, &p.shootTech,
                     &p.runTech, &p.handlTech})
      *a = v += 1.0f;
    const N_AthletProfile other = *athletes.GetBySex(sex == 0 ? 1 : 0, 3);
    career::HandAthleteToRoster(p);
    const N_AthletProfile& athlete = *athletes.GetBySex(sex == 0 ? 0 : 1, 3);
    EXPECT_EQ(athlete.AthletName, "Kari Vell");
    std::vector<float> keys;
    for (float N_AthletProfile::*key : N_AthletProfile::kAttributes) keys.push_back(athlete.*key);
    EXPECT_EQ(keys, (std::vector<float>{61, 62, 63, 64, 65, 66, 67, 68, 69}));  // the keys' order is power .. handling
    EXPECT_EQ(athletes.GetBySex(sex == 0 ? 1 : 0, 3)->AthletName, other.AthletName);
  }
  career::DeleteProfile();
}

TEST(CareerAttributePoints, BarsAndPointsLeft) {
  test::RacePagesRig r;
  const char* const bars[] = {"HearthAtt1",     "ConditionAtt1", "PowerAtt1",     "ConcentrationAtt1", "FightGhostAtt1",
                              "CoolnessAtt1",   "RunTechAtt1",   "ShootTechAtt1", "HandlTechAtt1"};
  Fresh();
  career::ShowCareerAttributePoints();
  for (const char* bar : bars) {
    EXPECT_EQ(r.ElementAs<N_GuiScrollBar>(bar).GetValue(), 40) << bar;
    EXPECT_TRUE(r.Element(bar).IsEnabled()) << bar;
  }
  for (const char* total : {"TotalLbl1", "TotalLbl2", "TotalLbl3"}) {
    EXPECT_EQ(r.Caption(total), "100") << total;
    EXPECT_TRUE(r.Element(total).IsVisible()) << total;
  }

  // The sum is cut to whole points after each bar; a started career locks the bars.
  N_CareerProfile& p = Fresh();
  p.maxHearth = 50.7f;
  p.maxCondition = 60.6f;
  p.maxPower = 40.9f;
  p.runTech = 140.0f;
  p.started = 1;
  career::ShowCareerAttributePoints();
  EXPECT_EQ(r.ElementAs<N_GuiScrollBar>("HearthAtt1").GetValue(), 50);
  EXPECT_EQ(r.Caption("TotalLbl1"), "70");
  EXPECT_EQ(r.Caption("TotalLbl3"), "0");
  for (const char* bar : bars) EXPECT_FALSE(r.Element(bar).IsEnabled()) << bar;
  for (const char* total : {"TotalLbl1", "TotalLbl2", "TotalLbl3"}) EXPECT_FALSE(r.Element(total).IsVisible()) << total;
  career::DeleteProfile();
}

/// Plays the changes on the 2D frame with the clock moving 1/64 s a frame; the values
/// each bar showed (in order, repeats left out) and the seconds the animation took.
constexpr double kFrame = 1.0 / 64;  // exact in binary: the waits end on the frame they should
struct Played {
  std::map<std::string, std::vector<float>> shown;
  double seconds = 0.0;
};
Played Play(test::RacePagesRig& r, const career::AttributeChanges& changes) {
  Played played;
  const char* const words[] = {"Hearth",   "Condition", "Power",     "Concentration", "FightGhost",
                               "Coolness", "RunTech",   "ShootTech", "HandlTech"};
  auto note = [&] {
    for (const char* word : words) {
      const std::string bar = std::string(word) + "Att3";
      std::vector<float>& values = played.shown[bar];
      const float now = r.ElementAs<N_GuiProgressBar>(bar.c_str()).GetValue();
      if (values.empty() || values.back() != now) values.push_back(now);
    }
  };
  frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
    if (!event.drawn) {
      r.clock.counter += 15625;
      played.seconds += kFrame;
    } else {
      note();
    }
  });
  career::ShowCareerAttributeChanges(changes);
  frontend::SetFrameObserver(nullptr);
  return played;
}

TEST(CareerAttributeChanges, StepsEachBarTowardItsNewValue) {
  test::RacePagesRig r;
  r.World().GuiMng().GetPage("Career")->ShowImmediate();
  N_CareerProfile& p = Fresh();
  p.maxPower = 100.0f;
  p.power = 50.0f;
  p.maxHearth = 100.0f;
  p.hearth = 60.0f;
  p.maxCoolness = 80.0f;
  p.coolness = 79.5f;
  p.runTech = 70.0f;
  p.shootTech = 45.0f;
  career::AttributeChanges changes{};
  changes[career::kChangePower] = 3.4f;
  changes[career::kChangeHearth] = 0.6f;
  changes[career::kChangeCoolness] = 5.0f;  // stops at its ceiling
  changes[career::kChangeRunTech] = -2.0f;
  changes[career::kChangeShootTech] = 2.0f;
  const Played played = Play(r, changes);
  EXPECT_EQ(played.shown.at("PowerAtt3"), (std::vector<float>{50, 51, 52, 53}));
  EXPECT_EQ(played.shown.at("HearthAtt3"), (std::vector<float>{60}));
  EXPECT_EQ(played.shown.at("CoolnessAtt3"), (std::vector<float>{79.5f}));
  EXPECT_EQ(played.shown.at("RunTechAtt3"), (std::vector<float>{70, 69, 68}));
  EXPECT_EQ(played.shown.at("ShootTechAtt3"), (std::vector<float>{45, 46, 47}));
  EXPECT_EQ(r.Caption("PowerText2"), "53 / 100");
  EXPECT_EQ(r.ElementAs<N_GuiProgressBar>("PowerAtt2").GetValue(), 100.0f);
  EXPECT_EQ(r.ElementAs<N_GuiProgressBar>("RunTechAtt2").GetValue(), 100.0f);
  // 2 s, seven steps of 0.025 s (two frames each), 1 s; the profile is left to the week's end.
  EXPECT_EQ(played.seconds, 3.0 + 7 * 2 * kFrame);
  EXPECT_EQ(p.power, 50.0f);
  EXPECT_TRUE(r.PageVisible("CareerAttributesInfo"));
  EXPECT_FALSE(r.PageVisible("Career"));
  career::DeleteProfile();
}

// Values above their ceiling (a technique set to 140 at the start, a body value over a
// lowered ceiling) start at the ceiling and end there: the animation always ends. A
// ceiling above the gauges' range (a career begun with 105) fills its gauges and draws
// no further: no gauge runs past its track.
TEST(CareerAttributeChanges, ValuesAboveTheirCeilingEnd) {
  test::RacePagesRig r;
  struct Case {
    const char* what;
    float N_CareerProfile::*value;
    float N_CareerProfile::*ceiling;
    std::size_t change;
    float start, top, delta;
    std::vector<float> shown;
  };
  const Case cases[] = {
      {"technique of 140, no change", &N_CareerProfile::runTech, nullptr, career::kChangeRunTech, 140, 100, 0, {100}},
      {"technique of 140, a gain", &N_CareerProfile::runTech, nullptr, career::kChangeRunTech, 140, 100, 3, {100}},
      {"heart over its ceiling", &N_CareerProfile::hearth, &N_CareerProfile::maxHearth, career::kChangeHearth, 120,
       100, 0, {100}},
      {"heart over, a loss", &N_CareerProfile::hearth, &N_CareerProfile::maxHearth, career::kChangeHearth, 120, 100,
       -22.5f, {100, 99, 98}},
      {"heart at a ceiling of 105", &N_CareerProfile::hearth, &N_CareerProfile::maxHearth, career::kChangeHearth, 105,
       105, 0, {100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    N_CareerProfile& p = Fresh();
    p.*c.value = c.start;
    if (c.ceiling) p.*c.ceiling = c.top;
    career::AttributeChanges changes{};
    changes[c.change] = c.delta;
    const Played played = Play(r, changes);
    const std::string bar = c.value == &N_CareerProfile::runTech ? "RunTechAtt3" : "HearthAtt3";
    EXPECT_EQ(played.shown.at(bar), c.shown);
    for (const char* gauge : {"HearthAtt2", "HearthAtt3", "RunTechAtt2", "RunTechAtt3"}) {
      const float fraction = r.ElementAs<N_GuiProgressBar>(gauge).Fraction();
      EXPECT_TRUE(fraction >= 0.0f && fraction <= 1.0f) << gauge << " fills " << fraction << " of its track";
    }
    if (c.top > 100) {
      EXPECT_EQ(r.Caption("HearthText2"), "105 / 105") << "the numbers beside the full gauges";
    }
  }
  career::DeleteProfile();
}

}  // namespace

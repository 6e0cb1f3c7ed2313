// The career between races: the week's trainings, special training and hotel, the
// race wear and the form swing, the season's set-up and end, the rivals' draws, the
// sponsor offer and the scoring of a sponsor event. Headless, seeded.
#include "core/Random.h"
#include "frontend/CareerTables.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerAttributeView.h"
#include "frontend/HighScoreRows.h"
#include "frontend/career/CareerProfile.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerRaceWear.h"
#include "frontend/career/CareerSeason.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerTraining.h"
#include "frontend/career/SponsorEvents.h"
#include "race/AthletMng.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "render/ShaderMng.h"
#include "tests/race/RacePagesRig.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

/// A roster of `count` athletes of each sex with the body keys and techniques at 50.
struct Roster {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeShaderHost host;
  N_ShaderMng shaders{1024, host};
  N_AthletMng athletes{shaders};

  explicit Roster(int count) {
    std::string text;
    for (const char* sex : {"Male", "Female"}) {
      for (int i = 0; i < count; ++i) {
        text += std::string("{\nAthletName ") + sex + std::to_string(i) + "\nSex " + sex + "\nNationality NOR\n}\n";
      }
    }
    dir.Write("profiles.data", text);
    athletes.ParseProfiles("profiles.data");
    athletes.SplitBySex();
  }
};

/// The nine attributes and freshness, in the change's order, then the six ceilings.
constexpr std::array<float N_CareerProfile::*, 16> kFields{
    &N_CareerProfile::hearth,      &N_CareerProfile::condition,        &N_CareerProfile::power,
    &N_CareerProfile::concentration, &N_CareerProfile::fightGhost,     &N_CareerProfile::coolness,
    &N_CareerProfile::shootTech,   &N_CareerProfile::runTech,          &N_CareerProfile::handlTech,
    &N_CareerProfile::freshness,   &N_CareerProfile::maxHearth,        &N_CareerProfile::maxCondition,
    &N_CareerProfile::maxPower,    &N_CareerProfile::maxConcentration, &N_CareerProfile::maxFightGhost,
    &N_CareerProfile::maxCoolness};

/// Body values at `body` under ceilings at `ceiling`, techniques 50, freshness 70.
N_CareerProfile Profile(float body = 50.0f, float ceiling = 80.0f) {
  N_CareerProfile p;
  for (std::size_t i = 0; i < kFields.size(); ++i) p.*kFields[i] = i < 6 ? body : i < 9 ? 50.0f : i == 9 ? 70.0f : ceiling;
  return p;
}

std::vector<float> Values(const N_CareerProfile& p) {
  std::vector<float> v;
  for (std::size_t i = 0; i < 10; ++i) v.push_back(p.*kFields[i]);
  return v;
}

/// The week's change of a plan (item ids per day), the week lists emptied.
career::AttributeChanges WeekChange(N_CareerProfile& p, const std::vector<std::vector<int>>& plan) {
  CareerWeekState week;
  for (std::size_t d = 0; d < plan.size(); ++d) {
    for (int id : plan[d]) week.days[d].push_back(*career::ScheduleItem(id));
  }
  const career::AttributeChanges change = CareerWeekChange(p, week.days);
  for (const auto& day : week.days) EXPECT_TRUE(day.empty());
  return change;
}

TEST(CareerSimulation, TrainingsSpecialTrainingsAndHotels) {
  Roster roster(16);
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Srand(seed);
    SCOPED_TRACE(seed);
    // Nothing booked, or only items 8 to 11: nothing moves; the hotel is cleared.
    for (const std::vector<std::vector<int>>& plan : {std::vector<std::vector<int>>{}, {{8, 9}, {10, 11}}}) {
      N_CareerProfile p = Profile();
      p.hotel = 2;
      const std::vector<float> before = Values(p);
      ApplyAttributeDelta(p, WeekChange(p, plan), &roster.athletes);
      EXPECT_EQ(Values(p), before);
      EXPECT_EQ(p.hotel, -1);
    }
    DriftCareerRivals(Profile(), roster.athletes);
    for (std::size_t i = 1; i < 16; ++i) {
      const N_AthletProfile* a = roster.athletes.GetMale(i);
      for (float v : {a->Concetration, a->Coolness, a->Gameness, a->MaxCondition, a->MaxPower, a->OptPulse}) {
        EXPECT_TRUE(v >= 50.0f && v <= 100.0f) << v;
      }
    }
    // At its ceiling (techniques and freshness at 100) nothing gains from any training
    // or special training.
    for (int choice = -1; choice <= 2; ++choice) {
      N_CareerProfile p = Profile(80.0f);
      p.runTech = p.shootTech = p.handlTech = p.freshness = 100.0f;
      p.weekChoice = choice;
      const std::vector<float> before = Values(p);
      ApplyAttributeDelta(p, WeekChange(p, {{0, 1, 2, 3}, {4, 5}, {6, 7}, {4, 6}, {7}}), nullptr);
      EXPECT_EQ(Values(p), before) << choice;
    }
    // Hotel 1 raises concentration and freshness, hotel 0 lowers them, 2 leaves them.
    for (const auto& [hotel, sign] : {std::pair{1, 1}, {0, -1}, {2, 0}}) {
      N_CareerProfile p = Profile();
      p.hotel = hotel;
      const float concentration = p.concentration, freshness = p.freshness;
      ApplyAttributeDelta(p, WeekChange(p, {}), nullptr);
      EXPECT_EQ((p.concentration > concentration) - (p.concentration < concentration), sign) << hotel;
      EXPECT_EQ((p.freshness > freshness) - (p.freshness < freshness), sign) << hotel;
    }
    // Special training 2 raises a ceiling of 90 by 1.2 to 1.8, none past 100.
    N_CareerProfile p = Profile();
    p.maxHearth = 90.0f;
    p.maxPower = 99.9f;
    p.weekChoice = 2;
    WeekChange(p, {});
    EXPECT_TRUE(p.maxHearth >= 91.2f - 1e-4f && p.maxHearth <= 91.8f + 1e-4f) << p.maxHearth;
    EXPECT_TRUE(p.maxPower > 99.9f && p.maxPower <= 100.0f) << p.maxPower;
  }
}

TEST(CareerSimulation, RaceWearAndFormSwing) {
  Roster roster(16);
  for (unsigned seed = 1; seed <= 30; ++seed) {
    Srand(seed);
    // Freshness 60 always takes a quarter off every body value (not below 30); 80 never
    // changes anything.
    for (const float freshness : {60.0f, 80.0f}) {
      N_CareerProfile p = Profile();
      p.power = 36.0f;
      p.freshness = freshness;
      std::vector<float> expected = Values(p);
      for (std::size_t i = 0; i < 6 && freshness == 60.0f; ++i) {
        expected[i] = std::max(30.0f, expected[i] - std::round(expected[i] * 0.25f));
      }
      ApplyRaceStrain(p, nullptr);
      EXPECT_EQ(Values(p), expected) << seed;
    }
  }

  // The player's row: a winner without misses and falls keeps fightGhost,
  // concentration, coolness and freshness; a Condition of 0 takes condition to 30.
  struct WearCase {
    std::int32_t place, misses, falls;
    float condition;
    bool worn;  ///< fightGhost, concentration, coolness and freshness fall
  };
  for (const WearCase& c : {WearCase{0, 0, 0, 0.5f, false}, {6, 3, 2, 0.5f, true}, {0, 0, 0, 0.0f, false}}) {
    SCOPED_TRACE(c.place);
    ExportData result;
    result.Rows.resize(15);
    for (std::size_t i = 0; i < 15; ++i) result.Rows[i].AthleteIndex = static_cast<std::int32_t>(i);
    N_ResultRow& row = result.Rows[static_cast<std::size_t>(c.place)];
    row = {15, 1500.0f, 3, c.misses, 100.0f, c.condition, c.falls, 1};
    N_CareerProfile p = Profile();
    p.athleteIndex = 15;
    const N_CareerProfile before = p;
    ApplyCareerRaceWear(p, result, c.place, &roster.athletes);
    for (float N_CareerProfile::*f : {&N_CareerProfile::fightGhost, &N_CareerProfile::concentration,
                                      &N_CareerProfile::coolness, &N_CareerProfile::freshness}) {
      EXPECT_EQ(p.*f < before.*f, c.worn);
    }
    EXPECT_LT(p.power, before.power);
    EXPECT_LT(p.condition, before.condition);
    EXPECT_TRUE(c.condition > 0.0f || p.condition == 30.0f) << p.condition;
    EXPECT_EQ(roster.athletes.GetMale(15)->MaxPower, p.power);  // handed to the roster
  }

  // Rivals keep their floors (OptPulse 60); a result without the player (place -1)
  // wears every row and leaves the player alone.
  roster.athletes.GetMale(3)->OptPulse = 62.0f;
  roster.athletes.GetMale(1)->Concetration = 80.0f;
  ExportData result;
  result.Rows.resize(4);
  for (std::size_t i = 0; i < 4; ++i) result.Rows[i].AthleteIndex = static_cast<std::int32_t>(i + 1);
  N_CareerProfile p = Profile();
  const std::vector<float> before = Values(p);
  ApplyCareerRaceWear(p, result, -1, &roster.athletes);
  EXPECT_LT(roster.athletes.GetMale(1)->Concetration, 80.0f);
  for (int race = 0; race < 20; ++race) ApplyCareerRaceWear(p, result, -1, &roster.athletes);
  EXPECT_EQ(roster.athletes.GetMale(3)->OptPulse, 60.0f);
  EXPECT_EQ(Values(p), before);
}

TEST(CareerSeasonCycle, FieldTrackOrderAndExtraRaces) {
  int shuffled = 0;
  for (const int count : {20, 6}) {  // 6: fewer rivals than places, the rest -1
    Roster roster(count);
    for (unsigned seed = 1; seed <= 30; ++seed) {
      Srand(seed);
      N_CareerProfile p = Profile();
      p.sex = seed % 2 ? 0 : 2;  // any sex but 0 is the women's list
      p.athleteIndex = static_cast<std::int32_t>(seed) % count;
      p.season = static_cast<std::int32_t>(seed % 10);
      p.stage = 2;
      StartCareerSeason(p, roster.athletes);
      EXPECT_EQ(p.stage, 0);
      EXPECT_EQ(p.freshness, 100.0f);

      std::vector<std::int32_t> tracks(std::begin(p.trackOrder), std::end(p.trackOrder));
      const bool inOrder = std::is_sorted(tracks.begin(), tracks.end());
      EXPECT_TRUE(p.season > 0 || inOrder);
      shuffled += !inOrder;
      std::sort(tracks.begin(), tracks.end());
      EXPECT_EQ(tracks, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
      EXPECT_NE(p.extraRaces[0], p.extraRaces[1]);
      for (std::int32_t e : p.extraRaces) EXPECT_TRUE(e >= 0 && e <= 9);

      const std::int32_t rivals = std::min(14, count - 1);
      std::set<std::int32_t> drawn;
      for (std::int32_t i = 0; i < 14; ++i) {
        if (i >= rivals) {
          EXPECT_EQ(p.field[i], -1);
          continue;
        }
        EXPECT_TRUE(p.field[i] >= 0 && p.field[i] < count && p.field[i] != p.athleteIndex) << p.field[i];
        drawn.insert(p.field[i]);
      }
      EXPECT_EQ(drawn.size(), static_cast<std::size_t>(rivals));
      EXPECT_EQ(p.field[14], p.athleteIndex);
    }
  }
  EXPECT_GT(shuffled, 40);  // of the 54 later seasons
}

/// The race pages' test world with a current profile (the player is man 5, "Career Player")
/// and texts of the career's boxes whose fills the tests read back.
struct CareerRig {
  test::RacePagesRig pages;
  N_CareerProfile* profile = nullptr;

  CareerRig() {
    for (const auto& [key, text] : {std::pair{"#str342", "Place %d: %d EUR"}, {"#str321", "%d EUR for %s on %s?"},
                                    {"#str335", "Won %d EUR"}, {"#str336", "Missed"}}) {
      pages.strings.Remove(key);
      pages.strings.Add(key, text);
    }
    career::Week() = CareerWeekState{};
    std::filesystem::create_directories("data/tables");
    profile = &career::NewProfile();
    profile->number = 4;
    profile->athleteIndex = 5;
    std::snprintf(profile->name, sizeof profile->name, "%s", "Career Player");
  }
  ~CareerRig() { career::DeleteProfile(); }

  void CloseBoxes() {
    frontend::HidePageNow("MessageOK");
    frontend::HidePageNow("MessageYesNo");
  }
  N_AthletMng& Athletes() { return pages.World().AthletMng(); }
  std::string Label(const char* box) { return pages.Caption(box); }
};

TEST(CareerSeasonCycle, SeasonEndBonusStandingsAndRivals) {
  CareerRig rig;
  N_CareerProfile& p = *rig.profile;
  // The player's place in the standings (0 first) and its bonus; the standings are
  // cleared (saved with the profile), the race results stay. A player without a name
  // is found under the name the tables give it (it used to get no bonus).
  for (const auto& [place, bonus, name] :
       {std::tuple{2, 12000, "Career Player"}, {11, 0, "Career Player"}, {0, 20000, "Career Player"}, {1, 15000, ""}}) {
    SCOPED_TRACE(place);
    std::snprintf(p.name, sizeof p.name, "%s", name);
    N_CareerHS tables;
    for (std::int32_t i = 0; i < 15; ++i) {
      tables.AddResult(i, 1, 4, 0, i == place ? p.name : "Rival " + std::to_string(i), "NOR", 100.0f, 0, 14 - i);
    }
    ASSERT_TRUE(tables.Save(p.number));
    rig.CloseBoxes();
    p.account = 1000;
    EndCareerSeason(p, &rig.Athletes());
    ASSERT_TRUE(career::SaveCareerProfile(p));
    EXPECT_EQ(p.account, 1000 + bonus);
    EXPECT_TRUE(rig.pages.PageVisible("MessageOK"));
    EXPECT_EQ(rig.Label("Label2"), "Place " + std::to_string(place + 1) + ": " + std::to_string(bonus) + " EUR");
    N_CareerHS after;
    ASSERT_EQ(after.Load(p.number), TableFile::Read);
    EXPECT_EQ(after.FindAthlete(high_scores::RowName(p.name)), -1);
    EXPECT_EQ(after.FindAthlete("Rival 14"), -1);
    EXPECT_STREQ(after.Result(static_cast<std::size_t>(N_CareerHS::ResultBlock(1, 4, 0)), 14).Name, "Rival 14");
  }

  // The rivals' techniques grow by at most 10 and stop at 100; the player is left alone.
  N_AthletMng& athletes = rig.Athletes();
  const std::size_t men = athletes.GetMaleCount();
  std::vector<std::array<float, 3>> before;
  for (std::size_t i = 0; i < men; ++i) {
    N_AthletProfile* a = athletes.GetMale(i);
    if (i % 3 == 0) a->RunTechnic = 95.0f;
    before.push_back({a->RunTechnic, a->ShootTechnic, a->CurveTechnic});
  }
  EndCareerSeason(p, &athletes);
  for (std::size_t i = 0; i < men; ++i) {
    const N_AthletProfile* a = athletes.GetMale(i);
    const std::array<float, 3> now{a->RunTechnic, a->ShootTechnic, a->CurveTechnic};
    for (std::size_t k = 0; k < 3; ++k) {
      const float top = i == 5 ? before[i][k] : std::min(100.0f, before[i][k] + 10.0f);
      EXPECT_TRUE(now[k] >= before[i][k] && now[k] <= top) << i;
    }
  }

  // A new career's athletes of the player's sex: six keys 40 to 60, techniques 60 to 80.
  RandomizeRivals(p, athletes);
  for (std::size_t i = 0; i < men; ++i) {
    const N_AthletProfile* a = athletes.GetMale(i);
    for (float v : {a->Concetration, a->Coolness, a->Gameness, a->MaxCondition, a->MaxPower, a->OptPulse}) {
      EXPECT_TRUE(v >= 40.0f && v <= 60.0f) << v;
    }
    for (float v : {a->CurveTechnic, a->RunTechnic, a->ShootTechnic}) EXPECT_TRUE(v >= 60.0f && v <= 80.0f) << v;
  }
}

TEST(CareerOffers, NewWeeksDrawHalfAnOfferEach) {
  CareerRig rig;
  Srand(7);
  constexpr int kWeeks = 10000;
  int offers = 0;
  std::array<int, 6> events{};
  std::array<int, 3> days{};
  for (int week = 0; week < kWeeks; ++week) {
    OfferSponsorEvent();
    const CareerWeekState& w = career::Week();
    if (w.sponsorEvent < 0) {
      EXPECT_EQ(w.sponsorPrize, 0);
      continue;
    }
    ++offers;
    ASSERT_TRUE(w.sponsorEvent <= 5 && w.sponsorDay >= 0 && w.sponsorDay <= 2);
    EXPECT_TRUE(w.sponsorPrize >= 1000 && w.sponsorPrize <= 2500) << w.sponsorPrize;
    ++events[static_cast<std::size_t>(w.sponsorEvent)];
    ++days[static_cast<std::size_t>(w.sponsorDay)];
  }
  EXPECT_NEAR(offers, kWeeks / 2, kWeeks * 0.02);
  for (std::size_t e = 0; e < events.size(); ++e) {
    const double expected = offers * ((e == 0 || e == 5) ? 0.1 : 0.2);
    EXPECT_NEAR(events[e], expected, expected * 0.12) << "event " << e;
  }
  for (std::size_t d = 0; d < days.size(); ++d) {
    const double expected = offers * (d == 1 ? 0.5 : 0.25);
    EXPECT_NEAR(days[d], expected, expected * 0.08) << "day " << d;
  }

  // The new week: the lists emptied, stage 0, no special training; an offer shows its
  // box filled with the prize, the event's title and the day's name, and no offer
  // leaves the event at -1.
  N_CareerProfile& p = *rig.profile;
  bool sawOffer = false, sawNone = false;
  Srand(11);
  for (int week = 0; !(sawOffer && sawNone) && week < 50; ++week) {
    rig.CloseBoxes();
    career::Week().days[3].push_back(*career::ScheduleItem(2));
    p.stage = 2;
    p.weekChoice = 1;
    StartCareerWeek(p);
    const CareerWeekState& w = career::Week();
    EXPECT_TRUE(w.days[3].empty());
    EXPECT_EQ(p.stage, 0);
    EXPECT_EQ(p.weekChoice, -1);
    EXPECT_EQ(rig.pages.PageVisible("MessageYesNo"), w.sponsorEvent >= 0);
    if (w.sponsorEvent >= 0) {
      sawOffer = true;
      const std::string title = frontend::Text(("#str" + std::to_string(400 + w.sponsorEvent)).c_str());
      const std::string day = frontend::Text(("#str" + std::to_string(231 + w.sponsorDay)).c_str());
      EXPECT_EQ(rig.Label("Label1"), std::to_string(w.sponsorPrize) + " EUR for " + title + " on " + day + "?");
    } else {
      sawNone = true;
      EXPECT_EQ(w.sponsorEvent, -1);
    }
  }
  EXPECT_TRUE(sawOffer && sawNone);
}

TEST(CareerOffers, SponsorEventsPayOnlyOnTheirTarget) {
  CareerRig rig;
  N_CareerProfile& p = *rig.profile;
  struct Case {
    std::int32_t event;
    std::uint8_t success;
    std::int32_t shots, misses;
    float time;
    bool pays;
  };
  const Case cases[] = {
      {2, 1, 0, 0, 134.0f, true},  {2, 1, 0, 0, 134.1f, false}, {2, 0, 0, 0, 100.0f, false},
      {0, 1, 20, 3, 0.0f, true},   {0, 1, 20, 4, 0.0f, false},  {1, 1, 15, 0, 0.0f, true},
      {3, 1, 0, 0, 64.0f, true},   {4, 1, 0, 0, 59.5f, false},  {5, 1, 0, 0, 105.0f, true},
      {-1, 1, 30, 0, 1.0f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.event) + " " + std::to_string(c.time));
    rig.CloseBoxes();
    p.account = 500;
    career::Week().sponsorEvent = c.event;
    career::Week().sponsorPrize = 1800;
    auto result = std::make_unique<ExportData>();
    std::tie(result->Success, result->BuddyShots, result->BuddyMisses, result->BuddyTime) =
        std::tuple(c.success, c.shots, c.misses, c.time);
    const std::int32_t handle = StoreFinishedResult(std::move(result));
    ScoreSponsorEvent(handle);
    EXPECT_EQ(GetFinishedResult(handle), nullptr);
    EXPECT_EQ(p.account, c.pays ? 2300 : 500);
    EXPECT_EQ(rig.Label("Label2"), c.pays ? "Won 1800 EUR" : "Missed");
    if (c.pays) {
      EXPECT_EQ(rig.pages.Caption("Account1"), "2300 EUR");
    }
    EXPECT_EQ(career::Week().sponsorEvent, -1);
    EXPECT_EQ(career::Week().sponsorPrize, 0);
  }

  // Without a profile the result is released and logged; nothing else changes.
  career::DeleteProfile();
  career::Week().sponsorEvent = 2;
  career::Week().sponsorPrize = 1800;
  rig.CloseBoxes();
  rig.pages.NewLog();
  const std::int32_t handle = StoreFinishedResult(std::make_unique<ExportData>());
  ScoreSponsorEvent(handle);
  EXPECT_EQ(GetFinishedResult(handle), nullptr);
  EXPECT_EQ(career::Week().sponsorEvent, 2);
  EXPECT_FALSE(rig.pages.PageVisible("MessageOK"));
  EXPECT_NE(rig.pages.NewLog().find("ScoreSponsorEvent"), std::string::npos);
}

// The whole working week on the change page's frame, the clock moving 1/64 s a frame:
// values set above their ceilings at the career start end the week at 100 after an
// animation of bounded length; the lists are emptied, the hotel cleared and the roster
// athlete holds the profile's values.
TEST(CareerSimulation, EndOfTheWorkingWeek) {
  CareerRig rig;
  N_CareerProfile& p = *rig.profile;
  struct Case {
    const char* what;
    std::int32_t weekChoice;
    float N_CareerProfile::*value;
    float N_CareerProfile::*ceiling;
  };
  const Case cases[] = {
      {"running technique of 140, no special training", -1, &N_CareerProfile::runTech, nullptr},
      {"heart of 120 under a ceiling of 140, special training 0", 0, &N_CareerProfile::hearth,
       &N_CareerProfile::maxHearth},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Srand(5);
    p.*c.value = c.ceiling ? 120.0f : 140.0f;
    if (c.ceiling) p.*c.ceiling = 140.0f;
    p.weekChoice = c.weekChoice;
    p.hotel = 1;
    career::Week().days[0] = {*career::ScheduleItem(0), *career::ScheduleItem(9)};
    career::Week().days[4] = {*career::ScheduleItem(5)};
    double seconds = 0.0;
    frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
      if (!event.drawn) {
        rig.pages.clock.counter += 15625;
        seconds += 1.0 / 64;
      }
      ASSERT_LT(seconds, 60.0);
    });
    EndCareerWeek();
    frontend::SetFrameObserver(nullptr);
    EXPECT_GT(seconds, 0.0);
    EXPECT_EQ(p.*c.value, 100.0f);
    if (c.ceiling) {
      EXPECT_EQ(p.*c.ceiling, 100.0f);
    }
    for (const auto& day : career::Week().days) EXPECT_TRUE(day.empty());
    EXPECT_EQ(p.hotel, -1);
    const N_AthletProfile& a = *rig.Athletes().GetMale(5);
    EXPECT_EQ(a.AthletName, p.name);
    EXPECT_EQ((std::array{a.MaxPower, a.OptPulse, a.MaxCondition, a.Concetration, a.Coolness, a.Gameness,
                          a.ShootTechnic, a.RunTechnic, a.CurveTechnic}),
              (std::array{p.power, p.hearth, p.condition, p.concentration, p.coolness, p.fightGhost, p.shootTech,
                          p.runTech, p.handlTech}));
  }
}

}  // namespace

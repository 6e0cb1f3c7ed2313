// A career played in the game in process on the sample data, from the main menu by
// scripted clicks: the profile in slot 0 with all its points spent (a bar dragged to
// its end holds what the career keeps, the same after the week and a restart), the
// week's track picture on the GL device, a week planned (an item booked and one
// refunded, the trip and the hotel on the travel day), the seeded week's sponsor offer
// played if there is one, the sprint to its result and its prize; then the program
// started again, the slot continuing with the pursuit, and the career ended into its
// final table.
#include "app/Application.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/career/CareerProfile.h"
#include "frontend/career/CareerRace.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerWeekHeader.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTable.h"
#include "platform/dinput8/Keys.h"
#include "platform/win32.h"
#include "race/GameArcade.h"
#include "race/RaceSimSolo.h"
#include "race/World.h"
#include "render/Render.h"
#include "tests/frontend/MenuScript.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/ManualTimer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

using test::Gui;
using test::Script;
using test::Visible;

N_CareerProfile& Profile() { return *career::Profile(); }
std::string Caption(const char* element) { return Gui().GetElement(element, false)->GetCaption(); }

/// The whole game root but the intro video and the tables, a small window.
void PrepareGameRoot(const test::TempDir& dir) {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(fs::path(test::GameRoot()) / "data")) {
    const std::string name = entry.path().filename().string();
    if (name != "video" && name != "tables") test::CopyFromGameRoot(dir, "data/" + name);
  }
  fs::create_directories(dir.Path() + "/data/tables");
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\nlanguage \"eng\"\n");
}

/// A click on the element named when the step comes; none for a null name.
void ClickOn(Script& script, std::function<const char*()> which) {
  auto clicking = std::make_shared<bool>(false);
  script.Then([which, clicking] {
    N_GuiElement* e = nullptr;
    if (const char* name = which()) e = Gui().GetElement(name, false);
    if (e) {
      Gui().GetCursor()->SetLeft(e->GetScreenX() + e->GetWidth() / 2);
      Gui().GetCursor()->SetTop(e->GetScreenY() + e->GetHeight() / 2);
    }
    return *clicking = e != nullptr, true;
  });
  script.Then([&script, clicking] { return *clicking ? script.Input().ButtonDown(0) : void(), true; });
  script.Then([&script, clicking] { return *clicking ? script.Input().ButtonUp(0) : void(), true; });
}

/// A click that happens only when the flag is set once the step comes.
void ClickIf(Script& script, const bool& flag, const char* element) {
  ClickOn(script, [&flag, element] { return flag ? element : nullptr; });
}

void Select(const char* table, std::int32_t row) {
  dynamic_cast<N_GuiTable*>(Gui().GetElement(table, false))->SelectRow(row);
}

/// The hue of a 0x00RRGGBB colour, 0 to 1.
float Hue(DWORD rgb) {
  const float r = float((rgb >> 16) & 0xFF), g = float((rgb >> 8) & 0xFF), b = float(rgb & 0xFF);
  const float top = std::max({r, g, b}), range = top - std::min({r, g, b});
  if (range <= 0.0f) return 0.0f;
  float h = top == r ? std::fmod((g - b) / range + 6.0f, 6.0f) : top == g ? (b - r) / range + 2.0f : (r - g) / range + 4.0f;
  return h / 6.0f;
}

/// How far apart two hues lie on the circle.
float HueGap(float a, float b) {
  const float d = std::fabs(a - b);
  return std::min(d, 1.0f - d);
}

/// The names of the pages shown, for a run that stopped.
std::string ShownPages() {
  std::string names;
  for (const auto& [name, page] : Gui().Pages())
    if (page->IsVisible()) names += name + " ";
  return names + (career::Profile() ? "account " + std::to_string(Profile().account) : "no profile");
}

bool SponsorBooked() {
  const CareerWeekState& week = career::Week();
  return std::any_of(week.days.begin(), week.days.end(), [](const auto& day) {
    return std::any_of(day.begin(), day.end(), [](const CareerScheduleItem& item) { return item.id == career::kSponsorItem; });
  });
}

/// The disc of the week's track picture in "Level6", read back from the GL device: the
/// hue of its row (the sample pictures give row r the hue r / 10).
void ExpectTrackPicture() {
  N_GuiElement& picture = *Gui().GetElement("Level6", false);
  g_world->Render(0.0f);
  const test::BackBufferImage image = test::ReadBackBuffer(g_render->Device());
  const DWORD pixel = image.Rgb(UINT(picture.GetScreenX() + picture.GetWidth() / 2),
                                UINT(picture.GetScreenY() + picture.GetHeight() * 0.8f));
  const int row = Profile().trackOrder[Profile().raceIndex];
  EXPECT_LT(HueGap(Hue(pixel), float(row) / 10.0f), 0.04f) << "row " << row << std::hex << " pixel " << pixel;
}

N_GuiScrollBar& Bar(const char* name) { return *dynamic_cast<N_GuiScrollBar*>(Gui().GetElement(name, false)); }

/// The bar's bit swept with the mouse past the far end of its track and let go there
/// at once, before a held repeat: the release point counts.
void DragToEnd(Script& script, const char* bar) {
  script.Then([bar] {
    N_GuiElement* bit = Bar(bar).GetBit();
    Gui().GetCursor()->SetLeft(bit->GetScreenX() + bit->GetWidth() / 2);
    Gui().GetCursor()->SetTop(bit->GetScreenY() + bit->GetHeight() / 2);
    return true;
  });
  script.Then([&script] { return script.Input().ButtonDown(0), true; });
  script.Then([&script, bar] {
    N_GuiScrollBar& b = Bar(bar);
    Gui().GetCursor()->SetLeft(b.GetScreenX() + b.GetWidth() + 40.0f);
    return script.Input().ButtonUp(0), true;
  });
}

/// From the main menu to the profile page of slot 0.
void EnterProfilePage(Script& script) {
  script.Until([] { return Visible("MainMenu") && Visible("Background"); }, "the main menu");
  script.Click("SinglePlayer");
  script.Until([] { return Visible("SinglePlayer"); }, "SinglePlayer");
  script.Click("Career");
  script.Until([] { return Visible("CareerProfile") && Visible("CareerAttributes") && career::Profile(); },
               "the profile page");
}

/// The race from its start list to the final result (the computer finishes it), then
/// the result's click back to the career page.
void RaceToCareer(Script& script) {
  script.Until([] { return Visible("StartList"); }, "the start list");
  script.Click("StartListCatcher");
  script.Until([] { return !Visible("StartList") && dynamic_cast<N_GameArcade*>(g_world->Game()); },
               "the race under way");
  script.Then([] { return dynamic_cast<N_GameArcade*>(g_world->Game())->Simulate(), true; });
  script.Until([] { return Visible("FinalResult"); }, "the final result");
  script.Click("FinalResultCatcher");
  script.Until([] { return Visible("Career") && !Visible("FinalResult"); }, "back to the career page");
}

TEST(CareerRun, ACareerIsPlannedRacedSavedContinuedAfterARestartAndFinished) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  std::string log;
  test::ManualTimer slow;  // frames of a busy machine, 0.7 s, where the career is left
  {
    N_Application app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
    Script script;
    script.patience = std::chrono::seconds(120);
    EnterProfilePage(script);
    // The running technique swept past the end of its bar: it holds 100, the most the
    // career keeps, and shows the points it leaves.
    DragToEnd(script, "RunTechAtt1");
    script.Then([] {
      EXPECT_EQ(Bar("RunTechAtt1").GetValue(), 100);
      EXPECT_EQ(Caption("TotalLbl3"), "40");
      return true;
    });
    // All 660 points: each group of three bars holds 220.
    script.Then([] {
      const std::pair<const char*, int> bars[] = {
          {"HearthAtt1", 100},        {"ConditionAtt1", 80},   {"PowerAtt1", 40},
          {"ConcentrationAtt1", 80}, {"FightGhostAtt1", 70}, {"CoolnessAtt1", 70},
          {"ShootTechAtt1", 80},      {"HandlTechAtt1", 40}};
      for (const auto& [name, value] : bars) Bar(name).SetValue(value);
      Gui().GetElement("PlayerName5", false)->SetCaption("Runner");
      return true;
    });
    script.Click("Continue1");
    script.Until([] { return Visible("Career") && Visible("CareerHS") && !Visible("CareerProfile"); },
                 "the career page");
    // The seeded week may offer a sponsor event: it is taken.
    bool offered = false;
    script.Then([&offered] {
      EXPECT_EQ(Profile().started, 1);
      EXPECT_EQ(Profile().maxHearth, 100.0f);
      EXPECT_EQ(Profile().runTech, 100.0f);
      offered = Visible("MessageYesNo");
      return true;
    });
    ClickIf(script, offered, "Yes1");
    script.Until([] { return !Visible("MessageYesNo"); }, "the offer answered");
    script.Then([&offered] {
      EXPECT_EQ(SponsorBooked(), offered);
      return true;
    });

    // The week's track picture on the GL device.
    script.Then([] { return ExpectTrackPicture(), true; });

    // Wednesday (a sponsor item may lie there, its two units leave room for two more):
    // two items booked, the second refunded.
    int account = 0;
    std::size_t items = 0;
    script.Click("Wednesday");
    script.Until([] { return career::GetSelectedWeekday() == 2; }, "Wednesday");
    script.Then([&account, &items] {
      account = Profile().account;
      items = career::Week().days[2].size();
      return Select("Tasks1", 7), true;
    });
    script.Click("Add3");
    script.Until([&account] { return Profile().account == account - 150; }, "item 7 booked");
    script.Then([] { return Select("Tasks1", 6), true; });
    script.Click("Add3");
    script.Until([&account] { return Profile().account == account - 250; }, "item 6 booked");
    script.Then([] { return Select("Schedule1", std::int32_t(career::Week().days[2].size()) - 1), true; });
    script.Click("Remove3");
    script.Until([&account] { return Profile().account == account - 150; }, "item 6 refunded");
    script.Then([&account, &items] {
      EXPECT_EQ(career::Week().days[2].size(), items + 1);
      EXPECT_EQ(career::Week().days[2].back().id, 7);
      EXPECT_EQ(Caption("Account1"), career::AccountText(account - 150));
      return account = Profile().account, true;
    });
    // The travel day (Thursday in a week with an extra race, else Friday): the page's
    // defaults book the car and the first hotel.
    ClickOn(script, [] { return career::Week().extraRaceWeek ? "Thursday" : "Friday"; });
    script.Until([] { return Visible("CareerTravel") && !Visible("Career"); }, "the travel page");
    script.Click("Continue2");
    script.Until([] { return Visible("Career") && !Visible("CareerTravel"); }, "back from travel");
    script.Then([&account] {
      EXPECT_EQ(Profile().hotel, 0);
      EXPECT_LT(Profile().account, account);
      return true;
    });

    // The sponsor event first: a buddy game, given up with Escape once it runs.
    script.Click("Start8");
    script.Until([&offered] { return !offered || (Visible("BuddyStart") && g_world->Game()); }, "the sponsor event");
    ClickIf(script, offered, "Start9");
    script.Until([&offered] {
      const auto* game = dynamic_cast<const N_SoloRaceGame*>(g_world->Game());
      return !offered || (game && !game->Paused() && !Visible("BuddyStart"));
    }, "the sponsor event running");
    script.Then([&] { return offered ? script.Input().KeyDown(DIK_ESCAPE) : void(), true; });
    script.Until([&offered] { return !offered || Visible("FinalResult"); }, "the sponsor event's result");
    script.Then([&] { return offered ? script.Input().KeyUp(DIK_ESCAPE) : void(), true; });
    ClickIf(script, offered, "FinalResultCatcher");
    script.Until([&offered] { return !offered || Visible("MessageOK"); }, "the sponsor's answer");
    ClickIf(script, offered, "Ok1");
    script.Until([&offered] { return !offered || (Visible("Career") && !Visible("MessageOK")); }, "back on Career");
    script.Then([] {
      EXPECT_FALSE(SponsorBooked()) << "played, taken out of its day";
      return true;
    });
    ClickIf(script, offered, "Start8");

    // The week's end on the attribute change page, then the sprint.
    int points = 0;
    script.Until([] { return Visible("CareerAttributesInfo"); }, "the attribute changes");
    script.Then([&account, &points] { return account = Profile().account, points = Profile().points, true; });
    script.Click("Continue3");
    RaceToCareer(script);
    script.Then([&account, &points] {
      // The last place (14) gains no points: the place follows from the points gained.
      const int place = 14 - (Profile().points - points);
      EXPECT_GE(Profile().points, points);
      EXPECT_EQ(Profile().account, account + career::CareerPrize(place)) << "place " << place;
      EXPECT_EQ(Caption("Account1"), career::AccountText(Profile().account));
      EXPECT_EQ(Profile().stage, 1) << "the pursuit next";
      return true;
    });
    // The profile in its view look over the frame page, and back.
    script.Click("Details1");
    script.Until([] { return Visible("CareerProfile") && Visible("CareerHS") && !Visible("Career"); }, "the details");
    script.Click("Back22");
    script.Until([] { return Visible("Career") && !Visible("CareerProfile") && career::Profile(); }, "back from details");
    script.Then([&slow] { return g_timer = &slow.Timer(), true; });
    script.Click("Back21");
    script.Until([] { return Visible("SinglePlayer") && !Visible("Career") && !career::Profile(); }, "saved and left");
    script.Then([timer = g_timer] {
      g_world->Render(0.0f);
      const auto blue = [](const platform::Rgba8& p) { return p.b > p.r + 50; };
      EXPECT_GT(test::ReadBackBuffer(g_render->Device()).Count(60, 140, 300, 376, blue), 20000) << "their column";
      return g_timer = timer, true;
    });
    // The career's own athlete stays in the career: the arcade lists the file's names.
    script.Click("Arcade");
    script.Until([] { return Visible("Arcade"); }, "Arcade");
    script.Then([] {
      auto* athletes = dynamic_cast<N_GuiTable*>(Gui().GetElement("Athlets1", false));
      EXPECT_GT(athletes->GetRowCount(), 0);
      for (std::int32_t row = 0; row < athletes->GetRowCount(); ++row) {
        EXPECT_NE(athletes->GetRowCells(row).front()->GetCaption(), "Runner") << row;
      }
      return g_varMng->SetInt("exit", 1, 2), true;
    });
    app.SetFrameHook([&] { return g_timer == &slow.Timer() ? slow.Advance(0.7) : void(), script.OnPass(); });
    app.Run();
    EXPECT_TRUE(script.Done()) << "shown: " << ShownPages();
    log = dir.Read("navo.log");
  }
  // "Back21" saved the profile, the roster and the career tables.
  EXPECT_TRUE(dir.Exists("data/tables/profile0.dat"));
  EXPECT_TRUE(dir.Exists("data/tables/profile0"));
  EXPECT_TRUE(dir.Exists("data/tables/career0.hs"));

  // The program again: the slot continues with the pursuit, then the career ends.
  {
    N_Application app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
    Script script;
    script.patience = std::chrono::seconds(120);
    EnterProfilePage(script);
    script.Then([] {
      EXPECT_EQ(Profile().started, 1);
      EXPECT_EQ(Profile().stage, 1);
      EXPECT_EQ(std::string(Profile().name), "Runner");
      // What the bars bought: no week's training nor race moves a technique or a limit.
      EXPECT_EQ(Profile().runTech, 100.0f);
      EXPECT_EQ(Profile().shootTech, 80.0f);
      EXPECT_EQ(Profile().maxHearth, 100.0f);
      return true;
    });
    script.Click("Continue1");
    script.Until([] { return Visible("Career") && !Visible("CareerProfile"); }, "the career page again");
    script.Then([] {
      // The pursuit's day: no planning, "Start8" starts the race.
      EXPECT_FALSE(Gui().GetElement("Add3", false)->IsEnabled());
      EXPECT_FALSE(Gui().GetElement("Monday", false)->IsEnabled());
      return true;
    });
    // "Start8" starts the pursuit. Its result ends the week, whose new sponsor offer (if
    // any) is declined; a week with an extra race goes on to the mass start.
    bool extra = false;
    script.Then([&extra] { return extra = career::Week().extraRaceWeek, true; });
    script.Click("Start8");
    script.Until([] { return Visible("StartList") && g_varMng->GetInt("discipline") == 3; }, "the pursuit");
    RaceToCareer(script);
    bool offered = false;
    script.Then([&offered, &extra] {
      EXPECT_EQ(Profile().raceIndex, extra ? 0 : 1);
      EXPECT_EQ(Profile().stage, extra ? 2 : 0);
      offered = Visible("MessageYesNo");
      return true;
    });
    ClickIf(script, offered, "No1");
    script.Until([] { return !Visible("MessageYesNo"); }, "the offer answered");
    script.Then([] { return ExpectTrackPicture(), true; });
    script.Click("Finish1");
    script.Until([] { return Visible("MessageYesNo"); }, "the question");
    script.Click("Yes1");
    script.Until([] { return Visible("CareerHSFinal") && !Visible("Career"); }, "the final table");
    script.Then([&dir] {
      EXPECT_EQ(Profile().finished, 1);
      const std::string table = dir.Read("data/tables/career.hs");
      EXPECT_EQ(table.size(), 880u);
      // A career of 0 points (last in every race) enters nothing.
      EXPECT_EQ(table.find("Runner") != std::string::npos, Profile().points > 0) << "the career entered";
      return g_varMng->SetInt("exit", 1, 2), true;
    });
    app.SetFrameHook([&script] { script.OnPass(); });
    app.Run();
    EXPECT_TRUE(script.Done()) << "shown: " << ShownPages();
    log += dir.Read("navo.log");
  }
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
}

}  // namespace

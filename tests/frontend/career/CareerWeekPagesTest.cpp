// Planning a career week on the sample pages: booking and removing on "Career", the
// day selection and the days a special training holds, the trainings page, the travel
// page, the sponsor offer's answers and the model's hidden keys. Over the race pages'
// test world.
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerMainPage.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerTrainingsPage.h"
#include "frontend/career/CareerTravelPage.h"
#include "frontend/career/CareerWeekHeader.h"
#include "frontend/career/SponsorEvents.h"

#include "core/CoreServices.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/Random.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiElement.h"
#include "gui/GuiTable.h"
#include "platform/dinput8.h"
#include "platform/dinput8/ScriptedInput.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

N_CareerProfile& Fresh(test::RacePagesRig& r, std::int32_t account) {
  career::Week() = CareerWeekState{};
  N_CareerProfile& p = career::NewProfile();
  p.account = account;
  p.raceIndex = 0;
  p.extraRaces[0] = 3;
  p.extraRaces[1] = 6;
  p.hotel = -1;
  p.weekChoice = -1;
  career::ResetWeekdaySelection();
  CareerShow(nullptr);
  r.NewLog();
  return p;
}

void Click(test::RacePagesRig& r, const char* name) { CareerClick(&r.Element(name)); }

void Book(test::RacePagesRig& r, const char* day, std::int32_t item) {
  Click(r, day);
  r.ElementAs<N_GuiTable>("Tasks1").SelectRow(item);
  Click(r, "Add3");
}

/// The OK box's text after an action, or "" when no box opened; the box is closed.
std::string Refusal(test::RacePagesRig& r) {
  const bool open = r.PageVisible("MessageOK") || r.PageVisible("MessageYesNo");
  const std::string text = r.PageVisible("MessageOK") ? r.Caption("Label2") : r.Caption("Label1");
  frontend::HidePageNow("MessageOK");
  frontend::HidePageNow("MessageYesNo");
  return open ? text : "";
}

TEST(CareerMainPage, BookingRemovingAndTheirRefusals) {
  test::RacePagesRig r;
  N_CareerProfile& p = Fresh(r, 1000);
  const auto tasks = r.Rows("Tasks1");
  ASSERT_EQ(tasks.size(), 8u);
  EXPECT_EQ(tasks[7], (std::vector<std::string>{r.strings.Find("#str256"), "150", "1", "1"}));
  EXPECT_EQ(r.Caption("TaskText1"), r.strings.Find("#str326"));
  EXPECT_EQ(r.Caption("Account1"), "1000 EUR");

  const std::string full = r.strings.Find("#str323");
  const std::string perDay = FormatString(r.strings.Find("#str324").c_str(), 1);
  struct Case {
    const char* day;
    std::int32_t item;
    std::string refusal;
    std::int32_t account;
  };
  const Case cases[] = {
      {"Monday", 7, "", 850},   {"Monday", 7, perDay, 850}, {"Tuesday", 7, "", 700},
      {"Wednesday", 4, "", 600}, {"Wednesday", 4, "", 500}, {"Wednesday", 0, full, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.day) + " " + std::to_string(c.item));
    Book(r, c.day, c.item);
    EXPECT_EQ(Refusal(r), c.refusal);
    EXPECT_EQ(p.account, c.account);
    EXPECT_EQ(r.Caption("Account1"), career::AccountText(c.account));
  }
  EXPECT_FALSE(r.Element("Add3").IsEnabled());
  EXPECT_EQ(r.Rows("Schedule1").size(), 2u);

  // Removing refunds the whole cost; the last item of the day disables "Remove3".
  for (int i = 0; i < 2; ++i) {
    r.ElementAs<N_GuiTable>("Schedule1").SelectRow(0);
    Click(r, "Remove3");
  }
  EXPECT_EQ(p.account, 700);
  EXPECT_TRUE(career::Week().days[2].empty());
  EXPECT_FALSE(r.Element("Remove3").IsEnabled());
  EXPECT_TRUE(r.Element("Add3").IsEnabled());

  p.account = 5;
  Book(r, "Thursday", 0);
  EXPECT_EQ(Refusal(r), r.strings.Find("#str325"));
  EXPECT_EQ(p.account, 5);

  // A travel item stays; the sponsor item asks and goes without refund.
  career::Week().days[3] = {*career::ScheduleItem(career::kTrainItem)};
  career::Week().days[1].push_back(*career::ScheduleItem(career::kSponsorItem));
  p.hotel = 1;
  Click(r, "Thursday");
  r.ElementAs<N_GuiTable>("Schedule1").SelectRow(0);
  Click(r, "Remove3");
  EXPECT_EQ(Refusal(r), r.strings.Find("#str338"));
  EXPECT_EQ(career::Week().days[3].size(), 1u);
  Click(r, "Tuesday");
  r.ElementAs<N_GuiTable>("Schedule1").SelectRow(1);
  Click(r, "Remove3");
  EXPECT_EQ(Refusal(r), r.strings.Find("#str334"));
  cbRemoveSponsorEvent(&r.Element("Yes1"));
  EXPECT_EQ(career::Week().days[1].size(), 1u);
  EXPECT_EQ(career::Week().days[1][0].id, 7);
  EXPECT_EQ(p.account, 5);
  career::DeleteProfile();
}

// The clicked day is the one checked day; a row outside the shown list removes
// nothing; the races of the week lock the planning; the hidden keys of the model.
TEST(CareerMainPage, DaysLocksAndTheModel) {
  test::RacePagesRig r;
  N_CareerProfile& p = Fresh(r, 1000);
  Book(r, "Monday", 1);
  r.ElementAs<N_GuiCheckBox>("Wednesday").SetChecked(true);  // a radio group's press
  Click(r, "Wednesday");
  for (const char* day : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"})
    EXPECT_EQ(r.ElementAs<N_GuiCheckBox>(day).IsChecked(), std::string(day) == "Wednesday") << day;
  r.ElementAs<N_GuiCheckBox>("Monday").SetChecked(true);  // two boxes checked: Monday is the day
  Click(r, "Remove3");
  EXPECT_EQ(career::Week().days[0].size(), 1u);
  EXPECT_EQ(p.account, 950);

  p.stage = 1;
  CareerShow(nullptr);
  for (const char* name : {"Monday", "Friday", "Add3", "Remove3", "Trainings1"})
    EXPECT_FALSE(r.Element(name).IsEnabled()) << name;
  p.stage = 0;
  p.hotel = -1;
  Click(r, "Start8");
  EXPECT_EQ(Refusal(r), r.strings.Find("#str337"));

  // The model's hidden keys, on the scripted keyboard: left Ctrl and left Shift held
  // add 1,000 EUR each click, either alone nothing.
  platform::ScriptedInput keyboard;
  std::unique_ptr<N_InputMng> input = r.ScriptedInputMng();
  ASSERT_NE(input, nullptr);
  struct Case {
    std::vector<BYTE> held;
    std::int32_t perClick;
  };
  const Case cases[] = {{{}, 0}, {{DIK_LCONTROL}, 0}, {{DIK_LSHIFT}, 0}, {{DIK_LCONTROL, DIK_LSHIFT}, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.held.size() * 100 + (c.held.empty() ? 0 : c.held[0]));
    const std::int32_t before = p.account;
    for (BYTE key : c.held) keyboard.KeyDown(key);
    input->Update();
    Click(r, "Model8");
    Click(r, "Model8");
    EXPECT_EQ(p.account, before + 2 * c.perClick);
    EXPECT_EQ(r.Caption("Account1"), career::AccountText(p.account));
    for (BYTE key : c.held) keyboard.KeyUp(key);
    input->Update();
  }
  // Near the top the account stops there, as every other addition does (it used to wrap
  // to a debt of two billion).
  p.account = INT32_MAX - 500;
  keyboard.KeyDown(DIK_LCONTROL);
  keyboard.KeyDown(DIK_LSHIFT);
  input->Update();
  Click(r, "Model8");
  EXPECT_EQ(p.account, INT32_MAX);
  keyboard.KeyUp(DIK_LCONTROL);
  keyboard.KeyUp(DIK_LSHIFT);
  input->Update();
  g_inputMng = nullptr;
  input->Shutdown();
  career::DeleteProfile();
}

TEST(CareerTrainingsPage, PurchasesAndTheirLimits) {
  test::RacePagesRig r;
  struct Case {
    std::int32_t account, row, bought, weekChoice;
    bool tuesday, thursday;
    const char* answer;  ///< of the question, or null
    std::string box;
    std::int32_t accountAfter;
  };
  const std::string question = r.strings.Find("#str343");
  const Case cases[] = {
      {5000, 0, 0, -1, false, true, nullptr, "", 3000},
      {5000, 1, 0, -1, false, false, nullptr, r.strings.Find("#str345"), 5000},
      {5000, 0, 1, -1, true, false, "Yes1", question, 3000},
      {5000, 0, 1, -1, true, false, "No1", question, 5000},
      {5000, 0, 2, -1, false, false, nullptr, r.strings.Find("#str344"), 5000},
      {5000, 0, 1, 2, false, false, nullptr, r.strings.Find("#str346"), 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row * 100 + c.bought * 10 + (c.answer ? 1 : 0));
    N_CareerProfile& p = Fresh(r, c.account);
    p.weekChoicesBought = c.bought;
    p.weekChoice = c.weekChoice;
    if (c.tuesday) career::Week().days[1].push_back(*career::ScheduleItem(1));
    if (c.thursday) career::Week().days[3].push_back(*career::ScheduleItem(1));
    CareerTrainingsShow(nullptr);
    r.ElementAs<N_GuiTable>("TTable1").SelectRow(c.row);
    CareerTrainingsClick(&r.Element("Buy1"));
    if (c.answer) {
      EXPECT_EQ(r.Caption("Label1"), c.box);
      cbTrainingBuy(&r.Element(c.answer));
    } else if (!c.box.empty()) {
      EXPECT_EQ(r.Caption("Label2"), c.box);
    }
    const bool bought = c.accountAfter != c.account;
    EXPECT_EQ(p.account, c.accountAfter);
    EXPECT_EQ(p.weekChoice, bought ? c.row : c.weekChoice);
    EXPECT_EQ(p.weekChoicesBought, c.bought + (bought ? 1 : 0));
    EXPECT_EQ(career::Week().days[1].empty(), !c.tuesday || bought);
    EXPECT_EQ(career::Week().days[3].size(), c.thursday ? 1u : 0u);
    Refusal(r);
  }
  EXPECT_EQ(r.Rows("TTable1")[0][0], r.strings.Find("#str278"));
  EXPECT_EQ(r.Rows("TTable1")[0][2], "2000");
  career::DeleteProfile();
}

// A purchase made while Monday is the selected day: Monday stays checked but disabled
// and books nothing until another day is chosen.
TEST(CareerTrainingsPage, ABlockedSelectedDayBooksNothing) {
  test::RacePagesRig r;
  N_CareerProfile& p = Fresh(r, 5000);
  CareerTrainingsShow(nullptr);
  r.ElementAs<N_GuiTable>("TTable1").SelectRow(0);
  CareerTrainingsClick(&r.Element("Buy1"));
  ASSERT_EQ(p.weekChoice, 0);
  EXPECT_TRUE(r.ElementAs<N_GuiCheckBox>("Monday").IsChecked());
  EXPECT_FALSE(r.Element("Monday").IsEnabled());
  r.ElementAs<N_GuiTable>("Tasks1").SelectRow(1);
  Click(r, "Add3");
  EXPECT_EQ(p.account, 3000);
  EXPECT_TRUE(career::Week().days[0].empty());
  Book(r, "Thursday", 1);
  EXPECT_EQ(p.account, 2950);
  EXPECT_EQ(career::Week().days[3].size(), 1u);
  career::DeleteProfile();
}

TEST(CareerTravelPage, TravelDayFreeTripAvailabilityAndPrices) {
  test::RacePagesRig r;
  // The travel day opens the page while no hotel is chosen: Friday, or Thursday in an
  // extra-race week.
  for (const std::int32_t raceIndex : {0, 3}) {
    N_CareerProfile& p = Fresh(r, 5000);
    p.raceIndex = raceIndex;
    CareerShow(nullptr);
    const char* day = raceIndex == 3 ? "Thursday" : "Friday";
    EXPECT_EQ(r.Element("Friday").IsEnabled(), raceIndex != 3);
    Click(r, raceIndex == 3 ? "Friday" : "Thursday");
    EXPECT_FALSE(r.PageVisible("CareerTravel")) << "not the travel day";
    Click(r, day);
    EXPECT_TRUE(r.PageVisible("CareerTravel")) << day;
    EXPECT_FALSE(r.PageVisible("Career"));
    CareerTravelClick(&r.Element("Continue2"));
    EXPECT_FALSE(r.PageVisible("CareerTravel"));
    EXPECT_EQ(p.hotel, 0);
    EXPECT_EQ(p.account, 5000 - p.carCost - career::Week().hotelPrices[0]);
    EXPECT_EQ(career::Week().days[raceIndex == 3 ? 3 : 4].back().id, career::kCarItem);
    Click(r, day);
    EXPECT_FALSE(r.PageVisible("CareerTravel"));
  }
  // Free trips: booked, not charged, and "Continue2" only closes.
  for (int i = 0; i < 20; ++i) {
    N_CareerProfile& p = Fresh(r, 0);
    CareerTravelShow(nullptr);
    const auto& friday = career::Week().days[4];
    ASSERT_EQ(friday.size(), 1u);
    EXPECT_EQ(friday[0].id, career::kCarItem + p.hotel);
    EXPECT_EQ(Refusal(r), r.strings.Find(("#str" + std::to_string(339 + p.hotel)).c_str()));
    CareerTravelClick(&r.Element("Continue2"));
    EXPECT_EQ(p.account, 0);
    EXPECT_EQ(friday.size(), 1u);
  }
  // Availability by pairs, and the prices over seeded showings.
  Srand(7);
  const std::int32_t low[] = {100, 200, 400, 75, 220, 400}, high[] = {300, 800, 1600, 225, 880, 1600};
  for (int i = 0; i < 200; ++i) {
    N_CareerProfile& p = Fresh(r, 2000);
    CareerTravelShow(nullptr);
    const auto& hotels = career::Week().hotelPrices;
    const std::int32_t prices[] = {p.carCost, p.trainCost, p.planeCost, hotels[0], hotels[1], hotels[2]};
    for (int k = 0; k < 6; ++k) {
      EXPECT_GE(prices[k], low[k]);
      EXPECT_LE(prices[k], high[k]);
    }
    const bool second = 2000 >= p.trainCost + hotels[1];
    const bool third = second && 2000 >= p.planeCost + hotels[2];
    EXPECT_EQ(r.Element("Train1").IsEnabled(), second);
    EXPECT_EQ(r.Element("Hotel2").IsEnabled(), second);
    EXPECT_EQ(r.Element("Plane1").IsEnabled(), third);
    EXPECT_EQ(r.Element("Hotel3").IsEnabled(), third);
    EXPECT_TRUE(r.ElementAs<N_GuiCheckBox>("Car1").IsChecked());
    EXPECT_EQ(r.Caption("CarText1"), FormatString(r.strings.Find("#str242").c_str(), p.carCost));
  }
  career::DeleteProfile();
}

TEST(CareerSponsorOffer, AcceptAndDecline) {
  test::RacePagesRig r;
  N_CareerProfile& p = Fresh(r, 1000);
  CareerWeekState& week = career::Week();
  week.sponsorEvent = 3;
  week.sponsorPrize = 1800;
  week.sponsorDay = 1;
  cbSponsorEvent(&r.Element("Yes1"));
  Click(r, "Tuesday");
  ASSERT_EQ(r.Rows("Schedule1").size(), 1u);
  EXPECT_EQ(r.Rows("Schedule1")[0][1], "1800");
  EXPECT_EQ(r.Caption("EventText1"), r.strings.Find("#str274"));
  EXPECT_EQ(p.account, 1000);
  for (const std::int32_t stage : {0, 1}) {
    p.stage = stage;
    week.sponsorEvent = 2;
    cbSponsorEvent(&r.Element("No1"));
    EXPECT_EQ(week.sponsorEvent, -1);
    EXPECT_EQ(r.Caption("EventText1"), r.strings.Find(stage == 0 ? "#str010" : "#str271"));
  }
  career::DeleteProfile();
}

}  // namespace

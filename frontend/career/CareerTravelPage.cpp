#include "frontend/career/CareerTravelPage.h"

#include "core/FormatString.h"
#include "core/Random.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/career/CareerScheduleItem.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiElement.h"

#include <array>
#include <string_view>

namespace {

/// One choice of the page: its box, its text, the text's format key and its price.
struct Choice {
  const char* box;
  const char* text;
  const char* key;
  float base;
  float highFactor;
};
constexpr std::array<Choice, 3> kTransports = {{{"Car1", "CarText1", "#str242", 200.0f, 1.5f},
                                                {"Train1", "TrainText1", "#str243", 400.0f, 2.0f},
                                                {"Plane1", "PlaneText1", "#str244", 800.0f, 2.0f}}};
constexpr std::array<Choice, 3> kHotels = {{{"Hotel1", "HotelText1", "#str246", 150.0f, 1.5f},
                                            {"Hotel2", "HotelText2", "#str247", 440.0f, 2.0f},
                                            {"Hotel3", "HotelText3", "#str248", 800.0f, 2.0f}}};

/// Set when the showing gave a free trip: "Continue2" then books nothing more.
bool g_freeTrip = false;

std::int32_t DrawPrice(const Choice& choice) {
  return static_cast<std::int32_t>(choice.base * RandomRange(0.5f, choice.highFactor));
}

void SetEnabled(const char* name, bool enabled) {
  if (N_GuiElement* element = frontend::GetElement(name)) element->SetEnabled(enabled);
}

/// Rank 1 and 2 of both groups enabled up to the rank the account covers.
void EnableRank(std::size_t rank, bool enabled) {
  for (const Choice* choice : {&kTransports[rank], &kHotels[rank]}) {
    SetEnabled(choice->box, enabled);
    SetEnabled(choice->text, enabled);
  }
}

/// The first checked box of a group; the first box when none is (as the page starts).
std::size_t CheckedOf(const std::array<Choice, 3>& group) {
  for (std::size_t i = 0; i < group.size(); ++i)
    if (const N_GuiCheckBox* box = frontend::GetElementOf<N_GuiCheckBox>(group[i].box); box && box->IsChecked())
      return i;
  return 0;
}

void BookTransport(N_CareerProfile& p, std::size_t rank, bool charge) {
  const CareerScheduleItem& item = *career::ScheduleItem(career::kCarItem + static_cast<std::int32_t>(rank));
  career::Week().days[static_cast<std::size_t>(career::TravelDay())].push_back(item);
  if (charge) p.account -= item.cost;
}

}  // namespace

namespace career {

std::int32_t TravelDay() { return Week().extraRaceWeek ? 3 : 4; }

}  // namespace career

extern "C" void CareerTravelShow(N_GuiPage* /*page*/) {
  N_CareerProfile* p = career::Profile();
  if (!p) return;
  CareerWeekState& week = career::Week();
  std::array<std::int32_t, 3> transport{};
  for (std::size_t i = 0; i < kTransports.size(); ++i) {
    transport[i] = DrawPrice(kTransports[i]);
    career::ScheduleItem(career::kCarItem + static_cast<std::int32_t>(i))->cost = transport[i];
  }
  for (std::size_t i = 0; i < kHotels.size(); ++i) week.hotelPrices[i] = DrawPrice(kHotels[i]);
  p->carCost = transport[0];
  p->trainCost = transport[1];
  p->planeCost = transport[2];

  g_freeTrip = p->account < transport[0] + week.hotelPrices[0];
  if (g_freeTrip) {
    const float r = RandomRange(0.0f, 1.0f);
    const std::size_t rank = r < 0.5f ? 0 : r < 0.8f ? 1 : 2;
    p->hotel = static_cast<std::int32_t>(rank);
    BookTransport(*p, rank, false);
    ShowMessageOK(frontend::Text(("#str" + std::to_string(339 + rank)).c_str()), "OKMsgClick");
    return;
  }
  if (p->account < transport[1] + week.hotelPrices[1]) {
    EnableRank(1, false);
    EnableRank(2, false);
  } else {
    EnableRank(1, true);
    EnableRank(2, p->account >= transport[2] + week.hotelPrices[2]);
  }
  for (std::size_t i = 0; i < kTransports.size(); ++i) {
    frontend::SetCaption(kTransports[i].text, FormatDataText(frontend::Text(kTransports[i].key).c_str(), "%d", transport[i]));
    if (auto* box = frontend::GetElementOf<N_GuiCheckBox>(kTransports[i].box)) box->SetChecked(i == 0);
    frontend::SetCaption(kHotels[i].text, FormatDataText(frontend::Text(kHotels[i].key).c_str(), "%d", week.hotelPrices[i]));
    if (auto* box = frontend::GetElementOf<N_GuiCheckBox>(kHotels[i].box)) box->SetChecked(i == 0);
  }
}

extern "C" void CareerTravelClick(N_GuiElement* element) {
  N_CareerProfile* p = career::Profile();
  if (!element || element->GetName() != "Continue2" || !p) return;
  // After a free trip the transport and the hotel are booked already.
  if (!g_freeTrip) {
    BookTransport(*p, CheckedOf(kTransports), true);
    const std::size_t hotel = CheckedOf(kHotels);
    p->hotel = static_cast<std::int32_t>(hotel);
    p->account -= career::Week().hotelPrices[hotel];
  }
  g_freeTrip = false;
  frontend::HidePageNow("CareerTravel");
  frontend::ShowPageNow("Career");
}

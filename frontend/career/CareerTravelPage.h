#pragma once
// The page "CareerTravel": the trip to the week's venue and the hotel there, at prices
// drawn anew at every showing. The transport becomes an item of the travel day
// (Thursday in an extra-race week, else Friday); a player who cannot pay the
// cheapest pair is given a trip.
#include <cstdint>

class N_GuiElement;
class N_GuiPage;

namespace career {
/// Thursday (3) in an extra-race week, else Friday (4).
std::int32_t TravelDay();
}  // namespace career

extern "C" {
void CareerTravelShow(N_GuiPage* page);
/// "Continue2": books and charges the checked transport and hotel (after a free trip
/// it only closes the page).
void CareerTravelClick(N_GuiElement* element);
}

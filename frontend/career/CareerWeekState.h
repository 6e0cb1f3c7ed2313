#pragma once
// The career week state: what the current week holds beside the profile record. The
// record keeps a copy (the schedule ids, the event and the travel costs) written on
// every save and read back on every load.
#include "frontend/career/CareerScheduleItem.h"

#include <array>
#include <cstdint>
#include <vector>

struct CareerWeekState {
  static constexpr std::size_t kDays = 5;

  /// Monday (0) to Friday (4): the booked items in booking order, at most four units a day.
  std::array<std::vector<CareerScheduleItem>, kDays> days;
  std::int32_t sponsorEvent = -1;  ///< 0 to 5, -1 none
  std::int32_t sponsorPrize = 0;   ///< EUR
  std::int32_t sponsorDay = 0;     ///< 0 to 2, Monday to Wednesday
  /// Set while the race week is one of the profile's two extra-race weeks; recomputed
  /// by the week header and never saved.
  bool extraRaceWeek = false;
  std::array<std::int32_t, 3> hotelPrices = {};  ///< the travel page's three hotels
  /// Set from the end of the working week (its plan applied and emptied) until its
  /// first race is booked: the saved profile still holds the week as planned, and a
  /// save in between would lose the plan without its race.
  bool weekPlayedOut = false;

  /// Units booked on a day (0 for a day outside 0 to 4).
  std::int32_t DayLoad(std::int32_t day) const;
  /// Empties the five lists and releases their storage.
  void ClearDays();
};

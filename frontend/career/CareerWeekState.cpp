#include "frontend/career/CareerWeekState.h"

std::int32_t CareerWeekState::DayLoad(std::int32_t day) const {
  if (day < 0 || day >= static_cast<std::int32_t>(kDays)) return 0;
  std::int32_t load = 0;
  for (const CareerScheduleItem& item : days[static_cast<std::size_t>(day)]) load += item.units;
  return load;
}

void CareerWeekState::ClearDays() {
  for (auto& list : days) std::vector<CareerScheduleItem>().swap(list);
}

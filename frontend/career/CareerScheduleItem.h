#pragma once
// The items a career week is planned with: the bookable trainings (rows 0 to 7), the
// sponsor event (row 8) and the three ways to travel (rows 9 to 11). The table is
// mutable: the costs of rows 8 to 11 are set while the career runs (the accepted
// event's prize, the travel page's prices).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

/// One row of the schedule item table; a week list holds copies.
struct CareerScheduleItem {
  std::uint8_t id = 0;       ///< 0 to 11, equal to its row
  char title[11] = {};       ///< string-table key of the title ("#str249")
  std::int32_t cost = 0;     ///< EUR paid when booked, refunded when removed
  std::uint8_t units = 0;    ///< of a day's four time units
  std::uint8_t maxPerDay = 0;  ///< units of this item one day may hold at most
};

namespace career {

inline constexpr std::size_t kScheduleItems = 12;
inline constexpr std::int32_t kBookableItems = 8;  ///< rows 0 to 7
inline constexpr std::int32_t kSponsorItem = 8;
inline constexpr std::int32_t kCarItem = 9, kTrainItem = 10, kPlaneItem = 11;
inline constexpr std::int32_t kUnitsPerDay = 4;

using ScheduleTable = std::array<CareerScheduleItem, kScheduleItems>;

/// The table as the program starts (costs of rows 8 to 11 are 0).
const ScheduleTable& DefaultScheduleItems();
/// The one mutable table of the running game.
ScheduleTable& ScheduleItems();
/// Row `id` of the table; null for an id outside 0 to 11.
CareerScheduleItem* ScheduleItem(std::int32_t id);

/// The table row's line of the GUI tables "Tasks1" and "Schedule1":
/// "\"title text\" cost units maxPerDay".
std::string ScheduleItemRow(const CareerScheduleItem& item);

}  // namespace career

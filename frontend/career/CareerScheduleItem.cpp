#include "frontend/career/CareerScheduleItem.h"

#include "frontend/FrontendUtil.h"

namespace career {
namespace {

constexpr CareerScheduleItem Row(std::uint8_t id, const char (&title)[8], std::int32_t cost, std::uint8_t units,
                                 std::uint8_t maxPerDay) {
  CareerScheduleItem item;
  item.id = id;
  for (std::size_t i = 0; i < sizeof title; ++i) item.title[i] = title[i];
  item.cost = cost;
  item.units = units;
  item.maxPerDay = maxPerDay;
  return item;
}

constexpr ScheduleTable kDefaults = {
    Row(0, "#str249", 10, 1, 2),  Row(1, "#str250", 50, 1, 2),  Row(2, "#str251", 100, 1, 2),
    Row(3, "#str252", 70, 1, 1),  Row(4, "#str253", 100, 2, 4), Row(5, "#str254", 100, 1, 2),
    Row(6, "#str255", 100, 1, 4), Row(7, "#str256", 150, 1, 1), Row(8, "#str263", 0, 2, 2),
    Row(9, "#str266", 0, 4, 4),   Row(10, "#str267", 0, 2, 2),  Row(11, "#str268", 0, 1, 1),
};

ScheduleTable g_items = kDefaults;

}  // namespace

const ScheduleTable& DefaultScheduleItems() { return kDefaults; }
ScheduleTable& ScheduleItems() { return g_items; }

CareerScheduleItem* ScheduleItem(std::int32_t id) {
  if (id < 0 || id >= static_cast<std::int32_t>(kScheduleItems)) return nullptr;
  return &g_items[static_cast<std::size_t>(id)];
}

std::string ScheduleItemRow(const CareerScheduleItem& item) {
  return frontend::QuotedCell(frontend::Text(item.title)) + " " + std::to_string(item.cost) + " " +
         std::to_string(item.units) + " " + std::to_string(item.maxPerDay);
}

}  // namespace career

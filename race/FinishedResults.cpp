#include "race/FinishedResults.h"

#include "race/ExportData.h"

#include <map>

namespace {

struct Results {
  std::map<std::int32_t, std::unique_ptr<ExportData>> records;
  std::int32_t next = 1;  ///< the next handle; counts up, never back
};

Results& Kept() {
  static Results results;
  return results;
}

}  // namespace

std::int32_t StoreFinishedResult(std::unique_ptr<ExportData> result) {
  if (!result) return 0;
  Results& kept = Kept();
  // After two billion races the handles would start again at 1, past those still kept.
  while (kept.records.count(kept.next) != 0) kept.next = kept.next == INT32_MAX ? 1 : kept.next + 1;
  const std::int32_t handle = kept.next;
  kept.next = handle == INT32_MAX ? 1 : handle + 1;
  kept.records.emplace(handle, std::move(result));
  return handle;
}

ExportData* GetFinishedResult(std::int32_t handle) {
  const Results& kept = Kept();
  const auto found = kept.records.find(handle);
  return found == kept.records.end() ? nullptr : found->second.get();
}

void ReleaseFinishedResult(std::int32_t handle) { Kept().records.erase(handle); }

void ReleaseAllFinishedResults() { Kept().records.clear(); }

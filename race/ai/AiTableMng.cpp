#include "race/ai/AiTableMng.h"

#include "core/Convert.h"
#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/TableFile.h"
#include "race/ai/AiLog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Ai {

namespace {

/// The answer for an animation without a loaded row: a standing row at full effort load.
constexpr N_AiTableMng::PhysicRow kDefaultRow = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0, 0, 0, 0, 0};
/// The largest size of a physics value the race step can use (propulsions are in the
/// hundreds, speeds, rates and angles far below).
constexpr float kPhysicLimit = 1.0e4f;
/// The values of a strategy that cannot be read.
constexpr float kDefaultStrategyValue = 0.5f;

/// The field as a number: false (with 0.0, as the C library's conversion gives it)
/// when the field is not one number.
bool ReadNumber(const std::string& field, float& out) {
  char* end = nullptr;
  const double value = std::strtod(field.c_str(), &end);
  out = SaturatingToFloat(PlainAtof(field.c_str()));
  return end != field.c_str() && *end == '\0' && std::isfinite(value);
}

/// The damage found in one file, said once when the file is read: the first fault and
/// how many more, in "Ai.log" and in the engine log, naming the file.
class FileFaults {
 public:
  explicit FileFaults(std::string file) : m_file(std::move(file)) {}
  FileFaults(const FileFaults&) = delete;
  FileFaults& operator=(const FileFaults&) = delete;
  ~FileFaults() {
    if (m_count == 0) return;
    std::string line = "!!! " + m_file + ": " + m_first;
    if (m_count > 1) line += " (and " + std::to_string(m_count - 1) + " more)";
    N_AiLog::Write(line);
    if (g_log) g_log->Print("%s\n", line.c_str());
  }

  void Note(const std::string& fault) {
    if (m_count++ == 0) m_first = fault;
  }
  /// The field as a number within -limit..limit; else noted and `fallback`.
  float Number(const std::string& field, float limit, float fallback) {
    float value = 0.0f;
    if (!ReadNumber(field, value)) {
      Note("'" + field + "' is not a number");
      return fallback;
    }
    if (std::fabs(value) > limit) {
      Note(field + " is out of range");
      return fallback;
    }
    return value;
  }

 private:
  std::string m_file;
  std::string m_first;
  int m_count = 0;
};

}  // namespace

void N_AiTableMng::LoadStrategies(const std::string& folder) {
  N_AiLog::Write("Ai::N_AiTableMng: Loading ai strategies.");
  std::string report;
  N_DirSearch search(report, folder, "*.all", false, true);
  N_AiLog::Write(report);
  int lists = 0;
  for (std::string found = search.GetCurrent(); !found.empty(); search.Next(), found = search.GetCurrent()) {
    ++lists;
    LoadStrategyList(folder, found);
  }
  if (lists == 0) FileFaults(folder).Note("no strategy list (*.all): the computer racers have no race plan");
  N_AiLog::Write("Ai::N_AiTableMng: Loading ai strategies done.");
}

void N_AiTableMng::LoadStrategyList(const std::string& folder, const std::string& listName) {
  N_TableFile list;
  list.Open(folder + listName);
  FileFaults faults(folder + listName);
  int pairs = 0;
  for (std::string field = list.NextField(); !field.empty(); field = list.NextField()) {
    auto strategy = std::make_unique<N_AiStrategy>();
    // The key is drawn against a number from 0 to 1: one outside is never chosen.
    float key = 0.0f;
    const bool number = ReadNumber(field, key);
    strategy->name = list.NextField();
    ++pairs;
    if (strategy->name.empty()) {
      faults.Note("key " + field + " has no strategy name");
      break;
    }
    if (!number) faults.Note("key '" + field + "' of " + strategy->name + " is not a number");
    if (number && (key < 0.0f || key > 1.0f)) {
      faults.Note("key " + field + " of " + strategy->name + " is not within 0..1");
      key = std::clamp(key, 0.0f, 1.0f);
    }
    strategy->key = key;
    if (ReadStrategyValues(folder, *strategy)) {
      N_AiLog::Write("Ai::N_AiTableMng: Strategy " + strategy->name + " loaded.");
      m_strategies.push_back(std::move(strategy));
    } else {
      N_AiLog::Write("!!! Ai::N_AiTableMng: Strategy " + strategy->name + " failed.");
    }
  }
  if (pairs == 0) faults.Note("no strategy in the list");
}

bool N_AiTableMng::ReadStrategyValues(const std::string& folder, N_AiStrategy& strategy) {
  const std::string fileName = folder + strategy.name + ".strategy";
  FileFaults faults(fileName);
  N_TableFile file;
  if (!file.Open(fileName)) {
    N_AiLog::Write(fileName + " not exist");
    faults.Note("missing: strategy " + strategy.name + " is dropped");
    return false;
  }
  std::vector<float> values;
  for (std::string field = file.NextField(); !field.empty(); field = file.NextField()) {
    values.push_back(faults.Number(field, std::numeric_limits<float>::max(), kDefaultStrategyValue));
  }
  if (values.size() < 2) {
    strategy.values = {kDefaultStrategyValue, kDefaultStrategyValue};
    N_AiLog::Write("Strategy Table " + strategy.name + "has not enought values.");
    faults.Note("fewer than two values: strategy " + strategy.name + " is dropped");
    return false;
  }
  strategy.values = std::move(values);
  return true;
}

void N_AiTableMng::LoadAnimPhysicTable(const std::string& fileName) {
  N_AiLog::Write("Ai::N_AiTableMng: Loading AnimPhysicTable.");
  FileFaults faults(fileName);
  N_TableFile file;
  const bool opened = file.Open(fileName);
  if (!opened) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiTableMng: Loading AnimPhysicTable failed !!!   File %s not exist",
                                fileName.c_str()));
    faults.Note("missing: every skier technique stands still");
  }
  for (std::string field = file.NextField(); !field.empty(); field = file.NextField()) {
    auto row = std::make_unique<PhysicRow>();
    for (std::size_t column = 0; column < std::size_t(kColumns); ++column) {
      if (column > 0) field = file.NextField();
      if (field.empty()) {  // the file ends inside the row: the rest stays 0.0
        faults.Note("row " + std::to_string(m_physicRows.size()) + " ends after " + std::to_string(column) +
                    " numbers");
        break;
      }
      (*row)[column] = faults.Number(field, kPhysicLimit, kDefaultRow[column]);
    }
    m_physicRows.push_back(std::move(row));
  }
  const bool whole = m_physicRows.size() == kAnimations;
  if (opened && !whole) faults.Note(std::to_string(m_physicRows.size()) + " rows where 48 are expected");
  N_AiLog::Write(whole ? "Ai::N_AiTableMng: Loading AnimPhysicTable done."
                       : "Ai::N_AiTableMng: Loading AnimPhysicTable failed !!!!.");
}

void N_AiTableMng::LoadAnimBlendTimes(const std::string& fileName) {
  N_AiLog::Write("Ai::N_AiTableMng: Loading AnimBlendTimes.");
  FileFaults faults(fileName);
  N_TableFile file;
  const bool opened = file.Open(fileName);
  if (!opened) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiTableMng: Loading AnimBlendTimes failed!!!!! File %s not exist.",
                                fileName.c_str()));
    faults.Note("missing: no animation blends");
  }
  int missing = 0;
  for (int row = 0; row < kAnimations; ++row) {
    std::vector<float> values;
    values.reserve(kAnimations);
    for (int column = 0; column < kAnimations; ++column) {
      const std::string& field = file.NextField();
      if (field.empty()) {
        N_AiLog::Write("Ai::N_AiTableMng: Loading AnimBlendTimes failed !!!!.");
        ++missing;
      } else {
        // Seconds: a negative time blends at once.
        const float time = faults.Number(field, std::numeric_limits<float>::max(), 0.0f);
        if (time < 0.0f) faults.Note(field + " seconds is negative");
        values.push_back(std::max(time, 0.0f));
      }
    }
    m_blendTimes.push_back(std::move(values));
  }
  if (opened && missing > 0) faults.Note(std::to_string(missing) + " of the 48 x 48 times are missing");
  if (!file.NextField().empty()) faults.Note("more than 48 x 48 times: the rest is not read");
}

const float* N_AiTableMng::GetAnimPhysicRow(int animation) const {
  if (animation >= 0 && static_cast<std::size_t>(animation) < m_physicRows.size()) {
    return m_physicRows[std::size_t(animation)]->data();
  }
  if (m_reportedRows.insert(animation).second) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiTableMng: AnimPhysicTable has no row %d, a default row is used.", animation));
  }
  return kDefaultRow.data();
}

float N_AiTableMng::GetAnimBlendTime(int from, int to) const {
  if (from >= 0 && static_cast<std::size_t>(from) < m_blendTimes.size() && to >= 0) {
    const std::vector<float>& row = m_blendTimes[std::size_t(from)];
    if (static_cast<std::size_t>(to) < row.size()) return row[std::size_t(to)];
  }
  if (m_reportedBlends.insert({from, to}).second) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiTableMng: AnimBlendTimes has no time from %d to %d, 0.0 is used.", from, to));
  }
  return 0.0f;
}

const N_AiStrategy* N_AiTableMng::FindStrategy(float a) const {
  const float v = RandomRange(a, 1.0f);
  const N_AiStrategy* best = nullptr;
  float bound = 1.0f;
  for (const auto& strategy : m_strategies) {
    const float d = std::fabs(strategy->key - v);
    if (d < bound) {  // strictly nearer: the first of equally near strategies stays
      best = strategy.get();
      bound = d;
    }
  }
  return best;
}

}  // namespace Ai

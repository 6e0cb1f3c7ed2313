#include "race/ai/AiTableMng.h"

#include "core/Convert.h"
#include "core/FileFinder.h"
#include "core/Random.h"
#include "core/TableFile.h"
#include "race/ai/AiLog.h"

#include <cmath>

namespace Ai {

namespace {

/// The answer for an animation without a loaded row: a standing row at full effort load.
constexpr N_AiTableMng::PhysicRow kDefaultRow = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0, 0, 0, 0, 0};

float ToNumber(const std::string& field) { return SaturatingToFloat(PlainAtof(field.c_str())); }

}  // namespace

void N_AiTableMng::LoadStrategies(const std::string& folder) {
  N_AiLog::Write("Ai::N_AiTableMng: Loading ai strategies.");
  std::string report;
  N_DirSearch search(report, folder, "*.all", false, true);
  N_AiLog::Write(report);
  for (std::string found = search.GetCurrent(); !found.empty(); search.Next(), found = search.GetCurrent()) {
    N_TableFile list;
    list.Open(folder + found);
    for (std::string field = list.NextField(); !field.empty(); field = list.NextField()) {
      auto strategy = std::make_unique<N_AiStrategy>();
      strategy->key = ToNumber(field);
      strategy->name = list.NextField();
      if (ReadStrategyValues(folder, *strategy)) {
        N_AiLog::Write("Ai::N_AiTableMng: Strategy " + strategy->name + " loaded.");
        m_strategies.push_back(std::move(strategy));
      } else {
        N_AiLog::Write("!!! Ai::N_AiTableMng: Strategy " + strategy->name + " failed.");
      }
    }
  }
  N_AiLog::Write("Ai::N_AiTableMng: Loading ai strategies done.");
}

bool N_AiTableMng::ReadStrategyValues(const std::string& folder, N_AiStrategy& strategy) {
  const std::string fileName = folder + strategy.name + ".strategy";
  N_TableFile file;
  if (!file.Open(fileName)) {
    N_AiLog::Write(fileName + " not exist");
    return false;
  }
  std::vector<float> values;
  for (std::string field = file.NextField(); !field.empty(); field = file.NextField()) values.push_back(ToNumber(field));
  if (values.size() < 2) {
    strategy.values = {0.5f, 0.5f};
    N_AiLog::Write("Strategy Table " + strategy.name + "has not enought values.");
    return false;
  }
  strategy.values = std::move(values);
  return true;
}

void N_AiTableMng::LoadAnimPhysicTable(const std::string& fileName) {
  N_AiLog::Write("Ai::N_AiTableMng: Loading AnimPhysicTable.");
  N_TableFile file;
  if (!file.Open(fileName)) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiTableMng: Loading AnimPhysicTable failed !!!   File %s not exist",
                                fileName.c_str()));
  }
  for (std::string field = file.NextField(); !field.empty(); field = file.NextField()) {
    auto row = std::make_unique<PhysicRow>();
    (*row)[0] = ToNumber(field);
    for (int column = 1; column < kColumns; ++column) (*row)[std::size_t(column)] = ToNumber(file.NextField());
    m_physicRows.push_back(std::move(row));
  }
  N_AiLog::Write(m_physicRows.size() == kAnimations ? "Ai::N_AiTableMng: Loading AnimPhysicTable done."
                                                     : "Ai::N_AiTableMng: Loading AnimPhysicTable failed !!!!.");
}

void N_AiTableMng::LoadAnimBlendTimes(const std::string& fileName) {
  N_AiLog::Write("Ai::N_AiTableMng: Loading AnimBlendTimes.");
  N_TableFile file;
  if (!file.Open(fileName)) {
    N_AiLog::Write(FormatAiLine("Ai::N_AiTableMng: Loading AnimBlendTimes failed!!!!! File %s not exist.",
                                fileName.c_str()));
  }
  for (int row = 0; row < kAnimations; ++row) {
    std::vector<float> values;
    values.reserve(kAnimations);
    for (int column = 0; column < kAnimations; ++column) {
      const std::string& field = file.NextField();
      if (field.empty()) {
        N_AiLog::Write("Ai::N_AiTableMng: Loading AnimBlendTimes failed !!!!.");
      } else {
        values.push_back(ToNumber(field));
      }
    }
    m_blendTimes.push_back(std::move(values));
  }
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

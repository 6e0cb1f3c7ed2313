#pragma once
// One AI race plan: its parameters (at least two numbers) and the key by which
// N_AiTableMng::FindStrategy chooses it. Read from "Data\Ai\Strategy\" + name +
// ".strategy"; the racer keeps the chosen one for its race.
#include <string>
#include <vector>

namespace Ai {

struct N_AiStrategy {
  std::vector<float> values;  ///< the count is values.size()
  std::string name;
  float key = 0.0f;
};

}  // namespace Ai

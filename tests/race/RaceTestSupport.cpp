#include "tests/race/RaceTestSupport.h"

#include "core/FormatString.h"
#include "race/ai/AiLog.h"
#include "scene/Level.h"

#include <algorithm>

namespace test {

RaceRig::RaceRig() {
  platform::SetMessageBoxAnswerHook([this](const std::string& text, const std::string& caption, UINT) {
    boxes.push_back({caption, text});
    return answer;
  });
  CreateAiLog();
}

RaceRig::~RaceRig() {
  DeleteAiLog();
  platform::SetMessageBoxHook({});
}

std::vector<std::string> RaceRig::AiLogLines() const {
  const std::string text = dir.Read("Ai.log");
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', from)) {
    lines.push_back(text.substr(from, nl - from));
    from = nl + 1;
  }
  if (from < text.size()) lines.push_back(text.substr(from));
  return lines;
}

std::vector<std::unique_ptr<Ai::N_AiSector>> BuildSectorChain(const std::vector<N_Vector3>& left,
                                                               const std::vector<N_Vector3>& ideal,
                                                               const std::vector<N_Vector3>& right, bool closed,
                                                               std::int32_t pathKind) {
  std::vector<std::unique_ptr<Ai::N_AiSector>> sectors;
  auto section = [&](std::size_t k) {
    auto m = std::make_unique<N_Matrix3>();
    m->SetRows(left[k], ideal[k], right[k]);
    return m;
  };
  for (std::size_t k = 0; k + 1 < left.size(); ++k) {
    sectors.push_back(std::make_unique<Ai::N_AiSector>());
    sectors.back()->ComputePlanes(section(k), section(k + 1), pathKind);
    if (k > 0) Ai::N_AiSector::Link(sectors[k - 1].get(), sectors[k].get());
  }
  if (closed && !sectors.empty()) Ai::N_AiSector::Link(sectors.back().get(), sectors.front().get());
  return sectors;
}

std::vector<std::unique_ptr<Ai::N_AiSector>> BuildStraightCourse(float x0, float x1, float step, float halfWidth,
                                                                  float z) {
  std::vector<N_Vector3> left, ideal, right;
  for (float x = x0; x <= x1; x += step) {
    left.push_back({x, halfWidth, z});
    ideal.push_back({x, 0.0f, z});
    right.push_back({x, -halfWidth, z});
  }
  return BuildSectorChain(left, ideal, right, false);
}

void FillStartPlaceSets(N_Level& level, int gridPoints, const std::vector<std::string>& skip) {
  auto add = [&](const std::string& name, const std::vector<N_Vector3>& points) {
    if (std::find(skip.begin(), skip.end(), name) == skip.end()) level.AddPointSet(name, points);
  };
  for (int i = 0; i < 15; ++i) {
    const float x = 100.0f * float(i);
    add(FormatString("Info_Hunting_Start%02d", i), {{x, 0, 0}, {x, 10, 0}});
  }
  add("Info_HuntingStartTan", {{0, 0, 0}, {0, 3, 0}});
  std::vector<N_Vector3> grid;
  for (int k = 0; k < gridPoints; ++k) grid.push_back({10.0f * float(k), 50, 0});
  add("Info_Grid_MassStart", grid);
  add("Info_MassStartTan", {{0, 0, 0}, {4, 0, 0}});
  add("Info_Sprint_Start", {{0, 500, 0}, {0, 600, 0}});
  add("Info_Relay_Start", {{0, 700, 0}, {10, 700, 0}});
  for (int i = 0; i < 4; ++i) {
    const float x = 1000.0f * float(i);
    add(FormatString("Info_Relay_StartsPoints_%d", i), {{x, 0, 0}, {x + 1, 0, 0}, {x + 5, 0, 0}, {x + 5, 1, 0}});
  }
}

}  // namespace test

#include "tests/race/AiPathSupport.h"

#include "core/FormatString.h"
#include "tools/CourseTrack.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace test {

course::Identifiers SampleTrack(const std::string& layout) {
  const course::Layout* l = course::FindLayout(layout);
  if (!l) throw std::runtime_error("no layout " + layout);
  return course::BuildTrack(*l, course::Terrain(*l)).identifiers;
}

course::Identifiers ThreeLaneTrack() {
  course::Identifiers ids = SampleTrack("Beitostolen");
  PointSetOf(ids, "Info_Shoot_Points").resize(3);
  PointSetOf(ids, "Info_Shoot_Target").resize(15);
  std::vector<std::string> lanes;
  for (int i = 3; i < course::kLanes; ++i) lanes.push_back(FormatString("Trigger_Shoot_%02d", i));
  Remove(ids, lanes);
  return ids;
}

std::vector<N_Vector3>& PointSetOf(course::Identifiers& ids, const std::string& name) {
  for (auto& [n, points] : ids.pointSets) {
    if (n == name) return points;
  }
  throw std::runtime_error("no point set " + name);
}

std::array<float, 15>& TriggerOf(course::Identifiers& ids, const std::string& name) {
  for (auto& [n, box] : ids.triggers) {
    if (n == name) return box;
  }
  throw std::runtime_error("no trigger " + name);
}

void Remove(course::Identifiers& ids, const std::vector<std::string>& names) {
  auto named = [&](const auto& entry) { return std::find(names.begin(), names.end(), entry.first) != names.end(); };
  std::erase_if(ids.pointSets, named);
  std::erase_if(ids.triggers, named);
}

void FillLevel(N_Level& level, const course::Identifiers& ids) {
  for (const auto& [name, points] : ids.pointSets) level.AddPointSet(name, points);
  for (const auto& [name, box] : ids.triggers) {
    N_LevelTrigger trigger;
    std::strncpy(trigger.name, name.c_str(), sizeof trigger.name - 1);
    std::copy(box.begin(), box.end(), trigger.box);
    level.triggers.push_back(trigger);
  }
}

PathRig::PathRig() {
  CopyFromGameRoot(race.dir, "data/anim/puska");
  CopyFromGameRoot(race.dir, "data/anim/terciky");
  CopyFromGameRoot(race.dir, "data/Ai");
}

bool PathRig::Load(const course::Identifiers& ids) {
  FillLevel(level, ids);
  return path.Load(level);
}

}  // namespace test

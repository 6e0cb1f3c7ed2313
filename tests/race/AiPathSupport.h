#pragma once
// Courses for the path network's tests: the sample layouts' tracks (what the course
// generator writes into the sample levels), edited per case, filled into a level.
#include "race/ai/AiPath.h"
#include "scene/Level.h"
#include "tests/race/RaceTestSupport.h"
#include "tools/CourseCheck.h"

#include <string>
#include <vector>

namespace test {

/// The race identifiers of a sample layout ("Beitostolen" or "Holmenkollen").
course::Identifiers SampleTrack(const std::string& layout);
/// The same with 3 lanes, 15 targets and the triggers of lanes 00 to 02 only.
course::Identifiers ThreeLaneTrack();

/// The point set or trigger box of the name; throws when there is none.
std::vector<N_Vector3>& PointSetOf(course::Identifiers& ids, const std::string& name);
std::array<float, 15>& TriggerOf(course::Identifiers& ids, const std::string& name);
/// Removes the point sets and triggers of the names.
void Remove(course::Identifiers& ids, const std::vector<std::string>& names);

/// Appends every point set and trigger to the level.
void FillLevel(N_Level& level, const course::Identifiers& ids);

/// A race rig with the rifle, the target figures and the AI tables of the game root.
struct PathRig {
  PathRig();
  /// Fills the level with the identifiers and loads the network.
  bool Load(const course::Identifiers& ids);
  std::string Log() const { return race.dir.Read("Ai.log"); }

  RaceRig race;
  N_Level level;
  Ai::N_AiPath path;
};

}  // namespace test

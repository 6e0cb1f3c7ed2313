#pragma once
// The race's part of a sample course: the eight paths as cross-sections, and every
// named point set and trigger box the race reads (tools/CourseCheck.h lists the
// rules). Built from a layout in the stadium's frame and placed on the terrain.
//
// The Normal path is a ring: the stadium straight (finish fork, range, penalty fork,
// start junctions, each event in a sector of its own), then the loop and back. The
// branch paths share the cross-sections of the Normal sector they join (their junction
// sector); the start paths begin in the start area south of the straight and run into
// the straight, the finish path forks off to the finish lane, the penalty loop turns
// off to the north and back into its junction, the range's by-pass runs south of the
// range, and the arcade short cut cuts across the loop.
#include "tools/CourseCheck.h"
#include "tools/CourseGeometry.h"
#include "tools/CourseLayout.h"

#include <array>
#include <vector>

namespace course {

struct Track {
  /// The cross-sections of each path, by PathKind; the rings end on their first.
  std::array<std::vector<Section>, kPathNames.size()> paths;
  /// Every named point set (the paths' polylines, the race's places, the menu camera's
  /// path) and trigger box.
  Identifiers identifiers;
  /// Where the stadium straight ends, in the stadium's frame (the loop starts there).
  float exitX = 0.0f;
  /// The start area's own frame (tools/CourseStadium.h) within the stadium's frame.
  Frame startArea;
};

Track BuildTrack(const Layout& layout, const Terrain& terrain);

}  // namespace course

#pragma once
// The course generator: a layout in, a level file and its ".cfg" out. A course is its
// track (the race's paths, places and triggers, tools/CourseTrack.h) and its scenery
// (ground, track, stadium, trees, lights, sounds, spectators, cameras); the generator
// checks the track against the race's rules (tools/CourseCheck.h) and refuses to write
// a course that breaks them.
//
//   datagen: the sample courses below "data\levels\" (the "courses" step)
//   coursegen <game root> <name> <layout> [fog]: one course
#include "tools/CourseCheck.h"
#include "tools/CourseLayout.h"
#include "tools/CourseTrack.h"
#include "tools/LevelWriter.h"
#include "tools/Step.h"

#include <string>
#include <vector>

namespace course {

struct Course {
  Layout layout;
  Track track;
  datagen::LevelData level;        ///< the level file's content, the track's identifiers included
  std::vector<std::uint8_t> lightmap;  ///< the ground's lightmap (DDS)
  std::string lightmapName;        ///< as the level names it: "levels/<name>_lm"
  float mapQuad[4] = {};           ///< the course's map rectangle: x0, y0 (top left), x1, y1
};

/// The whole course of a layout.
Course BuildCourse(const Layout& layout);

/// The level's settings file: fog, shadow colour, the map rectangle; the fog variant
/// turns the linear fog and the mist overlay on.
std::string LevelSettings(const Course& course, bool fog);

/// The level file name below "data\levels\": "<name>.alf", "fog_<name>.alf" for fog.
std::string LevelFileName(const std::string& name, bool fog);

/// Checks the course and writes "data/levels/<file>", its ".cfg" and the lightmap;
/// false (with every fault on stderr) when the course breaks a rule or a file cannot be
/// written. `name` is the level's name, which may differ from the layout's.
bool WriteCourse(datagen::Output& out, const Course& course, const std::string& name, bool fog);

}  // namespace course

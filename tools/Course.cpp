#include "tools/Course.h"

#include "tools/CourseScenery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace course {

namespace {

/// The ground reaches this far beyond the track, the map rectangle this far.
constexpr float kGroundMargin = 3000.0f;
constexpr float kMapMargin = 500.0f;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

/// The track's point sets and triggers as level records.
void AddIdentifiers(const Identifiers& identifiers, datagen::LevelData& level) {
  for (const auto& [name, points] : identifiers.pointSets) level.pointSets.push_back({name, points});
  for (const auto& [name, box] : identifiers.triggers) level.triggers.push_back({name, box});
}

}  // namespace

Course BuildCourse(const Layout& layout) {
  Course course;
  course.layout = layout;
  const Terrain terrain(layout);
  course.track = BuildTrack(layout, terrain);
  const Bounds ground = TrackBounds(course.track, kGroundMargin);
  const Bounds map = TrackBounds(course.track, kMapMargin);
  course.mapQuad[0] = map[0];
  course.mapQuad[1] = map[3];
  course.mapQuad[2] = map[2];
  course.mapQuad[3] = map[1];
  course.lightmapName = "levels/" + Lower(layout.name) + "_lm";
  BuildScenery(layout, terrain, course.track, ground, course.lightmapName, course.level);
  AddIdentifiers(course.track.identifiers, course.level);
  course.lightmap = GroundLightmap(layout, terrain, ground);
  return course;
}

std::string LevelSettings(const Course& course, bool fog) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "// Settings of the level %s%s, written with it by the course generator.\n"
                "foglinear %d\n"
                "foglinearnear %d\n"
                "foglinearfar %d\n"
                "fogcolor %s\n"
                "playerShadowColor 7A8494\n"
                "MapQuad \"%.3f %.3f %.3f %.3f\"\n"
                "%s",
                fog ? "fog_" : "", course.layout.name.c_str(), fog ? 1 : 0, fog ? 600 : 4000, fog ? 6500 : 18000,
                fog ? "C9CFD8" : "B4C2D6", double(course.mapQuad[0]), double(course.mapQuad[1]),
                double(course.mapQuad[2]), double(course.mapQuad[3]), fog ? "HmlaHackSet 1\n" : "");
  return text;
}

std::string LevelFileName(const std::string& name, bool fog) { return (fog ? "fog_" : "") + name + ".alf"; }

bool WriteCourse(datagen::Output& out, const Course& course, const std::string& name, bool fog) {
  const std::vector<std::string> faults = CheckCourse(course.track.identifiers);
  if (!faults.empty()) {
    for (const std::string& fault : faults) std::fprintf(stderr, "coursegen: %s: %s\n", name.c_str(), fault.c_str());
    std::fprintf(stderr, "coursegen: %s breaks the race's rules and is not written\n", name.c_str());
    return false;
  }
  const std::string file = "data/levels/" + LevelFileName(name, fog);
  const std::string settings = LevelSettings(course, fog);
  bool ok = out.Write(file, datagen::EncodeLevel(course.level));
  ok = out.Write(file + ".cfg", std::vector<std::uint8_t>(settings.begin(), settings.end())) && ok;
  return out.Write("data/" + course.lightmapName + ".dds", course.lightmap) && ok;
}

}  // namespace course

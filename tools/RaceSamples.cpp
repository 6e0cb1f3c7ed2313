// Step "race": the pictures of the race pages' materials (data/scripts/race.shader):
// the status panel's, the shooting display's, the flags, the weather and snow icons
// (tools/RacePictures.h), and a map per level of the level tables, drawn from its
// course (tools/CourseMap.h) for every level with one and plain for the rest.
#include "tools/CourseMap.h"
#include "tools/RacePictures.h"
#include "tools/Step.h"

#include <cctype>
#include <string>

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool WriteRacePictures(datagen::Output& out) {
  bool ok = true;
  for (const datagen::GuiPicture& p : datagen::RacePictures()) {
    ok = out.Write("data/" + p.name + ".dds", datagen::EncodeDds(p.picture, {p.format, false})) && ok;
  }
  for (const char* level : datagen::kLevelNames) {
    const course::Layout* layout = course::FindLayout(level);
    const datagen::RgbaImage map =
        layout ? course::CourseMapPicture(course::BuildCourse(*layout)) : datagen::PlainMap();
    ok = out.Write("data/textures/maps/" + Lower(level) + ".dds", datagen::EncodeDds(map, {datagen::DdsFormat::A8R8G8B8, false})) &&
         ok;
  }
  return ok;
}

const datagen::StepRegistrar kRace{{"race", "pictures of the race pages' materials and the courses' maps", &WriteRacePictures}};

}  // namespace

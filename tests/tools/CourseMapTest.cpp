// The courses' map pictures: on every course of the game root a racer marked on the
// track map as the race marks it (from the "MapQuad" of the course's settings) lands on
// the track the picture shows, and the game root holds the picture the generator draws.
#include "core/Tokenizer.h"
#include "tools/CourseMap.h"
#include "tools/DdsWriter.h"
#include "tools/RacePictures.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The four numbers of "MapQuad" in a level's settings file.
std::vector<float> MapQuadOf(const std::string& settings) {
  std::istringstream lines(settings);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("MapQuad ", 0) != 0) continue;
    N_Tokenizer words;
    words.OpenString(line.substr(8).c_str());
    std::vector<float> quad;
    if (words.NextToken(false)) {
      std::istringstream numbers(words.Token());
      for (float v; numbers >> v;) quad.push_back(v);
    }
    return quad;
  }
  return {};
}

TEST(CourseMap, ARacerMarkedOnTheMapLandsOnTheTrackOfItsPicture) {
  // Every level of the table that the game root holds a course for: the ten race
  // courses and the buddy games' "Running" ("Training" has no level file).
  const std::string root = test::GameRoot() + "/data/";
  int courses = 0;
  for (const std::string level : datagen::kLevelNames) {
    SCOPED_TRACE(level);
    if (!std::filesystem::exists(root + "levels/" + level + ".alf")) continue;
    ++courses;
    const course::Layout* layout = course::FindLayout(level);
    ASSERT_NE(layout, nullptr) << "a course without the layout its map is drawn from";
    const course::Course built = course::BuildCourse(*layout);
    const datagen::RgbaImage picture = course::CourseMapPicture(built);
    std::string lower = level;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ReadFile(root + "textures/maps/" + lower + ".dds"),
              datagen::EncodeDds(picture, {datagen::DdsFormat::A8R8G8B8, false}))
        << "the game root holds the generator's picture";

    const std::vector<std::uint8_t> settings = ReadFile(root + "levels/" + level + ".alf.cfg");
    const std::vector<float> quad = MapQuadOf(std::string(settings.begin(), settings.end()));
    ASSERT_EQ(quad.size(), 4u);
    const float width = std::fabs(quad[2] - quad[0]), height = std::fabs(quad[3] - quad[1]);
    int points = 0;
    for (const auto& path : built.track.paths) {
      for (const course::Section& s : path) {
        // The race's mark: (|x - x0| / width, |y - y0| / height).
        const float u = std::fabs(s.ideal.x - quad[0]) / width, v = std::fabs(s.ideal.y - quad[1]) / height;
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        const int x = static_cast<int>(u * float(picture.Width())), y = static_cast<int>(v * float(picture.Height()));
        EXPECT_TRUE(course::IsMapTrack(picture.At(x, y))) << u << " " << v;
        ++points;
      }
    }
    EXPECT_GT(points, 50);
  }
  EXPECT_EQ(courses, 11);
}

}  // namespace

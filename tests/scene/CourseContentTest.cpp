// The sample courses of the game root as the game loads them: every identifier the race
// reads is found through the level's lookups and keeps the course rules (counts, paths,
// sectors, range, start places: tools/CourseCheck.h), and the scenery the level is
// asked for is there (fly-by cameras, sun, grid, snow, sounds, trees, props, crowd,
// the track with no triangle drawn twice).
#include "scene/LensFlare.h"
#include "scene/LevelCamera.h"
#include "scene/LevelObjectList.h"
#include "scene/LightGrid.h"
#include "scene/LodRenderObject.h"
#include "scene/SceneAccess.h"
#include "tests/scene/LevelTestSupport.h"
#include "tools/CourseCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

std::string Numbered(const char* format, int n) {
  char text[64];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

/// Every point set and trigger name the race asks a course for.
std::vector<std::string> PointSetNames() {
  std::vector<std::string> names{"Info_Shoot_Helper_In", "Info_Shoot_Helper_Out", "Info_Sipka_Ciel",
                                 "Sprint_Starter",       "Info_Sipka_PenaltyRound", "Info_Shoot_Points",
                                 "Info_Shoot_Target",    "Info_HuntingStartTan",  "Info_MassStartTan",
                                 "Info_Sprint_Start",    "Info_Relay_Start",      "Info_Grid_MassStart",
                                 "CameraPath_Menu"};
  for (const char* path : course::kPathNames) {
    for (const char* side : {"_Left", "_Ideal", "_Right"}) names.push_back(std::string("Path_") + path + side);
  }
  for (int i = 0; i < 15; ++i) names.push_back(Numbered("Info_Hunting_Start%02d", i));
  for (int i = 0; i < 4; ++i) names.push_back(Numbered("Info_Relay_StartsPoints_%d", i));
  return names;
}

std::vector<std::string> TriggerNames() {
  std::vector<std::string> names(course::kFixedTriggers.begin(), course::kFixedTriggers.end());
  for (int i = 1; i <= 3; ++i) names.push_back(Numbered("Trigger_SplitTime_%d", i));
  for (int lane = 0; lane < course::kLanes; ++lane) names.push_back(Numbered("Trigger_Shoot_%.2d", lane));
  return names;
}

class CourseContent : public testing::TestWithParam<const char*> {};

TEST_P(CourseContent, CarriesTheRacesIdentifiersAndItsScenery) {
  const std::string file = GetParam();
  const bool fog = file.rfind("fog_", 0) == 0;
  test::LevelRig r;
  r.textureDevice.nextHandle = 1000;  // the lightmaps' handles are not the renderer's own
  N_LevelObjectList objects;
  g_scene.levelObjects = &objects;
  test::CopyCoursesFromGameRoot(r.rig.harness.dir);
  // The texture device takes the lightmaps that are there, by the path the manager asks.
  for (const auto& entry : std::filesystem::directory_iterator(r.rig.harness.dir.Path() + "/data/levels")) {
    if (entry.path().extension() == ".dds") {
      r.textureDevice.files["data\\levels/" + entry.path().filename().string()] = std::uint32_t(entry.file_size());
    }
  }
  r.rig.core.vars->SetString("mapname", file.c_str(), 2);
  N_Level& level = r.level();
  level.Load();

  // The race's identifiers through the level's lookups, then the course rules on them.
  course::Identifiers found;
  for (const std::string& name : PointSetNames()) {
    std::int32_t count = 0;
    const N_Vector3* points = level.FindPointSet(name.c_str(), &count);
    ASSERT_NE(points, nullptr) << name;
    found.pointSets.emplace_back(name, std::vector<N_Vector3>(points, points + count));
  }
  for (const std::string& name : TriggerNames()) {
    const N_LevelTrigger* trigger = level.FindTrigger(name.c_str());
    ASSERT_NE(trigger, nullptr) << name;
    std::array<float, 15> box;
    std::copy(trigger->box, trigger->box + 15, box.begin());
    found.triggers.emplace_back(name, box);
  }
  EXPECT_EQ(level.FindTrigger("Trigger_SplitTime_4"), nullptr) << "three split times, the race counts up to a gap";
  for (const std::string& fault : course::CheckCourse(found)) ADD_FAILURE() << fault;

  // Fly-by cameras: play once, ten keys or more.
  for (const char* name : {"Camera_Sprint", "Camera_Hunting", "Camera_Relay"}) {
    const N_LevelCamera* camera = level.FindCamera(name);
    ASSERT_NE(camera, nullptr) << name;
    ASSERT_NE(camera->path, nullptr) << name;
    EXPECT_EQ(camera->path->PlayMode(), N_CameraPath::kPlayOnce) << name;
    EXPECT_GE(camera->path->Keys().size(), 10u) << name;
  }
  // The sun's flare with its glare beside an ordinary light; the grid; the snow; two
  // sound sources with their sounds made.
  ASSERT_NE(level.FindLight("lf_sun"), nullptr);
  ASSERT_FALSE(level.flares.empty());
  EXPECT_TRUE(level.flares[0]->HasGlare());
  EXPECT_EQ(level.flares[0]->Light(), level.FindLight("lf_sun"));
  EXPECT_GE(level.lights.size(), 2u);
  ASSERT_NE(level.lightGrid, nullptr);
  ASSERT_EQ(level.emitters.size(), 1u);
  EXPECT_EQ(levelfile::FieldName(level.emitters[0].name), "snow");
  EXPECT_EQ(levelfile::FieldName(level.emitters[0].particleSystem), "snow");
  EXPECT_EQ(level.soundSources.size(), 2u);
  EXPECT_EQ(std::count(level.ambientSounds.begin(), level.ambientSounds.end(), 0), 0);
  // Dozens of trees of one LOD object; a moving object with its sound; the filter
  // cases; the flag prop, the names, the crowd.
  EXPECT_EQ(level.lodObjects.Count(), 1);
  int trees = 0, trackMode2 = 0, detail1 = 0;
  for (const auto& drawable : objects.Drawables()) {
    trees += dynamic_cast<const N_LodRenderObject*>(drawable.get()) != nullptr;
    trackMode2 += (drawable->flags & 0xFF) == 2;
    detail1 += (drawable->flags >> 8 & 0xFF) == 1;
  }
  EXPECT_GE(trees, 24);
  EXPECT_EQ(trackMode2, 1);
  EXPECT_EQ(detail1, 1);
  ASSERT_EQ(objects.Moving().size(), 1u);
  EXPECT_NE(objects.Moving()[0]->sound, 0);
  EXPECT_EQ(level.animObjects.size(), 1u);
  EXPECT_EQ(level.namePairs.size(), 1u);
  EXPECT_GE(level.spectators.size(), 30u);
  EXPECT_EQ(level.audience.MeshNames(), (std::vector<std::string>{"data\\ai\\fan_a.mesh", "data\\ai\\fan_b.mesh"}));
  // The track: no two triangles share a centre (which lies in both: they would overlap),
  // so sectors that several paths share are drawn once.
  std::set<std::array<double, 3>> trackCentres;
  for (const N_LevelSceneObject& object : level.sceneObjects) {
    if (levelfile::FieldName(object.name).substr(0, 6) != "track ") continue;
    const N_LevelSurfaceRange& range = level.surfaceRanges[std::size_t(object.surfaceRange)];
    for (const N_MeshSurface& s : std::span(level.surfaces).subspan(range.first, range.count)) {
      for (std::uint32_t i = s.indexOffset; i < s.indexOffset + s.indexCount; i += 3) {
        std::array<double, 3> c{};
        for (std::uint32_t k = 0; k < 9; ++k) {
          c[k % 3] += level.vertices[s.vertexOffset + level.indices[i + k / 3]].position[k % 3];
        }
        EXPECT_TRUE(trackCentres.insert(c).second) << "two track triangles about " << c[0] / 3 << ", " << c[1] / 3;
      }
    }
  }
  EXPECT_GT(trackCentres.size(), 400u);
  // Its settings: the map rectangle; the fog variant's linear fog and mist.
  const char* quad = r.rig.core.vars->GetString("MapQuad");
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  ASSERT_NE(quad, nullptr);
  ASSERT_EQ(std::sscanf(quad, "%f %f %f %f", &x0, &y0, &x1, &y1), 4) << quad;
  EXPECT_LT(x0, x1);
  EXPECT_GT(y0, y1) << "from the top left";
  EXPECT_EQ(r.rig.core.vars->GetInt("foglinear"), fog ? 1 : 0);
  EXPECT_EQ(r.rig.core.vars->GetInt("HmlaHackSet"), fog ? 1 : 0);
  EXPECT_EQ(r.rig.core.LogText().find("!!!"), std::string::npos) << r.rig.core.LogText();
}

INSTANTIATE_TEST_SUITE_P(Samples, CourseContent,
                         testing::Values("Beitostolen.ALF", "Holmenkollen.alf", "fog_Beitostolen.alf",
                                         "fog_Holmenkollen.alf"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace

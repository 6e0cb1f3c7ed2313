// The level loader over small level files written with the game's writer: what each
// section becomes, the settings file, the progress reported, and the faults that end
// the program with their critical texts.
#include "core/Random.h"
#include "render/RenderLight.h"
#include "render/ShaderMng.h"
#include "scene/AudienceMng.h"
#include "scene/LensFlare.h"
#include "scene/LevelCamera.h"
#include "scene/LevelFile.h"
#include "scene/LevelObjectList.h"
#include "scene/LightGrid.h"
#include "scene/LodRenderObject.h"
#include "scene/MeshObject.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/LevelFileSupport.h"
#include "tests/scene/LevelTestSupport.h"
#include "tests/scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

/// A level rig whose level loads "data\levels\<name>", with the level objects lent to
/// the scene.
struct LoadRig {
  LoadRig() {
    g_scene.levelObjects = &objects;
    // The lightmaps' handles must not be the renderer's own: the teardown gives them back to it.
    level.textureDevice.nextHandle = 1000;
  }
  ~LoadRig() {
    objects.Clear();
    g_scene.levelObjects = nullptr;
  }
  void Load(const std::string& name) {
    level.rig.core.vars->SetString("mapname", name.c_str(), 2);
    level.level().Load();
  }
  N_Level& Level() { return level.level(); }

  test::LevelRig level;
  N_LevelObjectList objects;
};

std::vector<float> g_progress;

TEST(LevelLoad, BuildsEverySectionAsTheLevelKeepsIt) {
  LoadRig r;
  datagen::LevelData data = test::SmallLevel();
  data.spectators.clear();
  data.geometry.AddSurface({datagen::MeshVertex(0, 0, 0, 0, 0, 0)}, {0, 0, 0}, 0, 2);  // of another kind
  data.lights = {{"LF_SUN", {0, 5000, 0}, {0, 0, 0}, {1, 0.5f, 0.25f}}, {"lf_Lamp", {10, 0, 0}, {}, {}}, {"spot", {}, {}, {}}};
  data.hasLightGrid = false;
  data.emitters.clear();  // a section of size 0
  datagen::LevelSceneObject tree;
  tree.lod = "data/meshes/tree";
  tree.distances = {100, 200, 300};
  tree.matrix[3] = 500.0f;
  data.sceneObjects.push_back(tree);
  tree.distances = {1, 2, 3};  // the same LOD name: the first one's distances stay
  data.sceneObjects.push_back(tree);
  data.cameras.push_back({"Camera_None", -1});
  r.level.rig.harness.dir.Write("data/meshes/.keep", "");
  test::WriteLodQuads("data/meshes/tree", 10.0f);
  test::WriteLevel("data/levels/small.alf", data);
  r.level.rig.core.vars->SetInt("HmlaHackSet", 1, 2);
  r.Load("small.alf");
  N_Level& level = r.Level();

  // Geometry: shaders, the lightmap's handle, centre and radius; the other kind is empty.
  ASSERT_EQ(level.surfaces.size(), 3u);
  const N_MeshSurface& lit = level.surfaces[0];
  ASSERT_NE(r.level.shaders.GetEntry(lit.shader), nullptr);
  EXPECT_EQ(r.level.shaders.GetEntry(lit.shader)->name, "walls");
  EXPECT_EQ(r.level.shaders.GetEntry(lit.shader)->type, 1u) << "added with the surface's kind";
  ASSERT_NE(r.level.shaders.GetEntry(level.surfaces[1].shader), nullptr);
  EXPECT_EQ(r.level.shaders.GetEntry(level.surfaces[1].shader)->name, "roof");
  EXPECT_EQ(lit.lightmap, level.lightmaps[0].texture);
  EXPECT_NE(lit.lightmap, -1);
  EXPECT_FLOAT_EQ(lit.centre.x, 0.0f);
  EXPECT_FLOAT_EQ(lit.centre.y, 100.0f);
  EXPECT_FLOAT_EQ(lit.radius, std::sqrt(50.0f * 50.0f * 2.0f));
  EXPECT_EQ(level.surfaces[1].lightmap, -1) << "a plain surface has no lightmap";
  EXPECT_EQ(level.surfaces[2].shader, -1);
  EXPECT_EQ(level.surfaces[2].lightmap, -1);
  EXPECT_EQ(level.surfaces[2].vertexCount, 0u);
  EXPECT_EQ(level.materials, (std::vector<std::string>{"walls", "roof"}));

  // Lights: the sun's flare with the glare, an ordinary flare, none for "spot".
  ASSERT_EQ(level.flares.size(), 2u);
  EXPECT_TRUE(level.flares[0]->HasGlare());
  EXPECT_EQ(level.flares[0]->Light(), &level.lights[0]);
  EXPECT_FALSE(level.flares[1]->HasGlare());
  EXPECT_EQ(level.flares[1]->Light(), &level.lights[1]);
  EXPECT_FLOAT_EQ(level.lights[0].colour[1], 0.5f);

  // No grid: the warning, and the ambient light is black.
  EXPECT_EQ(level.lightGrid, nullptr);
  EXPECT_NE(r.level.rig.core.LogText().find("Warning!! Light grid is not in the level!\n"), std::string::npos);
  level.SetAmbientFromLightGrid({0, 0, 0});
  ASSERT_FALSE(r.level.render.ambients.empty());
  EXPECT_EQ(r.level.render.ambients.back(), (std::array<float, 3>{0, 0, 0}));
  EXPECT_TRUE(level.emitters.empty());
  EXPECT_TRUE(level.spectators.empty());

  // Cameras: no path, and a path with the record's keys, count, mode and rate.
  ASSERT_NE(level.FindCamera("Camera_None"), nullptr);
  EXPECT_EQ(level.FindCamera("Camera_None")->path, nullptr);
  const N_LevelCamera* sprint = level.FindCamera("camera_sprint");
  ASSERT_NE(sprint, nullptr);
  ASSERT_NE(sprint->path, nullptr);
  EXPECT_EQ(sprint->path->Keys().size(), 3u);
  EXPECT_FLOAT_EQ(sprint->path->Keys()[2].position.x, 20.0f);
  EXPECT_EQ(sprint->path->PlayMode(), 2u);
  EXPECT_FLOAT_EQ(sprint->path->Rate(), 4.0f);

  // Drawables: the moving mesh object over both surfaces, two LOD drawables of one LOD
  // object with the first one's distances, placed by their matrix.
  EXPECT_EQ(level.lodObjects.Count(), 1);
  ASSERT_EQ(r.objects.Drawables().size(), 3u);
  ASSERT_EQ(r.objects.Moving().size(), 1u);
  const auto* moving = dynamic_cast<const N_MeshObject*>(r.objects.Moving()[0]);
  ASSERT_NE(moving, nullptr);
  EXPECT_EQ(moving->SurfaceRecords().size(), 2u);
  EXPECT_NE(moving->path, nullptr);
  for (int i = 1; i <= 2; ++i) {
    const auto* lod = dynamic_cast<const N_LodRenderObject*>(r.objects.Drawables()[std::size_t(i)].get());
    ASSERT_NE(lod, nullptr);
    EXPECT_FLOAT_EQ(lod->Distance(0), 100.0f);
    EXPECT_FLOAT_EQ(lod->Distance(2), 300.0f);
    EXPECT_FLOAT_EQ(lod->worldMatrix.m[12], 500.0f) << "the matrix's translation, transposed";
    EXPECT_EQ(lod->Mesh(0), level.lodObjects.Get(0)->Mesh(0));
  }
  EXPECT_EQ(r.objects.Records().size(), 2u + 3u) << "the mesh object's surfaces and the LOD meshes' surface";
  EXPECT_EQ(level.ambientSounds.size(), 1u);
  EXPECT_EQ(r.level.sound.events.back(), "Create crowd_sound");
  EXPECT_EQ(r.level.rig.core.vars->GetInt("HmlaHackSet"), 0) << "reset by every load without a setting";
  EXPECT_EQ(level.namePairs.size(), 1u);
}

TEST(LevelLoad, ReadsItsSettingsAndItsLightGrid) {
  LoadRig r;
  datagen::LevelData data = test::SmallLevel();
  data.spectators.clear();
  test::WriteLevel("data/levels/fog.alf", data);
  r.level.rig.harness.dir.Write("data/levels/fog.alf.cfg", "HmlaHackSet 1\nfogcolor 102030\n");
  r.Load("FOG.ALF");
  EXPECT_EQ(r.level.rig.core.vars->GetInt("HmlaHackSet"), 1);
  EXPECT_STREQ(r.level.rig.core.vars->GetString("fogcolor"), "102030");
  ASSERT_NE(r.Level().lightGrid, nullptr);
  const N_LightColour& colour = r.Level().lightGrid->Sample({50, 50, 50});
  EXPECT_NEAR(colour.r, 1.0f, 1e-5f);
  EXPECT_NEAR(colour.g, 0.50196f, 1e-4f);
  const std::string log = r.level.rig.core.LogText();
  EXPECT_NE(log.find("\n Loading Level: data\\levels\\FOG.ALF\n"), std::string::npos);
  EXPECT_EQ(log.find("Warning!! Light grid"), std::string::npos);
}

TEST(LevelLoad, ReportsItsProgressBetweenItsSteps) {
  LoadRig r;
  test::WriteAudience();
  test::WriteLevel("data/levels/small.alf", test::SmallLevel());
  g_progress.clear();
  g_scene.loadingProgress = [](float percent) { g_progress.push_back(percent); };
  r.Load("small.alf");
  g_scene.loadingProgress = nullptr;
  EXPECT_EQ(g_progress, (std::vector<float>{5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 65, 75, 80}));
}

/// The level file's word at a byte offset replaced.
std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  test::PatchU32(bytes, at, value);
  return bytes;
}

TEST(LevelLoad, FaultsOfTheFileAndItsSpectatorsAreCritical) {
  const std::vector<std::uint8_t> good = datagen::EncodeLevel(test::SmallLevel());
  const std::uint32_t pointSets = test::SectionOffset(good, levelfile::kPointSets);
  const std::uint32_t objects = test::SectionOffset(good, levelfile::kSceneObjects);
  const std::uint32_t cameras = test::SectionOffset(good, levelfile::kCameras);
  const std::uint32_t paths = test::SectionOffset(good, levelfile::kCameraPaths);
  const std::uint32_t grid = test::SectionOffset(good, levelfile::kLightGrid);
  // 2^31 x 2^31 x 4 nodes: 0 in 64 bits, so the product alone would pass 8 cells.
  const std::vector<std::uint8_t> wrapped =
      Patched(Patched(Patched(good, grid, 0x80000000u), grid + 4, 0x80000000u), grid + 8, 4);
  const std::uint8_t sevenBytes[] = {'A', 'L', 'F', ' ', 150, 0, 0};  // read zero-filled: version 150, no sections
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;  ///< empty: no file
    const char* script;
    const char* message;
  } cases[] = {
      {"missing.alf", {}, nullptr, "level data\\\\levels\\\\missing\\.alf not found!"},
      {"magic.alf", Patched(good, 0, 0x20464C42), nullptr, "data\\\\levels\\\\magic\\.alf is not level file!"},
      {"old.alf", Patched(good, 4, 149), nullptr,
       "data\\\\levels\\\\old\\.alf is v\\.149 not supported version, supported version is 1\\.50"},
      {"points.alf", Patched(good, pointSets + 132, 5), nullptr, "data\\\\levels\\\\points\\.alf is not level file!"},
      {"range.alf", Patched(good, objects + 472, 1), nullptr, "data\\\\levels\\\\range\\.alf is not level file!"},
      {"path.alf", Patched(good, cameras + 424, 7), nullptr, "data\\\\levels\\\\path\\.alf is not level file!"},
      {"cut.alf", std::vector<std::uint8_t>(good.begin(), good.end() - 1), nullptr,
       "data\\\\levels\\\\cut\\.alf is not level file!"},
      {"short.alf", std::vector<std::uint8_t>(std::begin(sevenBytes), std::end(sevenBytes)), nullptr,
       "data\\\\levels\\\\short\\.alf is not level file!"},
      {"rate.alf", Patched(good, paths + 16, 0x7F800000u), nullptr, "data\\\\levels\\\\rate\\.alf is not level file!"},
      {"nan.alf", Patched(good, paths + 16, 0x7FC00000u), nullptr, "data\\\\levels\\\\nan\\.alf is not level file!"},
      {"grid0.alf", Patched(good, grid + 4, 0), nullptr, "data\\\\levels\\\\grid0\\.alf is not level file!"},
      {"wrap.alf", wrapped, nullptr, "data\\\\levels\\\\wrap\\.alf is not level file!"},
      {"bounds.alf", Patched(good, grid + 28, 0xFF800000u), nullptr,
       "data\\\\levels\\\\bounds\\.alf is not level file!"},
      {"nobody.alf", good, "data\\ai\\b.mesh\n{\ncase IDLE:\n{\ndata\\ai\\idle1.anim 1\n}\n}\n",
       "Mesh data\\\\ai\\\\a\\.mesh not found in file data\\\\ai\\\\divaci\\.ai"},
      {"case.alf", good, "data\\ai\\A.mesh\n{\ncase IDLE:\n{\ndata\\ai\\idle1.anim 1\n}\n}\n",
       "Mesh data\\\\ai\\\\a\\.mesh not found in file data\\\\ai\\\\divaci\\.ai"},
      {"idle.alf", good, "data\\ai\\a.mesh\n{\ncase ACTION:\n{\ndata\\ai\\act.anim 1\n}\n}\n",
       "Mesh data\\\\ai\\\\a\\.mesh has no IDLE animation in file data\\\\ai\\\\divaci\\.ai"},
      {"low.alf", good, "data\\ai\\a.mesh\n{\ncase IDLE:\n{\ndata\\ai\\idle1.anim 1\n}\n}\n"
                        "data\\ai\\c.mesh\n{\n}\n",
       "Load NPC mesh data\\\\ai\\\\c\\.mesh failed!"},
      {"anim.alf", good, "data\\ai\\a.mesh\n{\ncase IDLE:\n{\ndata\\ai\\none.anim 1\n}\n}\n",
       "Load NPC animation data\\\\ai\\\\none\\.anim failed!"},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          LoadRig r;
          test::WriteAudience(c.script ? c.script : test::AudienceScript());
          if (!c.bytes.empty()) test::WriteBytes(std::string("data/levels/") + c.name, c.bytes);
          r.Load(c.name);
        },
        testing::ExitedWithCode(255), c.message)
        << c.name;
  }
}

TEST(LevelLoad, AMissingLowMeshIsCritical) {
  EXPECT_EXIT(
      {
        LoadRig r;
        test::WriteAudience();
        std::remove("data/ai/b.mesh_l.mesh");
        test::WriteLevel("data/levels/small.alf", test::SmallLevel());
        r.Load("small.alf");
      },
      testing::ExitedWithCode(255), "file data\\\\ai\\\\b\\.mesh_l\\.mesh not found!");
}

}  // namespace

// The course markers on the recording renderer: the five sets loaded in order (and a
// missing starter animation failing the load), the penalty arrow with its boards by
// count, the starter's start, and the mini-map marks from "MapQuad" (also for random
// texts). Under the sanitizer build the loaded markers go without a leak.
#include "race/Sipka.h"

#include "core/Random.h"
#include "render/Frustum.h"
#include "render/RenderServices.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/AnimInstance.h"
#include "scene/SceneAccess.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

/// The sample markers (less the files named) with a shader manager, textures and a
/// camera at the origin looking along +y, on the recording renderer.
struct MarkerRig {
  explicit MarkerRig(const std::vector<std::string>& without = {}) {
    g_render = &rig.render;
    g_textureMng = &textures;
    g_renderServicesCopy.textureMng = &textures;
    for (const char* part : {"data/anim/sipka", "data/anim/starter.mesh", "data/anim/starter.anim",
                             "data/anim/starter_s.anim", "data/scripts/markers.shader", "data/textures/markers"}) {
      test::CopyFromGameRoot(rig.harness.dir, part);
    }
    for (const std::string& file : without) std::filesystem::remove(rig.harness.dir.Path() + "/" + file);
    rig.camera.angleX = 90.0f;  // level, along +y
    rig.camera.UpdateView();
    frustum.Build(rig.camera);
    g_scene.shaderMng = &shaders;
    g_scene.frustum = &frustum;
    g_scene.camera = &rig.camera;
  }
  ~MarkerRig() {
    g_scene = N_SceneAccess{};
    g_textureMng = nullptr;
    g_renderServicesCopy.textureMng = nullptr;
    g_render = nullptr;
  }
  long Draws() {
    const long count = long(rig.device->CallsStartingWith("DrawIndexedPrimitive").size());
    rig.device->ClearCalls();
    return count;
  }

  test::RenderRig rig;
  test::FakeTextureDevice device;
  N_TextureMngImpl textures{1024, &device};
  N_ShaderMng shaders{1024};
  N_Frustum frustum;
  N_Sipka markers;
};

TEST(Sipka, LoadsItsFiveSetsInOrderAndBuildsTheirMaterials) {
  MarkerRig r;
  r.rig.NewLog();
  ASSERT_TRUE(r.markers.Load());
  const std::string log = r.rig.NewLog();
  EXPECT_TRUE(test::ContainsInOrder(
      log, {"\"Data\\anim\\sipka\\sipka.mesh\"", "\"Data\\anim\\sipka\\sipka_finish.mesh\"",
            "\"Data\\anim\\sipka\\sipka_trest.mesh\"", "\"Data\\anim\\sipka\\sipka_trest_c1.mesh\"",
            "\"Data\\anim\\sipka\\sipka_trest_c5.mesh\"", "\"Data\\anim\\starter.mesh\"", "--- Reading shaders:"}));
  EXPECT_EQ(r.markers.SetAt(N_Sipka::kPenaltyCount)->MeshCount(), 5);
  struct Started {
    int set, instance;
  };
  for (const Started& s : {Started{N_Sipka::kArrow, r.markers.ArrowInstance()},
                           Started{N_Sipka::kFinish, r.markers.FinishInstance()}, Started{N_Sipka::kPenaltyArrow, 0},
                           Started{N_Sipka::kPenaltyCount, r.markers.BoardInstance()},
                           Started{N_Sipka::kStarter, r.markers.StarterInstance()}}) {
    const N_AnimInstance* figure = r.markers.SetAt(s.set)->Instance(s.instance);
    ASSERT_NE(figure, nullptr) << s.set;
    EXPECT_EQ(figure->channel1.actionIndex, 0) << "its first action at once";
    EXPECT_EQ(figure->channel1.rate, 30.0f);
    EXPECT_EQ(figure->queuedAction, 0) << "and queued";
    EXPECT_EQ(figure->queuedRate, 30.0f);
  }
  EXPECT_EQ(r.markers.StarterStartAction(), 1);
  EXPECT_FALSE(r.markers.SetAt(N_Sipka::kStarter)->Action(1)->loop) << "the start plays once";
  for (const char* material : {"markers/arrow", "markers/board_c3", "markers/starter_coat"}) {
    const int handle = r.shaders.AddShader(material, 0, 3);
    EXPECT_NE(r.shaders.GetShader(handle), nullptr) << material << " built by the load";
  }
  EXPECT_GT(r.textures.LiveCount(), 0) << "and its textures made";
}

TEST(Sipka, AMissingStarterAnimationFailsTheLoadAfterTheArrows) {
  MarkerRig r({"data/anim/starter.anim"});
  EXPECT_FALSE(r.markers.Load());
  for (const int set : {N_Sipka::kArrow, N_Sipka::kFinish, N_Sipka::kPenaltyArrow, N_Sipka::kPenaltyCount}) {
    EXPECT_EQ(r.markers.SetAt(set)->InstanceCount(), 1) << set;
  }
  EXPECT_EQ(r.markers.StarterInstance(), -1);
  r.markers.RenderStarter(0.1f);  // nothing to draw
  r.markers.StartStarter();
}

struct PenaltyCase {
  const char* name;
  int count;
  bool drawn;
  int boardMesh;  ///< afterwards (the board showed c2 before)
  bool error;
};

class SipkaPenalty : public testing::TestWithParam<PenaltyCase> {};

TEST_P(SipkaPenalty, ShowsTheArrowWithTheBoardOfTheCount) {
  const PenaltyCase& c = GetParam();
  MarkerRig r;
  ASSERT_TRUE(r.markers.Load());
  r.markers.SetPenaltyPlace({0.0f, 300.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
  r.markers.ShowSipkaPenalty(0.05f, 2);
  N_AnimInstance& arrow = *r.markers.SetAt(N_Sipka::kPenaltyArrow)->Instance(0);
  N_AnimInstance& board = *r.markers.SetAt(N_Sipka::kPenaltyCount)->Instance(r.markers.BoardInstance());
  arrow.frameTime = board.frameTime = 0.0f;
  r.Draws();
  r.rig.NewLog();
  r.markers.ShowSipkaPenalty(0.04f, c.count);
  EXPECT_EQ(arrow.frameTime, c.drawn ? 0.04f : 0.0f);
  EXPECT_EQ(board.frameTime, c.drawn ? 0.04f : 0.0f);
  EXPECT_EQ(r.Draws() > 0, c.drawn);
  EXPECT_EQ(board.mesh, c.boardMesh);
  const std::string log = r.rig.NewLog();
  const std::string line = "zle cislo do func: N_Sipka::ShowSipkaPenalty\n";
  EXPECT_EQ(log.find(line) != std::string::npos, c.error);
  EXPECT_EQ(log.find(line), log.rfind(line)) << "one line";
}

INSTANTIATE_TEST_SUITE_P(Sipka, SipkaPenalty,
                         testing::Values(PenaltyCase{"Three", 3, true, 2, false}, PenaltyCase{"One", 1, true, 0, false},
                                         PenaltyCase{"Five", 5, true, 4, false}, PenaltyCase{"Six", 6, true, 1, false},
                                         PenaltyCase{"None", 0, false, 1, false}, PenaltyCase{"Seven", 7, false, 1, true},
                                         PenaltyCase{"MinusOne", -1, false, 1, true}),
                         [](const testing::TestParamInfo<PenaltyCase>& info) { return std::string(info.param.name); });

TEST(Sipka, MarkersOutOfViewAreAdvancedButOnlyTheStarterIsDrawn) {
  MarkerRig r;
  ASSERT_TRUE(r.markers.Load());
  r.markers.SetArrowPlace({0.0f, -300.0f, 0.0f}, {1.0f, 0.0f, 0.0f});  // behind the camera
  r.markers.SetStarterPlace({0.0f, -300.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
  r.Draws();
  r.markers.RenderArrow(0.05f);
  EXPECT_EQ(r.Draws(), 0);
  r.markers.RenderStarter(0.05f);
  EXPECT_GT(r.Draws(), 0) << "drawn with the set's first flag";
  r.markers.SetArrowPlace({0.0f, 300.0f, 0.0f}, {1.0f, 0.0f, 0.0f});
  r.markers.RenderArrow(0.05f);
  EXPECT_GT(r.Draws(), 0);
  r.markers.StartStarter();
  const N_AnimInstance& starter = *r.markers.SetAt(N_Sipka::kStarter)->Instance(r.markers.StarterInstance());
  EXPECT_EQ(starter.queuedAction, r.markers.StarterStartAction());
  EXPECT_EQ(starter.queuedRate, 30.0f);
}

struct MapCase {
  const char* name;
  const char* quad;  ///< null: no "MapQuad" at all
  float width, height;
  N_Vector3 racer, mark;
};

class SipkaMap : public testing::TestWithParam<MapCase> {};

TEST_P(SipkaMap, MarksRacersOnTheRectangle) {
  const MapCase& c = GetParam();
  test::TempDir dir;
  test::CoreServices core;
  if (c.quad) {
    core.vars->SetString("MapQuad", c.quad, 2);
  } else {
    core.vars->Unregister(core.vars->Find("MapQuad"));
  }
  N_Sipka markers;
  markers.LoadMapQuad();
  EXPECT_FLOAT_EQ(markers.MapWidth(), c.width);
  EXPECT_FLOAT_EQ(markers.MapHeight(), c.height);
  const N_Vector3 mark = markers.MapMark(c.racer);
  EXPECT_FLOAT_EQ(mark.x, c.mark.x);
  EXPECT_FLOAT_EQ(mark.y, c.mark.y);
  EXPECT_FLOAT_EQ(mark.z, c.mark.z);
  markers.UpdateMapMarks({c.racer, c.racer});
}

INSTANTIATE_TEST_SUITE_P(
    Sipka, SipkaMap,
    testing::Values(MapCase{"Rectangle", "100 200 50 400", 50, 200, {75, 300, 12}, {0.5f, 0.5f, 12}},
                    MapCase{"Default", "-6724.648 6799.663 8580.830 -8505.815", 15305.478f, 15305.478f,
                            {-6724.648f, 6799.663f, 0}, {0, 0, 0}},
                    MapCase{"NoSize", "5 5 5 5", 0, 0, {75, 300, 12}, {0, 0, 12}},
                    MapCase{"TwoNumbers", "10 20", 10, 20, {5, 5, 1}, {0.5f, 0.75f, 1}},
                    MapCase{"Empty", "", 0, 0, {1, 2, 3}, {0, 0, 3}},
                    MapCase{"Missing", nullptr, 0, 0, {1, 2, 3}, {0, 0, 3}}),
    [](const testing::TestParamInfo<MapCase>& info) { return std::string(info.param.name); });

TEST(Sipka, RandomMapQuadTextsGiveMarksWithoutAFault) {
  test::TempDir dir;
  test::CoreServices core;
  Srand(31);
  const std::string alphabet = "0123456789 .-+eE\"/\\nainf\t\n\x80\xff";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = Rand() % 60;
    for (int i = 0; i < length; ++i) text += alphabet[std::size_t(Rand()) % alphabet.size()];
    core.vars->SetString("MapQuad", text.c_str(), 2);
    N_Sipka markers;
    markers.LoadMapQuad();
    const N_Vector3 mark = markers.MapMark({float(Rand() % 2000) - 1000.0f, float(Rand() % 2000) - 1000.0f, 1.0f});
    // A rectangle of no size marks 0.0: never a division by zero.
    if (markers.MapWidth() == 0.0f) {
      EXPECT_EQ(mark.x, 0.0f) << text;
    }
    if (markers.MapHeight() == 0.0f) {
      EXPECT_EQ(mark.y, 0.0f) << text;
    }
    markers.UpdateMapMarks({{0, 0, 0}});
  }
}

TEST(Sipka, LoadedMarkersGoWholeAfterTheirMarks) {
  MarkerRig r;
  ASSERT_TRUE(r.markers.Load());
  r.markers.CreateShadows();
  r.markers.LoadMapQuad();
  r.markers.UpdateMapMarks(std::vector<N_Vector3>(30, N_Vector3{1.0f, 2.0f, 3.0f}));
  r.markers.SetFinishPlace({0.0f, 300.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
  r.markers.RenderFinish(0.05f);
  EXPECT_GT(r.Draws(), 0);
}

}  // namespace

// The sample skier figures of the game root read back with the game's readers: twelve
// reference meshes of one skeleton dressed in the placeholders, each with a closed
// shadow mesh; the animations of the skier actions; the numbered bibs.
#include "core/EdgeList.h"
#include "core/FormatString.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureDress.h"
#include "scene/FigureMesh.h"
#include "tests/scene/FigureTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

int Triangles(const N_AnimObject& mesh) {
  int triangles = 0;
  for (const N_MeshSurface& surface : mesh.Surfaces()) triangles += int(surface.indexCount) / 3;
  return triangles;
}

TEST(FigureSamples, TwelveMeshesOfOneSkeletonInThePlaceholdersWithClosedShadowMeshes) {
  test::FigureRig rig;
  rig.AddSixAthletes();
  N_AnimationFactory2& figures = rig.LoadFigures();
  ASSERT_EQ(figures.FigureMeshCount(), 12);
  const N_FigureMesh& first = *figures.FigureMesh(0);
  for (int i = 0; i < 12; ++i) {
    const N_FigureMesh& mesh = *figures.FigureMesh(i);
    ASSERT_EQ(mesh.BoneCount(), first.BoneCount()) << i;
    for (int b = 0; b < mesh.BoneCount(); ++b) {
      EXPECT_STREQ(mesh.Bones()[std::size_t(b)].name, first.Bones()[std::size_t(b)].name) << i;
    }
    std::set<std::int32_t> codes;
    std::set<std::string> materials;
    for (std::size_t s = 0; s < mesh.Surfaces().size(); ++s) codes.insert(mesh.Surfaces()[s].shader);
    for (const std::string& material : mesh.Materials()) {
      if (ClassifyDressTexture(material.c_str()) == 0) materials.insert(material);
    }
    for (const std::int32_t code : {-2, -3, -4, -5, -6}) EXPECT_EQ(codes.count(code), 1u) << i << " " << code;
    EXPECT_EQ(materials, (std::set<std::string>{"lyziari/boots", "lyziari/face"})) << i;
    std::vector<N_Edge> edges;
    const int count = BuildEdgeList(int(mesh.ShadowTriangles().size()), mesh.ShadowTriangles().data(), edges);
    EXPECT_EQ(count * 2, int(mesh.ShadowTriangles().size()) * 3) << i;
    for (const N_Edge& edge : edges) ASSERT_NE(edge.faceB, N_Edge::kNoFace) << "mesh " << i << " is open";
    EXPECT_LE(mesh.Radius(), 80.0f) << "inside the figure's box";
  }
  for (int twin = 0; twin < 6; ++twin) {
    EXPECT_LT(2 * Triangles(*figures.FigureMesh(twin)), Triangles(*figures.FigureMesh(twin + 6))) << twin;
  }
}

TEST(FigureSamples, EveryActionsAnimationFitsTheSkeletonAndLoopsReturnToTheirFirstKey) {
  test::FigureRig rig;
  rig.AddAthlete(test::ReferenceMesh("ref_model1"));
  N_AnimationFactory2& figures = rig.LoadFigures();
  ASSERT_EQ(figures.ActionCount(), 48) << "every file loaded and fitted the skeleton";
  EXPECT_EQ(figures.AnimationCount(), 49) << "the braking pair and one load of each action";
  for (int a = 0; a < figures.ActionCount(); ++a) {
    const N_AnimAction& action = *figures.Action(a);
    for (const int index : {action.animationA, action.twoAnimations ? action.animationB : action.animationA}) {
      const N_Animation& animation = *figures.Animation(index);
      ASSERT_GE(animation.FrameCount(), 2) << a;
      if (!action.loop) continue;
      EXPECT_GE(animation.FrameCount(), 16) << a;
      for (const N_AnimTrack& track : animation.Tracks()) {
        const N_AnimKey& firstKey = animation.Keys()[track.firstKey];
        const N_AnimKey& lastKey = animation.Keys()[track.firstKey + track.keyCount - 1];
        ASSERT_EQ(track.keyCount, std::uint32_t(animation.FrameCount())) << a;
        ASSERT_EQ(std::memcmp(&firstKey, &lastKey, sizeof firstKey), 0) << "action " << a << ", " << track.name;
      }
    }
  }
  const N_AnimAction& braking = *figures.Action(4);
  EXPECT_GE(figures.Animation(braking.animationB)->FrameCount(), figures.Animation(braking.animationA)->FrameCount())
      << "both braking animations are read at one frame";
}

TEST(FigureSamples, EachBibCarriesItsOwnNumber) {
  std::set<std::vector<std::uint8_t>> bibs;
  for (int n = 1; n <= 31; ++n) {
    const std::vector<std::uint8_t> bytes =
        test::ReadBytes(test::GameRoot() + FormatString("/data/textures/lyziari/startnum%02d.dds", n));
    ASSERT_GT(bytes.size(), 128u) << n;
    EXPECT_EQ(std::memcmp(bytes.data(), "DDS ", 4), 0);
    bibs.insert(bytes);
  }
  EXPECT_EQ(bibs.size(), 31u);
}

}  // namespace

// Skinning on the processor: posed positions from the bones' poses and the weights, the
// render vertices that share a skin point, and the whole-buffer upload.
#include "render/VertexBuffer.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory.h"
#include "tests/scene/AnimTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kQuarterTurn = 1.5707964f;

/// A set of one mesh and one action of the given keys (repeated for 3 frames), with an
/// instance playing it; RenderInstance poses and skins it (forced: no visibility test).
struct PosedSet {
  PosedSet(const datagen::AnimMeshBuilder& builder, const std::vector<N_AnimKey>& keys) {
    test::WriteBytes("data/anim/set.mesh", builder.Write());
    test::WriteBytes("data/anim/set.anim", test::AnimationOf(builder, {keys, keys, keys}));
    EXPECT_EQ(set.AddMesh("data/anim/set.mesh"), 0);
    EXPECT_EQ(set.AddAction("data/anim/set.anim", nullptr, true), 0);
    instance = set.CreateInstance();
    EXPECT_TRUE(set.SetAction(instance, 0, 30.0f, 0.0f));
  }
  const N_AnimObject& Pose() {
    set.RenderInstance(0.0f, instance, N_Vector3{}, N_Matrix3{}, true, true);
    return *set.Mesh(0);
  }

  N_AnimationFactory set;
  int instance = -1;
};

void ExpectNear(const N_Vector3& a, const N_Vector3& b, const std::string& what) {
  EXPECT_NEAR(a.x, b.x, 1e-5) << what;
  EXPECT_NEAR(a.y, b.y, 1e-5) << what;
  EXPECT_NEAR(a.z, b.z, 1e-5) << what;
}

TEST(AnimSkin, PosedPositionsFollowTheWeightedBones) {
  test::AnimRig rig;
  // A chain of three bones over the quad's points as well: the bind pose must give every
  // point back whatever the depth of its bone.
  datagen::AnimMeshBuilder chain = test::TwoBoneQuad();
  chain.AddBone("end", 1, {30, 5, -2});
  chain.AddSkinPoint({33, 7, 1}, {{2, 0.25f}, {1, 0.75f}});
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  const N_Quaternion turn = datagen::AxisRotation({0, 0, 1}, kQuarterTurn);
  struct Case {
    const char* what;
    const datagen::AnimMeshBuilder& mesh;
    std::vector<N_AnimKey> keys;
    std::vector<N_Vector3> expected;  ///< by skin point
  };
  const Case cases[] = {
      {"bind pose", chain, chain.BindPose(), {{0, 0, 0}, {0, 0, 10}, {20, 0, 0}, {20, 0, 10}, {33, 7, 1}}},
      // The tip turns about its bind position (10, 0, 0): only the points it weighs move,
      // the half-weighted one lies halfway between its still and its moved place.
      {"tip turned 90 degrees about z", quad, {quad.Key(0, {}), quad.Key(1, turn)},
       {{0, 0, 0}, {0, 0, 10}, {10, 10, 0}, {15, 5, 10}}},
      // The root carries the tip with it.
      {"root turned 90 degrees about z", quad, {quad.Key(0, turn), quad.Key(1, {})},
       {{0, 0, 0}, {0, 0, 10}, {0, 20, 0}, {0, 20, 10}}},
  };
  for (const Case& c : cases) {
    PosedSet posed(c.mesh, c.keys);
    const N_AnimObject& mesh = posed.Pose();
    ASSERT_EQ(mesh.Positions().size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      ExpectNear(mesh.Positions()[i], c.expected[i], std::string(c.what) + ", point " + std::to_string(i));
    }
    // Every render vertex at its skin point: the triangle's vertices share points 2, 3, 0
    // with the quad's and move with them.
    const auto& v = mesh.RenderVertices();
    const std::pair<int, int> kVertexPoints[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 2}, {5, 3}, {6, 0}};
    for (const auto& [vertex, point] : kVertexPoints) {
      const float* p = v[std::size_t(vertex)].position;
      ExpectNear({p[0], p[1], p[2]},
                 mesh.Positions()[std::size_t(point)], std::string(c.what) + ", vertex " + std::to_string(vertex));
    }
  }
}

TEST(AnimSkin, WeightsOfZeroAreSkipped) {
  test::AnimRig rig;
  // The tip's key holds no number: the file's is put right on loading, said naming the
  // file; one that holds none all the same must not reach the sum with a weight of 0.0.
  datagen::AnimMeshBuilder mesh = test::TwoBoneQuad();
  mesh.AddSkinPoint({5, 0, 5}, {{0, 1.0f}, {1, 0.0f}});
  N_AnimKey broken = mesh.Key(1, {});
  broken.position.x = std::numeric_limits<float>::quiet_NaN();
  PosedSet posed(mesh, {mesh.Key(0, {}), broken});
  EXPECT_NE(rig.core.LogText().find("!!! data/anim/set.anim: 3 keys are no usable transform (first: frame 0 of track"),
            std::string::npos)
      << rig.core.LogText();
  for (int frame = 0; frame < 3; ++frame) {
    const_cast<N_AnimKey&>(posed.set.Animation(0)->Key(1, frame)).position.x = broken.position.x;
  }
  const N_AnimObject& posedMesh = posed.Pose();
  ExpectNear(posedMesh.Positions()[4], {5, 0, 5}, "zero weight on a broken bone");
  EXPECT_TRUE(std::isnan(posedMesh.Positions()[2].x)) << "a real weight on it does reach the sum";
}

TEST(AnimSkin, EachDrawnSurfaceBufferIsRewrittenWholeWithDiscard) {
  test::AnimRig rig;
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  PosedSet posed(quad, {quad.Key(0, {}), quad.Key(1, datagen::AxisRotation({0, 0, 1}, kQuarterTurn))});
  rig.LoadShaders();
  rig.device->ClearCalls();
  const N_AnimObject& mesh = posed.Pose();
  // One lock a surface, from offset 0 over all its vertices, with the discard flag.
  const std::vector<std::string> locks = rig.harness.Calls("Lock(");
  ASSERT_EQ(locks.size(), 2u);
  EXPECT_NE(locks[0].find(", 0, 176, 0x2800)"), std::string::npos) << locks[0];
  EXPECT_NE(locks[1].find(", 0, 132, 0x2800)"), std::string::npos) << locks[1];
  for (const N_MeshSurface& surface : mesh.Surfaces()) {
    std::vector<N_SurfaceVertex> uploaded(surface.vertexCount);
    surface.vertexBuffer->Read(0, surface.vertexCount * 44, uploaded.data());
    for (std::uint32_t i = 0; i < surface.vertexCount; ++i) {
      for (int k = 0; k < 3; ++k) EXPECT_EQ(uploaded[i].position[k], surface.vertices[i].position[k]);
    }
  }
  EXPECT_NEAR(mesh.Surfaces()[0].vertices[2].position[1], 10.0f, 1e-5) << "the turned tip's point was uploaded";
}

TEST(AnimSkin, AHundredThousandBonesInOneChainArePosedWithoutRecursion) {
  // Headless: no renderer, no shaders; the set loads, advances and poses all the same.
  test::TempDir dir;
  test::CoreServices core;
  constexpr int kBones = 100000;
  datagen::AnimMeshBuilder chain;
  for (int i = 0; i < kBones; ++i) chain.AddBone("b" + std::to_string(i), i - 1, {float(i), 0, 0});
  chain.AddSkinPoint({float(kBones - 1), 0, 0}, {{kBones - 1, 1.0f}});
  // Every bone turns a little about z: the last one ends up far from its bind place.
  std::vector<N_AnimKey> keys;
  for (int i = 0; i < kBones; ++i) keys.push_back(chain.Key(i, datagen::AxisRotation({0, 0, 1}, 1.0e-4f)));
  PosedSet posed(chain, keys);
  ASSERT_EQ(posed.set.MeshCount(), 1);
  const N_AnimObject& mesh = posed.Pose();
  EXPECT_EQ(mesh.Surfaces().size(), 0u);
  const N_Vector3 end = mesh.Positions()[0];
  EXPECT_TRUE(std::isfinite(end.x) && std::isfinite(end.y));
  EXPECT_GT(std::fabs(end.y), 1000.0f) << "posed through the whole chain";
}

}  // namespace

// Drawables: their placement, the LOD object's choice of mesh, and what they own.
#include "scene/LodObject.h"
#include "scene/LodRenderObject.h"
#include "scene/MeshObject.h"
#include "sound/SoundMng.h"
#include "tests/scene/SceneTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Drawable, SetTransformTakesTheBoxAndTransposesTheMatrix) {
  test::TempDir dir;
  test::CoreServices core;
  test::RecordingSoundMng sound;
  g_soundMng = &sound;
  const float box[6] = {1, 2, 3, 5, 8, 15};
  N_Matrix4 matrix;  // column form: the translation in elements 3, 7, 11
  matrix.m[3] = 100.0f;
  matrix.m[7] = 200.0f;
  matrix.m[11] = 300.0f;
  matrix.m[15] = 0.0f;
  N_MeshSurface surface;
  struct Case {
    std::unique_ptr<N_RenderObject> drawable;
    std::uint32_t kind;
    std::int32_t soundGiven, soundKept;
  };
  Case cases[2];
  cases[0] = {std::make_unique<N_MeshObject>(&surface, 1), N_RenderObject::kMeshObject, 4, 4};
  cases[1] = {std::make_unique<N_LodRenderObject>(nullptr, nullptr, nullptr, 1, 2, 3), N_RenderObject::kLodObject, -1,
              0};
  for (Case& c : cases) {
    N_RenderObject& d = *c.drawable;
    d.SetTransform(box, 0x0201, c.kind, matrix, c.soundGiven);
    EXPECT_EQ(d.flags, 0x0201u);
    EXPECT_EQ(d.kind, c.kind);
    EXPECT_EQ(d.sound, c.soundKept);
    EXPECT_EQ(d.centre.x, 3.0f);
    EXPECT_EQ(d.centre.y, 5.0f);
    EXPECT_EQ(d.centre.z, 9.0f);
    EXPECT_FLOAT_EQ(d.radius, 7.0f);  // half of (4, 6, 12)
    EXPECT_EQ(d.worldRadius, d.radius);
    EXPECT_EQ(d.worldCentre.z, 9.0f);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.worldBox[i], box[i]) << "the matrix does not move the box";
    EXPECT_EQ(d.worldMatrix.m[12], 100.0f);
    EXPECT_EQ(d.worldMatrix.m[13], 200.0f);
    EXPECT_EQ(d.worldMatrix.m[14], 300.0f);
    EXPECT_EQ(d.worldMatrix.m[15], 1.0f);
    EXPECT_EQ(d.identifier, -1);
    EXPECT_EQ(d.value, -1.0f);
    EXPECT_EQ(d.path, nullptr);
  }
  cases[0].drawable.reset();
  cases[1].drawable.reset();
  EXPECT_EQ(sound.released, std::vector<int>{4}) << "the LOD drawable's -1 is no handle";
  g_soundMng = nullptr;
}

TEST(Drawable, ADrawableReleasesOnlyARealSound) {
  test::TempDir dir;
  test::CoreServices core;
  test::RecordingSoundMng sound;
  g_soundMng = &sound;
  for (const std::int32_t handle : {0, 9, -3}) {
    auto drawable = std::make_unique<N_RenderObject>();
    const float box[6] = {};
    drawable->SetTransform(box, 0, N_RenderObject::kMeshObject, N_Matrix4{}, handle);
    const N_PathKey key{};
    drawable->path = std::make_unique<N_CameraPath>(&key, 1, 0, 1.0f);  // goes with it (LeakSanitizer)
  }
  EXPECT_EQ(sound.released, (std::vector<int>{9, -3}));
  g_soundMng = nullptr;
}

TEST(Drawable, TheLodObjectQueuesTheMeshOfItsDistance) {
  test::TempDir dir;
  test::CoreServices core;
  test::WriteLodQuads("tree", 10.0f);
  const float distances[3] = {100.0f, 200.0f, 300.0f};
  const std::unique_ptr<N_LodObject> lod = N_LodObject::Load("tree", distances);
  N_LodRenderObject drawable(lod->Mesh(0), lod->Mesh(1), lod->Mesh(2), 100.0f, 200.0f, 300.0f);
  const struct {
    float distance;
    std::int32_t minimumLevel;
    int mesh;  ///< 1-3, 0 for none
  } cases[] = {
      {50, 0, 1},   {99.9f, 0, 1}, {100, 0, 2}, {150, 0, 2}, {250, 0, 3}, {299, 0, 3},  {300, 0, 0},
      {5000, 0, 0}, {50, 1, 2},    {50, 2, 3},  {150, 2, 3}, {50, 3, 0},  {250, 3, 0}, {-50, 0, 1},
  };
  for (const auto& c : cases) {
    for (int level = 0; level < 3; ++level) lod->Mesh(level)->Instances()[0]->matrices.clear();
    drawable.Render(c.distance, c.minimumLevel);
    for (int level = 0; level < 3; ++level) {
      const auto& queued = lod->Mesh(level)->Instances()[0]->matrices;
      const bool expected = c.mesh == level + 1;
      EXPECT_EQ(queued.size(), expected ? 1u : 0u) << c.distance << " min " << c.minimumLevel << " mesh " << level + 1;
      if (expected && !queued.empty()) {
        EXPECT_EQ(queued[0], &drawable.worldMatrix);
      }
    }
  }
}

}  // namespace

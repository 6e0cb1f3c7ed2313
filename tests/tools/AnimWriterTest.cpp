// The AMSH and ANIM writer: its rotations mean what the engine's matrices make of them,
// and what it writes the game's readers read back field for field.
#include "core/Matrix4.h"
#include "scene/AnimFileData.h"
#include "scene/Animation.h"
#include "tests/support/TestEnv.h"
#include "tools/AnimWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

/// Rodrigues' formula: v turned by angle about the unit axis, counter-clockwise seen
/// from the axis tip.
N_Vector3 Turned(const N_Vector3& v, const N_Vector3& k, float angle) {
  N_Vector3 cross;
  Vec3Cross(cross, k, v);
  const float c = std::cos(angle), s = std::sin(angle);
  return v * c + cross * s + k * (Vec3Dot(k, v) * (1.0f - c));
}

TEST(AnimWriter, RotationsTurnAsTheEngineMatrixTurnsThem) {
  const float r = 1.0f / std::sqrt(3.0f);
  const N_Vector3 axes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {r, r, r}, {0, -1, 0}};
  const float angles[] = {0.3f, 1.5707964f, -2.0f, 3.0f};
  const N_Vector3 v{0.3f, -1.2f, 2.5f};
  for (const N_Vector3& axis : axes) {
    for (const float angle : angles) {
      const N_Quaternion q = datagen::AxisRotation(axis, angle);
      N_Matrix4 m;
      m.FromQuaternion(q);
      // The animation matrices apply to column vectors (row r . v).
      const N_Vector3 got{m.m[0] * v.x + m.m[1] * v.y + m.m[2] * v.z, m.m[4] * v.x + m.m[5] * v.y + m.m[6] * v.z,
                          m.m[8] * v.x + m.m[9] * v.y + m.m[10] * v.z};
      const N_Vector3 want = Turned(v, axis, angle);
      EXPECT_NEAR(got.x, want.x, 1e-5) << angle;
      EXPECT_NEAR(got.y, want.y, 1e-5) << angle;
      EXPECT_NEAR(got.z, want.z, 1e-5) << angle;
    }
  }
  // The documented form about +z.
  const N_Quaternion z = datagen::AxisRotation({0, 0, 1}, 1.0f);
  EXPECT_FLOAT_EQ(z.w, std::cos(0.5f));
  EXPECT_FLOAT_EQ(z.z, -std::sin(0.5f));
}

TEST(AnimWriter, TheReadersReadBackWhatItWrites) {
  test::TempDir dir;
  test::CoreServices core;
  datagen::AnimMeshBuilder builder;
  builder.AddBone("hips", -1, {1, 2, 3});
  builder.AddBone(std::string(200, 'x'), 0, {4, 5, 6});  // cut to the 128-byte field with its NUL
  builder.AddSkinPoint({1, 1, 1}, {{0, 0.25f}, {1, 0.75f}});
  builder.AddSkinPoint({2, -3, 4}, {{1, 1.0f}});
  builder.AddSkinPoint({-5, 0, 9}, {{0, 1.0f}});
  const int material = builder.AddMaterial("anim/material");
  datagen::AnimMeshBuilder::Vertex v[3];
  for (int i = 0; i < 3; ++i) {
    v[i].skinPoint = i;
    v[i].uv[0] = 0.25f * float(i);
    v[i].lightmapUv[1] = 0.5f;
    v[i].normal = {0, 1, 0};
    v[i].colour = 0xFF102030u + std::uint32_t(i);
  }
  builder.AddSurface(material, {v[0], v[1], v[2]}, {0, 1, 2, 2, 1, 0}, animfile::kPlainSurface, 1);
  builder.AddShadowTriangle(0, 1, 2);
  const std::vector<std::uint8_t> mesh = builder.Write();
  Write("m.mesh", mesh);

  // The directory: sections one after the other from byte 160; unused ones 0 and 0.
  N_AnimFileData file;
  ASSERT_TRUE(file.Read("m.mesh"));
  EXPECT_EQ(file.Word(0), animfile::kMeshMagic);
  EXPECT_EQ(file.Word(1), 140u);
  std::uint32_t next = 160;
  const std::pair<int, std::uint32_t> sections[] = {{1, 304}, {3, 3 * 36}, {4, 6 * 2}, {5, 56},
                                                    {6, 3 * 20},  {7, 4 * 8},  {8, 2 * 160}, {12, 20}};
  for (const auto& [section, size] : sections) {
    EXPECT_EQ(file.Entry(section).offset, next) << "section " << section;
    EXPECT_EQ(file.Entry(section).size, size) << "section " << section;
    next += size;
  }
  EXPECT_EQ(next, mesh.size());
  for (const int unused : {2, 9, 10, 11, 13, 19}) {
    EXPECT_EQ(file.Entry(unused).offset, 0u);
    EXPECT_EQ(file.Entry(unused).size, 0u);
  }

  // The records as the mesh reader takes them.
  std::vector<N_AnimBoneRecord> bones;
  std::vector<N_AnimSkinPoint> points;
  std::vector<N_AnimWeight> weights;
  std::vector<N_AnimSurfaceRecord> surfaces;
  std::vector<N_AnimVertexRecord> vertices;
  std::vector<std::uint16_t> indices;
  std::vector<N_AnimNameRecord> materials;
  std::vector<N_ShadowTriangle> triangles;
  ASSERT_TRUE(file.ReadSection(animfile::kBones, bones) && file.ReadSection(animfile::kSkinPoints, points) &&
              file.ReadSection(animfile::kWeights, weights) && file.ReadSection(animfile::kSurfaces, surfaces) &&
              file.ReadSection(animfile::kVertices, vertices) && file.ReadSection(animfile::kIndices, indices) &&
              file.ReadSection(animfile::kMaterials, materials) &&
              file.ReadSection(animfile::kShadowTriangles, triangles));
  ASSERT_EQ(bones.size(), 2u);
  EXPECT_STREQ(bones[0].name, "hips");
  EXPECT_EQ(bones[0].parent, -1);
  EXPECT_EQ(bones[0].position.x, -1.0f) << "the inverse of the bind transform";
  EXPECT_EQ(bones[0].position.z, -3.0f);
  EXPECT_EQ(bones[0].rotation.w, 1.0f);
  EXPECT_EQ(std::string(bones[1].name).size(), 127u);
  EXPECT_EQ(bones[1].parent, 0);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[1].position.y, -3.0f);
  EXPECT_EQ(points[0].weightCount, 2u);
  EXPECT_EQ(points[2].firstWeight, 3u);
  EXPECT_EQ(weights[1].bone, 1u);
  EXPECT_EQ(weights[1].weight, 0.75f);
  ASSERT_EQ(surfaces.size(), 1u);
  const N_AnimSurfaceRecord& surface = surfaces[0];
  EXPECT_EQ(surface.type, 3u);
  EXPECT_EQ(surface.primitiveType, 1u);
  EXPECT_EQ(surface.firstVertex, 0u);
  EXPECT_EQ(surface.vertexCount, 3u);
  EXPECT_EQ(surface.indexCount, 6u);
  EXPECT_EQ(indices[3], 2u);
  EXPECT_EQ(vertices[2].skinPoint, 2u);
  EXPECT_EQ(vertices[2].colour, 0xFF102032u);
  EXPECT_EQ(vertices[2].uv0[0], 0.5f);
  EXPECT_EQ(vertices[1].uv1[1], 0.5f);
  EXPECT_EQ(vertices[1].normal[1], 1.0f);
  // The box of the surface's skin points.
  EXPECT_EQ(surface.box[0], -5.0f);
  EXPECT_EQ(surface.box[1], -3.0f);
  EXPECT_EQ(surface.box[5], 9.0f);
  EXPECT_STREQ(materials[0].name, "anim/material");
  ASSERT_EQ(triangles.size(), 1u);
  EXPECT_EQ(triangles[0].corner[2], 2u);

  // Keys relative to the parent, in the track order given.
  const std::vector<N_AnimKey> pose = builder.BindPose();
  EXPECT_EQ(pose[1].position.x, 3.0f);
  EXPECT_EQ(pose[1].position.z, 3.0f);
  N_AnimKey turned = builder.Key(1, datagen::AxisRotation({1, 0, 0}, 0.5f));
  Write("a.anim", datagen::WriteAnimation({{"second", {pose[1], turned, pose[1]}}, {"hips", {pose[0], pose[0]}}}));
  N_Animation animation;
  ASSERT_TRUE(animation.Load("a.anim"));
  ASSERT_EQ(animation.TrackCount(), 2);
  EXPECT_STREQ(animation.Tracks()[0].name, "second");
  EXPECT_EQ(animation.Tracks()[0].keyCount, 3u);
  EXPECT_EQ(animation.Tracks()[1].firstKey, 3u);
  EXPECT_EQ(animation.Key(0, 1).rotation.x, turned.rotation.x);
  EXPECT_EQ(animation.Key(0, 1).position.y, 3.0f);
  EXPECT_EQ(animation.Key(1, 0).position.x, 1.0f);
}

}  // namespace

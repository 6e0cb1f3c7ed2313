// The two readers: what they take from the writer's files, what they refuse, and that a
// refusal leaves the object as it was.
#include "core/Matrix34.h"
#include "render/Render.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "tests/scene/AnimTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

/// What a loaded mesh holds, for comparing before and after a refused load.
struct MeshSnapshot {
  int bones, surfaces, points, vertices, triangles;
  std::vector<int> shaders;
  N_Vector3 boundsMin, boundsMax;

  explicit MeshSnapshot(const N_AnimObject& mesh)
      : bones(mesh.BoneCount()),
        surfaces(int(mesh.Surfaces().size())),
        points(int(mesh.SkinPoints().size())),
        vertices(int(mesh.RenderVertices().size())),
        triangles(int(mesh.ShadowTriangles().size())),
        boundsMin(mesh.BoundsMin()),
        boundsMax(mesh.BoundsMax()) {
    for (const N_MeshSurface& s : mesh.Surfaces()) shaders.push_back(s.shader);
  }
  bool operator==(const MeshSnapshot& o) const {
    return bones == o.bones && surfaces == o.surfaces && points == o.points && vertices == o.vertices &&
           triangles == o.triangles && shaders == o.shaders && boundsMin.x == o.boundsMin.x &&
           boundsMax.z == o.boundsMax.z;
  }
};

/// The quad with a closed box on the root (shadow triangles) and a lightmapped
/// triangle: every section of the mesh file in use.
datagen::AnimMeshBuilder FullMesh() {
  datagen::AnimMeshBuilder mesh = test::TwoBoneQuad();
  mesh.AddBox(mesh.AddMaterial("anim/box"), {-1, -1, -1}, {1, 1, 1}, {{0, 1.0f}});
  std::vector<datagen::AnimMeshBuilder::Vertex> lit(3);
  lit[1].skinPoint = 1;
  lit[2].skinPoint = 2;
  mesh.AddSurface(0, lit, {0, 1, 2}, animfile::kLightmappedSurface, 0, mesh.AddLightmap("maps/lm0"));
  return mesh;
}

TEST(AnimFile, TheSamplePropAndTheTestMeshesLoadAndAreLogged) {
  test::AnimRig rig;
  const Bytes full = FullMesh().Write();
  test::WriteBytes("data/anim/full.mesh", full);
  struct Case {
    std::string path;
    int bones, surfaces, points;
    std::vector<std::string> materials;
  };
  const Case cases[] = {
      {test::GameRoot() + "/data/anim/props/flag.mesh", 4, 2, 29, {"props/flag_pole", "props/flag_cloth"}},
      {"data\\ANIM\\Full.mesh", 2, 4, 12, {"anim/quad", "anim/box"}},
  };
  for (const Case& c : cases) {
    N_AnimObject mesh;
    ASSERT_TRUE(mesh.Load(c.path.c_str())) << c.path << rig.NewLog();
    EXPECT_TRUE(test::ContainsInOrder(rig.NewLog(), {"N_AnimObject: Loading mesh \"" + c.path + "\"\n"}));
    EXPECT_EQ(mesh.BoneCount(), c.bones);
    EXPECT_EQ(int(mesh.Surfaces().size()), c.surfaces);
    EXPECT_EQ(int(mesh.SkinPoints().size()), c.points);
    EXPECT_EQ(mesh.Materials(), c.materials);
    // Every render vertex starts at its skin point's bind position; surfaces have
    // buffers, a binding and the shader of their material.
    for (const N_MeshSurface& s : mesh.Surfaces()) {
      EXPECT_NE(s.vertexBuffer, nullptr);
      EXPECT_NE(s.indexBuffer, nullptr);
      EXPECT_NE(s.binding, nullptr);
      ASSERT_NE(rig.shaders.GetEntry(s.shader), nullptr);
      EXPECT_TRUE(rig.shaders.GetEntry(s.shader)->name.has_value());
    }
    for (std::size_t v = 0; v < mesh.RenderVertices().size(); ++v) {
      const float* p = mesh.RenderVertices()[v].position;
      bool atAPoint = false;
      for (const N_Vector3& q : mesh.Positions()) atAPoint |= q.x == p[0] && q.y == p[1] && q.z == p[2];
      EXPECT_TRUE(atAPoint) << c.path << " vertex " << v;
    }
  }
  // The lightmapped surface of the full mesh names its lightmap's record.
  N_AnimObject mesh;
  ASSERT_TRUE(mesh.Load("data/anim/full.mesh"));
  EXPECT_EQ(mesh.Surfaces()[3].type, 1);
  EXPECT_EQ(mesh.Lightmaps().size(), 1u);
  EXPECT_EQ(mesh.Surfaces()[3].lightmap, mesh.Lightmaps()[0].texture);
  EXPECT_EQ(mesh.ShadowTriangles().size(), 12u);
}

/// A refused load: the report's code and text, and the object as it was.
struct Refusal {
  const char* what;
  std::function<void(Bytes& mesh, Bytes& animation)> edit;
  bool animation;       ///< the case loads the animation file, else the mesh file
  int code;             ///< the reporter's code
  const char* message;  ///< after the file name; null: the file is missing
};

void PatchSurfaceField(Bytes& mesh, int surface, std::size_t field, std::uint32_t value) {
  test::PatchU32(mesh, test::SectionOffset(mesh, animfile::kSurfaces) + 56u * std::size_t(surface) + field, value);
}

TEST(AnimFile, RefusalsReportAndLeaveTheObjectAsItWas) {
  test::AnimRig rig;
  const datagen::AnimMeshBuilder builder = FullMesh();
  const Bytes goodMesh = builder.Write();
  const Bytes goodAnimation = test::AnimationOf(builder, test::BindFrames(builder, 3));
  const auto word = [](Bytes& b, std::size_t offset, std::uint32_t v) { test::PatchU32(b, offset, v); };
  const std::vector<Refusal> cases = {
      {"mesh of version 130", [&](Bytes& m, Bytes&) { word(m, 4, 130); }, false, 9,
       " is an v.130 not supported version, supported version is 1.30"},
      {"mesh with the animation's magic", [&](Bytes& m, Bytes&) { word(m, 0, animfile::kAnimationMagic); }, false, 9,
       " is not valid mesh file!"},
      {"mesh shorter than its directory", [](Bytes& m, Bytes&) { m.resize(159); }, false, 9, " is not valid mesh file!"},
      {"animation whose magic is AMSH", [&](Bytes&, Bytes& a) { word(a, 0, animfile::kMeshMagic); }, true, 9,
       " is not valid mesh file!"},
      {"animation of version 100", [&](Bytes&, Bytes& a) { word(a, 4, 100); }, true, 9,
       " is an v.100 not supported version, supported version is 1.00"},
      {"section past the end", [&](Bytes& m, Bytes&) { word(m, 8 * 6 + 4, std::uint32_t(m.size())); }, false, 9,
       " is not valid mesh file!"},
      {"vertex naming no skin point",
       [&](Bytes& m, Bytes&) { word(m, test::SectionOffset(m, animfile::kVertices), 12); }, false, 9,
       " is not valid mesh file!"},
      {"weight naming no bone", [&](Bytes& m, Bytes&) { word(m, test::SectionOffset(m, animfile::kWeights), 2); },
       false, 9, " is not valid mesh file!"},
      {"skin point whose weights run past the section",
       [&](Bytes& m, Bytes&) { word(m, test::SectionOffset(m, animfile::kSkinPoints) + 16, 99); }, false, 9,
       " is not valid mesh file!"},
      {"material index out of range", [&](Bytes& m, Bytes&) { PatchSurfaceField(m, 0, 8, 2); }, false, 9,
       " is not valid mesh file!"},
      {"lightmap index out of range", [&](Bytes& m, Bytes&) { PatchSurfaceField(m, 3, 12, 1); }, false, 9,
       " is not valid mesh file!"},
      {"vertices past the section", [&](Bytes& m, Bytes&) { PatchSurfaceField(m, 3, 20, 4); }, false, 9,
       " is not valid mesh file!"},
      {"indices past the section", [&](Bytes& m, Bytes&) { PatchSurfaceField(m, 3, 24, 0xFFFFFFFE); }, false, 9,
       " is not valid mesh file!"},
      {"index beyond the surface's vertices",
       [&](Bytes& m, Bytes&) { m[test::SectionOffset(m, animfile::kIndices) + 2] = 4; }, false, 9,
       " is not valid mesh file!"},
      {"shadow corner naming no skin point",
       [&](Bytes& m, Bytes&) { m[test::SectionOffset(m, animfile::kShadowTriangles)] = 12; }, false, 9,
       " is not valid mesh file!"},
      {"animation without tracks", [&](Bytes&, Bytes& a) { word(a, 8 * 9 + 4, 0); }, true, 9,
       " is not valid mesh file!"},
      {"track of one key", [&](Bytes&, Bytes& a) { word(a, test::SectionOffset(a, animfile::kTracks) + 132, 1); },
       true, 9, " is not valid mesh file!"},
      {"track past the keys", [&](Bytes&, Bytes& a) { word(a, test::SectionOffset(a, animfile::kTracks) + 128, 4); },
       true, 9, " is not valid mesh file!"},
      {"missing mesh", [](Bytes&, Bytes&) {}, false, 12, nullptr},
      {"missing animation", [](Bytes&, Bytes&) {}, true, 12, nullptr},
  };
  for (const Refusal& c : cases) {
    test::WriteBytes("data/anim/good.mesh", goodMesh);
    test::WriteBytes("data/anim/good.anim", goodAnimation);
    N_AnimObject mesh;
    N_Animation animation;
    ASSERT_TRUE(mesh.Load("data/anim/good.mesh"));
    ASSERT_TRUE(animation.Load("data/anim/good.anim"));
    const MeshSnapshot meshBefore(mesh);
    const std::size_t tracksBefore = animation.Tracks().size(), keysBefore = animation.Keys().size();
    Bytes m = goodMesh, a = goodAnimation;
    c.edit(m, a);
    std::remove("data/anim/case.mesh");
    std::remove("data/anim/case.anim");
    if (c.message) {
      test::WriteBytes("data/anim/case.mesh", m);
      test::WriteBytes("data/anim/case.anim", a);
    }
    rig.NewLog();
    const std::string file = c.animation ? "data/anim/case.anim" : "data/anim/case.mesh";
    EXPECT_FALSE(c.animation ? animation.Load(file.c_str()) : mesh.Load(file.c_str())) << c.what;
    const std::string expected = c.message ? file + c.message : "error loading file " + file + "!\n";
    EXPECT_EQ(rig.core.errorLog->LastCode(), c.code) << c.what;
    EXPECT_NE(rig.NewLog().find("*** " + expected), std::string::npos) << c.what << ": " << expected;
    EXPECT_TRUE(MeshSnapshot(mesh) == meshBefore) << c.what;
    EXPECT_EQ(animation.Tracks().size(), tracksBefore) << c.what;
    EXPECT_EQ(animation.Keys().size(), keysBefore) << c.what;
  }
  N_Animation animation;
  rig.NewLog();
  EXPECT_FALSE(animation.Load(nullptr));
  EXPECT_EQ(rig.NewLog(), "") << "a null animation name gives false without a message";
}

TEST(AnimFile, SectionSizesBetweenRecordsGiveTheWholeRecordsOnly) {
  test::AnimRig rig;
  const datagen::AnimMeshBuilder builder = FullMesh();
  const Bytes mesh = builder.Write();
  N_AnimObject reference;
  test::WriteBytes("data/anim/ref.mesh", mesh);
  ASSERT_TRUE(reference.Load("data/anim/ref.mesh"));
  // A few bytes more than the records (still inside the file: the next section follows).
  for (const int section : {animfile::kMaterials, animfile::kVertices, animfile::kIndices, animfile::kSurfaces,
                            animfile::kSkinPoints, animfile::kWeights, animfile::kBones}) {
    Bytes edited = mesh;
    test::PatchU32(edited, 8u * section + 4, test::SectionSize(mesh, section) + 1);
    test::WriteBytes("data/anim/edited.mesh", edited);
    N_AnimObject loaded;
    ASSERT_TRUE(loaded.Load("data/anim/edited.mesh")) << "section " << section;
    EXPECT_TRUE(MeshSnapshot(loaded) == MeshSnapshot(reference)) << "section " << section;
    EXPECT_EQ(loaded.Materials(), reference.Materials());
    EXPECT_EQ(loaded.Weights().size(), reference.Weights().size());
  }
  const Bytes animation = test::AnimationOf(builder, test::BindFrames(builder, 4));
  Bytes edited = animation;
  test::PatchU32(edited, 8u * animfile::kTracks + 4, test::SectionSize(animation, animfile::kTracks) + 135);
  test::WriteBytes("data/anim/edited.anim", edited);
  N_Animation loaded;
  ASSERT_TRUE(loaded.Load("data/anim/edited.anim"));
  EXPECT_EQ(loaded.TrackCount(), 2);
  EXPECT_EQ(loaded.Keys().size(), 8u);
}

TEST(AnimFile, ASurfaceOfType2GetsNoShaderAndNoGeometry) {
  test::AnimRig rig;
  Bytes mesh = FullMesh().Write();
  PatchSurfaceField(mesh, 1, 0, 2);
  test::WriteBytes("data/anim/type2.mesh", mesh);
  N_AnimObject loaded;
  ASSERT_TRUE(loaded.Load("data/anim/type2.mesh"));
  const N_MeshSurface& surface = loaded.Surfaces()[1];
  EXPECT_EQ(surface.shader, -1);
  EXPECT_EQ(surface.vertexCount, 0u);
  EXPECT_EQ(surface.indexCount, 0u);
  EXPECT_EQ(surface.vertices, nullptr);
  EXPECT_EQ(surface.indices, nullptr);
  // The renderer refuses its zero-sized buffers and says so; the others are whole.
  EXPECT_TRUE(test::ContainsInOrder(rig.NewLog(), {"!!! Error: Attempt to create the index buffer with 0 elements\n",
                                                   "!!! Error: Attempt to create the vertex buffer with 0 vertices\n"}));
  EXPECT_GE(loaded.Surfaces()[0].shader, 0);
  EXPECT_EQ(loaded.Surfaces()[2].vertexCount, 24u);
}

TEST(AnimFile, HierarchyBindMatricesAndBounds) {
  test::AnimRig rig;
  datagen::AnimMeshBuilder builder;
  // Parents: 0 root; 1, 2 children of 0; 3 names no bone; 4 child of 1; 5 root; 6 its own parent.
  const int parents[7] = {-1, 0, 0, 9, 1, -1, 6};
  for (int i = 0; i < 7; ++i) builder.AddBone("b" + std::to_string(i), parents[i], {float(i), 0, 0});
  builder.AddSkinPoint({0, 0, 0}, {{0, 1.0f}});
  Bytes bytes = builder.Write();
  // Bone 4 gets a stored rotation (a quarter turn about z) and position (1, 2, 3).
  const std::size_t bone4 = test::SectionOffset(bytes, animfile::kBones) + 4 * 160;
  const N_Quaternion q = datagen::AxisRotation({0, 0, 1}, 1.5707964f);
  const float stored[7] = {1, 2, 3, q.w, q.x, q.y, q.z};
  for (int i = 0; i < 7; ++i) test::PatchF32(bytes, bone4 + 128 + 4 * std::size_t(i), stored[i]);
  test::WriteBytes("data/anim/tree.mesh", bytes);
  N_AnimObject mesh;
  ASSERT_TRUE(mesh.Load("data/anim/tree.mesh"));
  const std::vector<std::vector<int>> children = {{1, 2}, {4}, {}, {}, {}, {}, {}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(std::vector<int>(mesh.Bones()[std::size_t(i)].children.begin(),
                               mesh.Bones()[std::size_t(i)].children.end()),
              children[std::size_t(i)])
        << "bone " << i;
    EXPECT_EQ(mesh.Bones()[std::size_t(i)].index, i);
  }
  EXPECT_EQ(mesh.Roots(), (std::vector<std::int32_t>{0, 5}));
  const N_Bone& bone = mesh.Bones()[4];
  N_Matrix4 expected;
  expected.FromQuaternion(q);
  expected.m[3] = 1, expected.m[7] = 2, expected.m[11] = 3;
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(bone.storedTransform.m[i], expected.m[i]) << i;
  N_Matrix4 inverse;
  N_Matrix34(expected).Invert(inverse);
  N_Matrix4 product;
  MatrixMultiply(product, bone.storedTransform, bone.inverseTransform);
  for (int i = 0; i < 16; ++i) {
    EXPECT_FLOAT_EQ(bone.inverseTransform.m[i], inverse.m[i]) << i;
    EXPECT_NEAR(product.m[i], N_Matrix4{}.m[i], 1e-6) << i;
  }
  // No surfaces: the inverted box stays.
  EXPECT_EQ(mesh.BoundsMin().x, 1.0e9f);
  EXPECT_EQ(mesh.BoundsMax().y, -1.0e9f);

  // Bounds: the union of the surface boxes; centre and radius from it.
  test::WriteBytes("data/anim/full.mesh", FullMesh().Write());
  N_AnimObject full;
  ASSERT_TRUE(full.Load("data/anim/full.mesh"));
  const N_Vector3 lo{-1, -1, -1}, hi{20, 1, 10};
  EXPECT_EQ(full.BoundsMin().x, lo.x);
  EXPECT_EQ(full.BoundsMin().z, lo.z);
  EXPECT_EQ(full.BoundsMax().x, hi.x);
  EXPECT_EQ(full.BoundsMax().y, hi.y);
  EXPECT_EQ(full.BoundsMax().z, hi.z);
  EXPECT_FLOAT_EQ(full.Centre().x, 9.5f);
  EXPECT_FLOAT_EQ(full.Radius(), std::sqrt(10.5f * 10.5f + 1.0f + 5.5f * 5.5f));
}

TEST(AnimFile, MatchBonesOrdersTracksByBones) {
  test::AnimRig rig;
  datagen::AnimMeshBuilder builder;
  for (const char* name : {"a", "b", "c"}) builder.AddBone(name, -1, {});
  test::WriteBytes("data/anim/three.mesh", builder.Write());
  N_AnimObject mesh;
  ASSERT_TRUE(mesh.Load("data/anim/three.mesh"));
  const auto keys = [](float x) {
    N_AnimKey key;
    key.position.x = x;
    return std::vector<N_AnimKey>{key, key};
  };
  struct Case {
    const char* what;
    std::vector<datagen::AnimTrack> tracks;
    bool matches;
    std::vector<float> order;  ///< first key x of tracks 0.. after the call
    const char* log;
  };
  const Case cases[] = {
      {"reversed", {{"c", keys(3)}, {"b", keys(2)}, {"a", keys(1)}}, true, {1, 2, 3}, ""},
      {"two tracks named b", {{"b", keys(4)}, {"a", keys(1)}, {"b", keys(5)}, {"c", keys(3)}}, false, {4, 1, 5, 3}, ""},
      {"a bone without a track", {{"a", keys(1)}, {"c", keys(6)}, {"c", keys(7)}}, false, {1, 6, 7}, "->b<-"},
      {"case differs", {{"A", keys(1)}, {"b", keys(2)}, {"c", keys(3)}}, false, {1, 2, 3}, "->a<-"},
      {"fewer tracks", {{"a", keys(1)}, {"b", keys(2)}}, false, {1, 2}, ""},
  };
  for (const Case& c : cases) {
    test::WriteBytes("data/anim/match.anim", datagen::WriteAnimation(c.tracks));
    N_Animation animation;
    ASSERT_TRUE(animation.Load("data/anim/match.anim")) << c.what;
    rig.NewLog();
    EXPECT_EQ(animation.MatchBones(mesh.Bones().data(), mesh.BoneCount()), c.matches) << c.what;
    ASSERT_EQ(animation.Tracks().size(), c.order.size()) << c.what;
    for (std::size_t i = 0; i < c.order.size(); ++i) {
      EXPECT_EQ(animation.Key(int(i), 0).position.x, c.order[i]) << c.what << " track " << i;
    }
    EXPECT_EQ(rig.NewLog(), c.log) << c.what;
  }
  // Duplicates: with four bones a, b, b2, c the first "b" track goes to bone b every time.
  test::WriteBytes("data/anim/dup.anim", datagen::WriteAnimation({{"c", keys(3)}, {"b", keys(4)}, {"a", keys(1)},
                                                                   {"b", keys(5)}}));
  N_Animation animation;
  ASSERT_TRUE(animation.Load("data/anim/dup.anim"));
  N_Bone bones[4];
  std::strcpy(bones[0].name, "a");
  std::strcpy(bones[1].name, "b");
  std::strcpy(bones[2].name, "b");
  std::strcpy(bones[3].name, "c");
  ASSERT_TRUE(animation.MatchBones(bones, 4));
  EXPECT_EQ(animation.Key(1, 0).position.x, 4.0f);
  EXPECT_EQ(animation.Key(2, 0).position.x, 4.0f);
}

}  // namespace

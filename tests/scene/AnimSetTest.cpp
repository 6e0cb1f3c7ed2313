// The animation set's lists: meshes of one skeleton, fitted animations, actions,
// instances, the setters' index checks, the shadow volumes and what Release gives back.
#include "render/RendererTextureDevice.h"
#include "render/ShadowVolume.h"
#include "render/TextureMngImpl.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory.h"
#include "tests/scene/AnimTestSupport.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

namespace {

/// The quad's mesh, a mesh of three bones, and animations for both skeletons.
void WriteFiles() {
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  test::WriteBytes("data/anim/quad.mesh", quad.Write());
  test::WriteBytes("data/anim/walk.anim", test::AnimationOf(quad, test::BindFrames(quad, 4)));
  test::WriteBytes("data/anim/run.anim", test::AnimationOf(quad, test::BindFrames(quad, 6)));
  datagen::AnimMeshBuilder three = test::TwoBoneQuad();
  three.AddBone("end", 1, {30, 0, 0});
  test::WriteBytes("data/anim/three.mesh", three.Write());
  test::WriteBytes("data/anim/three.anim", test::AnimationOf(three, test::BindFrames(three, 4)));
  // The quad's bones under other names.
  test::WriteBytes("data/anim/renamed.anim",
                   datagen::WriteAnimation({{"root", {N_AnimKey{}, N_AnimKey{}}}, {"TIP", {N_AnimKey{}, N_AnimKey{}}}}));
}

TEST(AnimSet, MeshesShareTheFirstMeshsSkeleton) {
  test::AnimRig rig;
  WriteFiles();
  N_AnimationFactory set;
  EXPECT_EQ(set.AddMesh(nullptr), -1);
  EXPECT_EQ(set.AddMesh("data/anim/none.mesh"), -1);
  EXPECT_EQ(set.CreateInstance(), -1) << "no mesh yet";
  EXPECT_EQ(set.AddAnimation("data/anim/walk.anim"), -1) << "no mesh yet";
  EXPECT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
  rig.NewLog();
  EXPECT_EQ(set.AddMesh("data/anim/three.mesh"), -1);
  EXPECT_TRUE(test::ContainsInOrder(
      rig.NewLog(), {"*** Mesh data/anim/three.mesh has different bone hierarhy or bad names!\n"}));
  EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
  EXPECT_EQ(set.MeshCount(), 1);
  EXPECT_EQ(set.AddMesh("data/anim/quad.mesh"), 1) << "the same skeleton again";
  const int instance = set.CreateInstance();
  EXPECT_EQ(instance, 0);
  ASSERT_EQ(set.Instance(instance)->boneMatrices.size(), 2u);
  for (const N_Matrix4& m : set.Instance(instance)->boneMatrices) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], N_Matrix4{}.m[i]) << "identity until posed";
  }
}

TEST(AnimSet, AnimationsAndActions) {
  test::AnimRig rig;
  WriteFiles();
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
  struct Case {
    const char* file;
    int result;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"data/anim/walk.anim", 0, {}},
      {"data/anim/none.anim", -1,
       {"*** error loading file data/anim/none.anim!\n", "*** Load animation data/anim/none.anim FAILED!\n"}},
      {"data/anim/three.anim", -1, {"*** Animation data/anim/three.anim has different bone hierarhy or bad names!\n"}},
      {"data/anim/renamed.anim", -1,
       {"->tip<-", "*** Animation data/anim/renamed.anim has different bone hierarhy or bad names!\n"}},
      {"data/anim/run.anim", 1, {}},
  };
  for (const Case& c : cases) {
    rig.NewLog();
    EXPECT_EQ(set.AddAnimation(c.file), c.result) << c.file;
    EXPECT_TRUE(test::ContainsInOrder(rig.NewLog(), c.log)) << c.file;
  }
  EXPECT_EQ(set.AnimationCount(), 2);

  // An action whose second file fails: -1, and its first animation stays in the list.
  EXPECT_EQ(set.AddAction("data/anim/walk.anim", "data/anim/none.anim", true), -1);
  EXPECT_EQ(set.AnimationCount(), 3);
  EXPECT_EQ(set.ActionCount(), 0);
  EXPECT_EQ(set.AddAction(nullptr, nullptr, true), -1);
  // Actions: one animation or two, their own index, rate 30; the name is file A's.
  EXPECT_EQ(set.AddAction("data/anim/walk.anim", nullptr, false), 0);
  EXPECT_EQ(set.AddAction("data/anim/walk.anim", "data/anim/run.anim", true), 1);
  const N_AnimAction& single = *set.Action(0);
  const N_AnimAction& mixed = *set.Action(1);
  EXPECT_EQ(single.twoAnimations, 0);
  EXPECT_EQ(single.loop, 0);
  EXPECT_EQ(single.animationA, 3);
  EXPECT_EQ(single.actionIndex, 0);
  EXPECT_EQ(single.rate, 30.0f);
  EXPECT_EQ(mixed.twoAnimations, 1);
  EXPECT_EQ(mixed.loop, 1);
  EXPECT_EQ(mixed.animationA, 4);
  EXPECT_EQ(mixed.animationB, 5);
  EXPECT_EQ(mixed.actionIndex, 1);
  EXPECT_EQ(set.FindAction("data/anim/walk.anim"), 0) << "the first action of a name keeps it";
  EXPECT_EQ(set.FindAction("data/anim/run.anim"), -1);
}

TEST(AnimSet, SettersRefuseBadIndicesAndChangeNothing) {
  test::AnimRig rig;
  WriteFiles();
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
  ASSERT_EQ(set.AddAction("data/anim/walk.anim", nullptr, true), 0);
  const int instance = set.CreateInstance();
  // The fields the setters change, as made (an instance owns its emitters: not copied).
  const N_AnimInstance& made = *set.Instance(instance);
  const struct {
    std::int32_t mesh, queuedAction;
    float queuedRate;
    N_AnimAction channel1;
    float blendDuration;
  } before{made.mesh, made.queuedAction, made.queuedRate, made.channel1, made.blendDuration};
  struct Case {
    const char* what;
    bool (*call)(N_AnimationFactory&);
  };
  const Case cases[] = {
      {"mesh of instance -1", [](N_AnimationFactory& s) { return s.SetInstanceMesh(-1, 0); }},
      {"mesh of instance 1", [](N_AnimationFactory& s) { return s.SetInstanceMesh(1, 0); }},
      {"mesh 1", [](N_AnimationFactory& s) { return s.SetInstanceMesh(0, 1); }},
      {"mesh -1", [](N_AnimationFactory& s) { return s.SetInstanceMesh(0, -1); }},
      {"action of instance 1", [](N_AnimationFactory& s) { return s.SetAction(1, 0, 10.0f, 0.5f); }},
      {"action 1", [](N_AnimationFactory& s) { return s.SetAction(0, 1, 10.0f, 0.5f); }},
      {"action -1", [](N_AnimationFactory& s) { return s.SetAction(0, -1, 10.0f, 0.5f); }},
      {"next action of instance -1", [](N_AnimationFactory& s) { return s.SetNextAction(-1, 0, 10.0f, 0.5f); }},
      {"next action 1", [](N_AnimationFactory& s) { return s.SetNextAction(0, 1, 10.0f, 0.5f); }},
      {"rate of instance 1", [](N_AnimationFactory& s) { return s.SetActionRate(1, 10.0f, 0.5f, 2.0f); }},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.call(set)) << c.what;
    const N_AnimInstance& after = *set.Instance(instance);
    EXPECT_EQ(after.mesh, before.mesh) << c.what;
    EXPECT_EQ(after.queuedAction, before.queuedAction) << c.what;
    EXPECT_EQ(after.queuedRate, before.queuedRate) << c.what;
    EXPECT_EQ(after.channel1.actionIndex, before.channel1.actionIndex) << c.what;
    EXPECT_EQ(after.channel1.rate, before.channel1.rate) << c.what;
    EXPECT_EQ(after.blendDuration, before.blendDuration) << c.what;
  }
  EXPECT_TRUE(set.SetInstanceMesh(0, 0));
  EXPECT_TRUE(set.SetAction(0, 0, 10.0f, 0.5f));
  EXPECT_TRUE(set.SetNextAction(0, 0, 10.0f, 0.5f));
  EXPECT_TRUE(set.SetActionRate(0, 10.0f, 0.5f, 2.0f));
}

TEST(AnimSet, ShadowVolumesOnlyForACastShadowFirstSurface) {
  test::AnimRig rig;
  rig.harness.dir.Write("data/scripts/anim.shader",
                        "anim/caster\n{\nsurfaceparm castshadow\n{ map x\n}\n}\n"
                        "anim/far\n{\nsurfaceparm castshadow 250\n{ map x\n}\n}\n"
                        "anim/plain\n{\n{ map x\n}\n}\n"
                        "anim/terrain\n{\nsurfaceparm terrain\n{ map x\n}\n}\n");
  struct Case {
    const char* what;
    const char* material;  ///< of the box, the first surface; null: no surfaces at all
    bool loadShaders;      ///< false: the shader has no record yet
    bool volume;
    float extrusion;
  };
  const Case cases[] = {
      {"castshadow", "anim/caster", true, true, 1000.0f},
      {"castshadow with its length", "anim/far", true, true, 250.0f},
      {"no surfaceparm", "anim/plain", true, false, 0.0f},
      {"another surfaceparm", "anim/terrain", true, false, 0.0f},
      {"no shader record", "anim/caster", false, false, 0.0f},
      {"no surfaces", nullptr, true, false, 0.0f},
  };
  for (const Case& c : cases) {
    datagen::AnimMeshBuilder builder;
    builder.AddBone("root", -1, {});
    if (c.material) {
      builder.AddBox(builder.AddMaterial(c.material), {-1, -1, -1}, {1, 1, 1}, {{0, 1.0f}});
    } else {
      builder.AddSkinPoint({}, {{0, 1.0f}});
    }
    test::WriteBytes("data/anim/box.mesh", builder.Write());
    N_AnimationFactory set;
    ASSERT_EQ(set.AddMesh("data/anim/box.mesh"), 0) << c.what;
    if (c.loadShaders) rig.LoadShaders();
    set.CreateShadowVolumes();
    const N_ShadowVolume* volume = set.Mesh(0)->ShadowVolume();
    EXPECT_EQ(volume != nullptr, c.volume) << c.what;
    if (volume) {
      EXPECT_EQ(volume->ExtrusionLength(), c.extrusion) << c.what;
      EXPECT_EQ(volume->Edges().size(), 18u) << c.what << ": the box's closed edge list";
    }
    set.CreateShadowVolumes();  // a race set up again replaces the volume
    EXPECT_EQ(set.Mesh(0)->ShadowVolume() != nullptr, c.volume) << c.what;
  }
}

TEST(AnimSet, ReleaseGivesTheLightmapsBackToTheRenderer) {
  test::AnimRig rig;
  datagen::RgbaImage picture(4, 4, {200, 200, 200, 255});
  test::WriteBytes("data/maps/lm0.dds", datagen::EncodeDds(picture, {}));
  test::WriteBytes("data/textures/default.dds", datagen::EncodeDds(picture, {}));
  RendererTextureDevice textureDevice;
  N_TextureMngImpl textures(16, &textureDevice);
  g_textureMng = &textures;
  datagen::AnimMeshBuilder builder = test::TwoBoneQuad();
  std::vector<datagen::AnimMeshBuilder::Vertex> lit(3);
  lit[1].skinPoint = 1;
  lit[2].skinPoint = 2;
  builder.AddSurface(0, lit, {0, 1, 2}, animfile::kLightmappedSurface, 0, builder.AddLightmap("maps/lm0"));
  test::WriteBytes("data/anim/lit.mesh", builder.Write());
  {
    N_AnimObject mesh;
    ASSERT_TRUE(mesh.Load("data/anim/lit.mesh"));
    ASSERT_GT(mesh.Lightmaps()[0].texture, 0);
    EXPECT_EQ(mesh.Surfaces()[2].lightmap, mesh.Lightmaps()[0].texture);
    ASSERT_EQ(rig.render.TextureRegistry().size(), 1u);
    EXPECT_NE(rig.render.TextureRegistry().begin()->second.find("lm0"), std::string::npos);
    EXPECT_GT(rig.render.TextureMemory(), 0u);
  }
  EXPECT_TRUE(rig.render.TextureRegistry().empty()) << "the device texture went with the mesh";
  EXPECT_EQ(rig.render.TextureMemory(), 0u) << "and its bytes left the statistics";
  g_textureMng = nullptr;
}

TEST(AnimSet, ReleaseGivesEveryBufferAndShaderBack) {
  test::AnimRig rig;
  WriteFiles();
  const std::size_t buffers = rig.render.VertexBuffers().size(), indices = rig.render.IndexBuffers().size(),
                    bindings = rig.render.VertexBufferBindings().size();
  {
    N_AnimationFactory set;
    ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
    ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 1);
    EXPECT_EQ(rig.render.VertexBuffers().size(), buffers + 4);
    EXPECT_EQ(rig.shaders.Count(), 1);
    EXPECT_EQ(rig.shaders.GetEntry(0)->refCount, 4) << "a reference per surface";
  }
  EXPECT_EQ(rig.render.VertexBuffers().size(), buffers);
  EXPECT_EQ(rig.render.IndexBuffers().size(), indices);
  EXPECT_EQ(rig.render.VertexBufferBindings().size(), bindings);
  EXPECT_EQ(rig.shaders.Count(), 0);
}

}  // namespace

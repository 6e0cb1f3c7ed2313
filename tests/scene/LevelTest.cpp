// The level object: fog and shadow colour from the variables, the lookups by name, the
// snow switch, InitEffects (billboards, shared buffers, particle effects, sun light,
// flares, ambient sounds) and the teardown, on the recording renderer.
#include "render/IndexBuffer.h"
#include "render/Shader.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/LensFlare.h"
#include "scene/Level.h"
#include "scene/LevelCamera.h"
#include "scene/LightGrid.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "tests/scene/LevelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using test::LevelRig;

std::vector<std::string> Only(const std::vector<std::string>& events, const std::vector<std::string>& kinds) {
  std::vector<std::string> kept;
  for (const std::string& e : events) {
    for (const std::string& kind : kinds) {
      if (e.rfind(kind, 0) == 0) {
        kept.push_back(e);
        break;
      }
    }
  }
  return kept;
}

TEST(Level, FogAndShadowColourFollowTheVariables) {
  LevelRig rig;
  N_VarMng& vars = *rig.rig.core.vars;
  const struct {
    const char* name;
    int linear;
    float nearDistance, farDistance, lod;
    const char* colour;  ///< null: the built-in "fogcolor"
    bool fog;
    std::array<float, 3> expected;
    float end;
  } cases[] = {
      {"fog off", 0, 100, 9000, 6000, "FF8000", false, {}, 0},
      {"end limited by the LOD distance", 1, 100, 9000, 6000, "FF8000", true, {1.0f, 0.50196f, 0.0f}, 6000},
      {"end within the LOD distance", 1, 100, 5000, 6000, "FF8000", true, {1.0f, 0.50196f, 0.0f}, 5000},
      {"not hexadecimal: black", 1, 100, 5000, 6000, "snow", true, {0.0f, 0.0f, 0.0f}, 5000},
      {"the built-in -1: white", 1, 100, 5000, 6000, nullptr, true, {1.0f, 1.0f, 1.0f}, 5000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    vars.SetInt("foglinear", c.linear, 2);
    vars.SetFloat("foglinearnear", c.nearDistance, 2);
    vars.SetFloat("foglinearfar", c.farDistance, 2);
    vars.SetFloat("LODWorldDistance", c.lod, 2);
    vars.SetString("fogcolor", c.colour ? c.colour : "-1", 2);
    rig.render.Forget();
    rig.level().UpdateFog(0.016f);
    if (!c.fog) {
      EXPECT_EQ(rig.render.events, (std::vector<std::string>{"DisableFog", "SetShadowColor"}));
    } else {
      EXPECT_EQ(rig.render.events, (std::vector<std::string>{"SetFog", "SetShadowColor"}));
      ASSERT_EQ(rig.render.fogs.size(), 1u);
      const auto& fog = rig.render.fogs[0];
      EXPECT_EQ(fog.mode, 0);
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(fog.colour[std::size_t(i)], c.expected[std::size_t(i)], 1e-4);
      EXPECT_FLOAT_EQ(fog.start, 100.0f);
      EXPECT_FLOAT_EQ(fog.end, c.end);
      EXPECT_FLOAT_EQ(fog.density, 1.0f);
    }
    ASSERT_EQ(rig.render.shadowColours.size(), 1u);  // the built-in "AABBCC"
    EXPECT_NEAR(rig.render.shadowColours[0][0], 0.6667f, 1e-4);
    EXPECT_NEAR(rig.render.shadowColours[0][1], 0.7333f, 1e-4);
    EXPECT_NEAR(rig.render.shadowColours[0][2], 0.8f, 1e-4);
  }
}

TEST(Level, LookupsIgnoreCaseAndAnswerTheFirstOfAName) {
  LevelRig rig;
  N_Level& level = rig.level();
  std::int32_t count = -5;
  // Empty arrays.
  EXPECT_EQ(level.FindPointSet("Path", &count), nullptr);
  EXPECT_EQ(level.FindTrigger("Trigger"), nullptr);
  EXPECT_EQ(level.FindLight("sun"), nullptr);
  EXPECT_EQ(level.FindCamera("Camera_Sprint"), nullptr);
  EXPECT_EQ(count, -5);

  rig.build()
      .PointSet("Path_Normal_Ideal", {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}})
      .PointSet("PATH_NORMAL_IDEAL", {{9, 9, 9}})
      .PointSet("Info_Sipka_Ciel", {{5, 5, 5}, {6, 6, 6}})
      .Trigger("Trigger_Ciel", {1, 2, 3})
      .Trigger("trigger_ciel", {7, 7, 7})
      .Light("lf_sun", {10, 0, 0})
      .Light("LF_SUN", {20, 0, 0});
  rig.build().Camera("Camera_Sprint");
  rig.build().Camera("camera_sprint");

  const N_Vector3* points = level.FindPointSet("path_normal_ideal", &count);
  ASSERT_NE(points, nullptr);
  EXPECT_EQ(count, 3) << "the first of the two";
  EXPECT_EQ(points[0].x, 1.0f);
  points = level.FindPointSet("info_sipka_ciel", &count);
  ASSERT_NE(points, nullptr);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(points[1].x, 6.0f);
  count = -5;
  EXPECT_EQ(level.FindPointSet("Info_Sipka", &count), nullptr) << "a prefix is not the name";
  EXPECT_EQ(count, -5) << "the count is written only when found";
  EXPECT_EQ(level.FindPointSet(nullptr, &count), nullptr);

  const N_LevelTrigger* trigger = level.FindTrigger("TRIGGER_CIEL");
  ASSERT_NE(trigger, nullptr);
  EXPECT_EQ(trigger->box[0], 1.0f);
  const N_LevelLight* light = level.FindLight("Lf_Sun");
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(light->position.x, 10.0f);
  EXPECT_EQ(level.FindCamera("CAMERA_SPRINT"), level.cameras[0].get());
  EXPECT_EQ(level.FindCamera(nullptr), nullptr);

  // A name that fills its whole field (no terminator) still compares within the field.
  N_LevelLight full;
  std::memset(full.name, 'a', sizeof full.name);
  level.lights.push_back(full);
  EXPECT_EQ(level.FindLight(std::string(128, 'A').c_str()), &level.lights.back());
  EXPECT_EQ(level.FindLight(std::string(129, 'A').c_str()), nullptr);
  // A set whose run lies outside the points is not handed out.
  N_Level::PointSet broken;
  test::CopyName(broken.name, "Broken");
  broken.firstPoint = 5;
  broken.pointCount = 10;
  level.pointSets.push_back(broken);
  count = -5;
  EXPECT_EQ(level.FindPointSet("Broken", &count), nullptr);
  EXPECT_EQ(count, -5);
}

TEST(Level, AmbientLightComesFromTheGridOrIsBlack) {
  LevelRig rig;
  rig.level().SetAmbientFromLightGrid({0, 0, 0});
  DWORD ambient = 0x12345678;
  rig.rig.device->GetRenderState(D3DRS_AMBIENT, &ambient);
  EXPECT_EQ(ambient & 0xFFFFFF, 0u);
  auto grid = std::make_unique<N_LightGrid>();
  const float bounds[6] = {0, 0, 0, 100, 100, 100};
  ASSERT_TRUE(grid->Init(2, 2, 2, bounds, std::vector<std::uint32_t>(8, 0x00FF0000)));
  rig.level().lightGrid = std::move(grid);
  rig.level().SetAmbientFromLightGrid({50, 50, 50});
  rig.rig.device->GetRenderState(D3DRS_AMBIENT, &ambient);
  EXPECT_EQ(ambient & 0xFFFFFF, 0xFF0000u);
}

/// A particle template "dust" (and its material), in the rig's directory.
void DustTemplate(LevelRig& rig) {
  rig.ParticleScript("dust.particle", "dust\n{\n numparticles 4\n live 50 50\n shader fx/dust\n}\n");
}

TEST(Level, SnowSwitchesOnlyTheSnowEmitter) {
  LevelRig rig;
  DustTemplate(rig);
  rig.build().Emitter("chimney", "dust", {0, 100, 0});
  rig.level().InitEffects();
  ASSERT_EQ(rig.level().snow, nullptr);
  const auto& emitters = rig.level().particleSystem->Emitters();
  ASSERT_EQ(emitters.size(), 1u);
  rig.level().SetSnow(0);
  EXPECT_TRUE(emitters[0]->IsEmitting()) << "without snow the switch touches nothing";
  rig.level().SetSnow(1);
  EXPECT_TRUE(emitters[0]->IsEmitting());

  rig.NewLevel();
  rig.build().Emitter("SNOW", "dust", {0, 100, 0}).Emitter("chimney", "dust", {0, 100, 0});
  rig.level().InitEffects();
  N_ParticleEmitter* snow = rig.level().snow;
  ASSERT_NE(snow, nullptr);
  EXPECT_EQ(snow, rig.level().particleSystem->Emitters()[0].get());
  EXPECT_FALSE(snow->IsInitialised()) << "made stopped";
  rig.level().SetSnow(1);
  EXPECT_TRUE(snow->IsInitialised());
  EXPECT_TRUE(snow->IsEmitting());
  rig.level().SetSnow(0);
  EXPECT_FALSE(snow->IsEmitting());
}

TEST(Level, InitEffectsMakesEmittersOfItsPlacements) {
  LevelRig rig;
  DustTemplate(rig);
  rig.build()
      .Emitter("chimney", "dust", {10, 20, 30}, {0, 0, 0, 40, 60, 80})
      .Emitter("nothing", "no such template", {0, 0, 0})
      .Emitter("snow", "dust", {1, 2, 3}, {-10, -10, -10, 10, 10, 10})
      .Emitter("well", "dust", {4, 5, 6});
  rig.rig.NewLog();
  rig.level().InitEffects();
  EXPECT_EQ(rig.rig.NewLog(), "") << "a placement of an unknown template is skipped silently";
  ASSERT_NE(rig.level().particleSystem, nullptr);
  const auto& emitters = rig.level().particleSystem->Emitters();
  ASSERT_EQ(emitters.size(), 3u);
  EXPECT_EQ(rig.particles.SystemCount(), 1u);
  const struct {
    N_Vector3 position, halfExtents;
    bool started;
  } expected[] = {{{10, 20, 30}, {20, 30, 40}, true}, {{1, 2, 3}, {10, 10, 10}, false}, {{4, 5, 6}, {}, true}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const N_ParticleEmitter& e = *emitters[i];
    EXPECT_EQ(e.position.x, expected[i].position.x);
    EXPECT_EQ(e.position.y, expected[i].position.y);
    EXPECT_EQ(e.position.z, expected[i].position.z);
    EXPECT_FLOAT_EQ(e.BoxHalfExtents().x, expected[i].halfExtents.x);
    EXPECT_FLOAT_EQ(e.BoxHalfExtents().y, expected[i].halfExtents.y);
    EXPECT_FLOAT_EQ(e.BoxHalfExtents().z, expected[i].halfExtents.z);
    EXPECT_EQ(e.IsInitialised(), expected[i].started);
  }
  EXPECT_EQ(rig.level().snow, emitters[1].get());
}

TEST(LevelDeathTest, InitEffectsWithoutAParticleManagerEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LevelRig rig;
        g_scene.particles = nullptr;
        rig.level().InitEffects();
      },
      testing::ExitedWithCode(255), "Particle manager not initialized!");
}

TEST(Level, InitEffectsTurnsAutospriteQuadsIntoBillboards) {
  LevelRig rig;
  rig.Script("trees.shader",
             "tree\n{\n deformvertexes autosprite 0 0\n{\n map tree\n}\n}\n"
             "sized\n{\n deformvertexes autosprite2 40 60\n{\n map sized\n}\n}\n");
  const int tree = rig.shaders.AddShader("tree", 0, 3);
  const int sized = rig.shaders.AddShader("sized", 0, 3);
  rig.shaders.AddShader("tree", 0, 3);  // a second surface of the shader holds its own reference
  rig.shaders.AddShader("tree", 0, 3);
  rig.LoadShaders();
  // A quad of 6 x 8 (vertex 0 to 3 across the diagonal of 10; 0 to 2 down 8), then one
  // with given sizes, then a triangle and a quad of too few indices.
  rig.build().Surface(tree, {{0, 0, 0}, {6, 0, 0}, {0, 0, 8}, {6, 0, 8}}, {0, 1, 2, 2, 1, 3});
  rig.build().Surface(sized, {{100, 0, 0}, {102, 0, 0}, {100, 0, 2}, {102, 0, 2}}, {0, 1, 2, 2, 1, 3});
  rig.build().Surface(tree, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 2});
  rig.build().Surface(tree, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}}, {0, 1, 2});
  rig.rig.NewLog();
  rig.level().InitEffects();

  const N_Level& level = rig.level();
  const N_ShaderDeform& treeDeform = rig.shaders.GetShader(tree)->deforms[0];
  EXPECT_FLOAT_EQ(treeDeform.values[0], 5.0f) << "half of vertex 0 to vertex 3";
  EXPECT_FLOAT_EQ(treeDeform.values[1], 4.0f) << "half of vertex 0 to vertex 2";
  const N_ShaderDeform& sizedDeform = rig.shaders.GetShader(sized)->deforms[0];
  EXPECT_FLOAT_EQ(sizedDeform.values[0], 20.0f) << "given values stay";
  EXPECT_FLOAT_EQ(sizedDeform.values[1], 30.0f);
  constexpr float kUv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  const N_Vector3 centres[2] = {{3, 0, 4}, {101, 0, 1}};
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    const N_MeshSurface& surface = level.surfaces[std::size_t(s)];
    EXPECT_FLOAT_EQ(surface.centre.x, centres[s].x);
    EXPECT_FLOAT_EQ(surface.centre.z, centres[s].z);
    for (int k = 0; k < 4; ++k) {
      const N_SurfaceVertex& v = level.vertices[surface.vertexOffset + std::size_t(k)];
      EXPECT_FLOAT_EQ(v.position[0], centres[s].x);
      EXPECT_FLOAT_EQ(v.position[1], centres[s].y);
      EXPECT_FLOAT_EQ(v.position[2], centres[s].z);
      EXPECT_EQ(v.normal[0], float(k));
      EXPECT_EQ(v.uv0[0], kUv[k][0]);
      EXPECT_EQ(v.uv0[1], kUv[k][1]);
    }
    const std::vector<std::uint16_t> six(level.indices.begin() + surface.indexOffset,
                                         level.indices.begin() + surface.indexOffset + 6);
    EXPECT_EQ(six, (std::vector<std::uint16_t>{0, 3, 1, 0, 2, 3}));
  }
  // The triangle and the short quad stay as they are, each reported once.
  EXPECT_EQ(level.vertices[8].position[0], 0.0f);
  EXPECT_EQ(level.vertices[9].position[0], 1.0f);
  EXPECT_EQ(level.vertices[12].position[0], 1.0f);
  EXPECT_EQ(level.indices[12], 0);
  EXPECT_EQ(level.indices[15], 0) << "the short quad's neighbour index is not overwritten";
  EXPECT_EQ(test::LinesStartingWith(rig.rig.NewLog(), "!!! Level surface ").size(), 2u);
}

TEST(Level, InitEffectsPutsTheGeometryIntoOneSetOfBuffers) {
  LevelRig rig;
  rig.build().Surface(-1, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 2});
  rig.build().Surface(-1, {{5, 0, 0}, {6, 0, 0}, {5, 0, 1}, {6, 0, 1}}, {0, 1, 2, 2, 1, 3});
  const std::size_t buffers = rig.render.VertexBuffers().size(), indexBuffers = rig.render.IndexBuffers().size(),
                    bindings = rig.render.VertexBufferBindings().size();
  rig.level().InitEffects();
  EXPECT_EQ(rig.render.VertexBuffers().size(), buffers + 1);
  EXPECT_EQ(rig.render.IndexBuffers().size(), indexBuffers + 1);
  EXPECT_EQ(rig.render.VertexBufferBindings().size(), bindings + 1);
  const N_Level& level = rig.level();
  ASSERT_NE(level.sharedVertexBuffer, nullptr);
  ASSERT_NE(level.sharedIndexBuffer, nullptr);
  ASSERT_NE(level.sharedBinding, nullptr);
  EXPECT_EQ(level.sharedBinding->Streams().at(0), level.sharedVertexBuffer);
  std::vector<N_SurfaceVertex> written(level.vertices.size());
  level.sharedVertexBuffer->Read(0, std::uint32_t(written.size() * sizeof(N_SurfaceVertex)), written.data());
  EXPECT_EQ(std::memcmp(written.data(), level.vertices.data(), written.size() * sizeof(N_SurfaceVertex)), 0);
  std::vector<std::uint16_t> indices(level.indices.size());
  level.sharedIndexBuffer->Read(0, std::uint32_t(indices.size() * 2), indices.data());
  EXPECT_EQ(indices, level.indices);
  const std::int32_t bases[2] = {0, 3};
  const std::uint32_t starts[2] = {0, 3};
  for (std::size_t i = 0; i < 2; ++i) {
    const N_MeshSurface& s = level.surfaces[i];
    EXPECT_EQ(s.sharedBuffers, 1);
    EXPECT_EQ(s.vertexBuffer, level.sharedVertexBuffer);
    EXPECT_EQ(s.indexBuffer, level.sharedIndexBuffer);
    EXPECT_EQ(s.binding, level.sharedBinding);
    EXPECT_EQ(s.baseVertex, bases[i]);
    EXPECT_EQ(s.startIndex, starts[i]);
  }
  // The second surface draws its run of the shared buffers.
  rig.rig.device->ClearCalls();
  rig.Script("plain.shader", "plain\n{\n{\n map plain\n}\n}\n");
  const int plain = rig.shaders.AddShader("plain", 0, 3);
  rig.LoadShaders();
  rig.render.SetShader(rig.shaders.GetShader(plain), -1);
  rig.render.DrawSurface(&rig.level().surfaces[1]);
  EXPECT_EQ(rig.rig.device->CallsStartingWith("DrawIndexedPrimitive("),
            (std::vector<std::string>{"DrawIndexedPrimitive(4, 3, 0, 4, 3, 2)"}));
  rig.shaders.ReleaseShader(plain);
}

TEST(Level, InitEffectsSetsTheSunFromItsLight) {
  const struct {
    const char* name;
    std::vector<std::string> lights;
    bool set;
    N_Vector3 position;
    N_Vector3 direction;
  } cases[] = {
      {"lf_sun before sun", {"sun", "lf_sun"}, true, {20, 0, 0}, {0, 0, -1}},
      {"sun alone", {"lamp", "SUN"}, true, {20, 0, 0}, {0, 0, -1}},
      {"no direction", {"lf_sun_still"}, false, {}, {}},
      {"neither", {"lamp"}, false, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LevelRig rig;
    for (const std::string& name : c.lights) {
      // Each light at (20, 0, 0) shining down onto (20, 0, -50), in its own colour.
      rig.build().Light(name, {20, 0, 0}, {20, 0, -50}, {0.5f, 0.25f, 2.0f});
    }
    rig.render.Forget();
    rig.level().InitEffects();
    const N_RenderLight& sun = rig.level().SunLight();
    if (!c.set) {
      EXPECT_TRUE(Only(rig.render.events, {"SetLight"}).empty());
      EXPECT_EQ(sun.type, 0);
      EXPECT_EQ(sun.diffuse[0], 1.0f);
      continue;
    }
    ASSERT_EQ(rig.render.lights.size(), 1u);
    EXPECT_EQ(rig.render.lights[0].slot, 0);
    const N_RenderLight& given = rig.render.lights[0].light;
    EXPECT_EQ(given.type, 1);
    EXPECT_EQ(given.position[0], c.position.x);
    EXPECT_FLOAT_EQ(given.direction[0], c.direction.x);
    EXPECT_FLOAT_EQ(given.direction[2], c.direction.z);
    EXPECT_EQ(given.diffuse[2], 2.0f);
    EXPECT_EQ(given.specular[1], 0.25f);
    EXPECT_EQ(sun.type, 1);
  }
  // "lf_sun" wins wherever it stands, and its direction is its own; a light on its
  // own target points along x.
  LevelRig rig;
  rig.build().Light("sun", {0, 0, 0}, {0, 0, 10}).Light("lf_sun", {5, 5, 5}, {5, 5, 5});
  rig.level().InitEffects();
  ASSERT_EQ(rig.render.lights.size(), 1u);
  EXPECT_EQ(rig.render.lights[0].light.position[0], 5.0f);
  EXPECT_EQ(rig.render.lights[0].light.direction[0], 1.0f);
  EXPECT_EQ(rig.render.lights[0].light.direction[2], 0.0f);
}

TEST(Level, InitEffectsPlaysTheAmbientSoundsAndGivesEveryFlareItsSprites) {
  LevelRig rig;
  rig.level().ambientSounds = {3, 1, 2};
  rig.build().Light("lf_sun", {0, 1000, 0}).Light("lf_lamp", {0, 500, 0});
  for (const N_LevelLight& light : rig.level().lights) {
    auto flare = std::make_unique<N_LensFlare>();
    flare->AttachLight(&light, 0);
    flare->Setup();
    rig.level().flares.push_back(std::move(flare));
  }
  rig.level().InitEffects();
  EXPECT_EQ(rig.sound.events, (std::vector<std::string>{"Play 3", "Play 1", "Play 2"}));
  for (const auto& flare : rig.level().flares) {
    EXPECT_EQ(flare->Sprite(0).surface.shader, flare->Shader(2));
    EXPECT_EQ(flare->Sprite(9).size, 0.3f);
  }
}

TEST(Level, TeardownGivesEverythingBackInItsOrder) {
  LevelRig rig;
  DustTemplate(rig);
  rig.Script("rock.shader", "rock\n{\n{\n map rock\n}\n}\n");
  const int rock = rig.shaders.AddShader("rock", 0, 3);
  rig.build().Surface(rock, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 2});
  rig.build().Emitter("fire", "dust", {0, 100, 0});
  rig.level().lightmaps.resize(2);
  rig.level().lightmaps[0].texture = 41;
  rig.level().lightmaps[1].texture = 42;
  rig.level().ambientSounds = {7, 8};
  rig.build().Light("lf_sun", {0, 1000, 0});
  auto flare = std::make_unique<N_LensFlare>();
  flare->AttachLight(&rig.level().lights[0], 1);
  flare->Setup();
  const int flareShader = flare->Shader(5);
  rig.level().flares.push_back(std::move(flare));
  rig.build().Camera("Camera_Sprint", {N_PathKey{}, N_PathKey{}, N_PathKey{}});
  rig.LoadShaders();
  rig.level().InitEffects();
  EXPECT_EQ(rig.shaders.GetEntry(rock)->refCount, 1);
  rig.render.Forget();
  rig.sound.events.clear();

  rig.NewLevel();  // the old level goes
  EXPECT_EQ(Only(rig.render.events, {"Destroy", "ReleaseTexture", "DisableLights"}),
            (std::vector<std::string>{"DestroyIndexBuffer", "DestroyVertexBuffer", "DestroyBinding", "DisableLights",
                                      // the flare, after the lights
                                      "DestroyVertexBuffer", "DestroyIndexBuffer", "DestroyBinding", "DestroyQuery",
                                      // the emitter, with the level's particle system
                                      "DestroyIndexBuffer", "DestroyVertexBuffer", "DestroyBinding"}));
  EXPECT_EQ(rig.textureDevice.released, (std::vector<std::int32_t>{41, 42})) << "the lightmaps, by the texture manager";
  EXPECT_EQ(rig.sound.events, (std::vector<std::string>{"Release 7", "Release 8"}));
  EXPECT_EQ(rig.shaders.GetEntry(rock)->refCount, 0) << "the surface's shader reference is given back";
  EXPECT_EQ(rig.shaders.GetEntry(flareShader)->refCount, 0) << "and the flare's";
  EXPECT_EQ(rig.particles.SystemCount(), 0u);
  EXPECT_EQ(rig.render.GetLight(0), nullptr);
}

TEST(Level, TeardownAfterTheParticleManagerOnlyForgetsItsSystem) {
  LevelRig rig;
  DustTemplate(rig);
  rig.build().Emitter("snow", "dust", {0, 100, 0});
  rig.level().InitEffects();
  rig.particles.DestroyAllSystems();  // as the world's particle manager does when it goes first
  g_scene.particles = nullptr;
  rig.NewLevel();  // nothing is touched twice (the sanitizer build would see it)
  EXPECT_EQ(rig.particles.SystemCount(), 0u);
}

}  // namespace

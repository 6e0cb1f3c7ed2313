// The athletes' gear glow on the recording renderer: the sample gear materials carry
// the gear effect, whose technique the two calls switch; materials without an effect
// (the bib's font shader of handle 0, a plain material) and handles without a material
// are passed over.
#include "race/AthleteGlow.h"

#include "platform/d3dx9.h"
#include "race/AthletProfile.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "scene/SceneAccess.h"
#include "tests/render/RenderRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct GlowRig {
  GlowRig() {
    g_render = &rig.render;
    test::CopyFromGameRoot(rig.harness.dir, "data/effects/gear.fx");
    test::CopyFromGameRoot(rig.harness.dir, "data/scripts/athletes.shader");
    rig.harness.dir.Write("data/scripts/plain.shader", "plain\n{\n{\nmap textures/plain\n}\n}\n");
    g_scene.shaderMng = &shaders;
    bigchars = shaders.AddShader("gfx/2d/bigchars", 0, 3);
  }
  ~GlowRig() {
    g_scene = N_SceneAccess{};
    g_render = nullptr;
  }
  /// The technique the material's effect draws with ("" without an effect).
  std::string Technique(int handle) {
    const N_Shader* material = shaders.GetShader(handle);
    if (!material || !material->effect) return "";
    ID3DXEffect* effect = material->effect;
    for (const char* name : {"TTextureOnly", "TGlowAndTexture"}) {
      if (effect->GetCurrentTechnique() == effect->GetTechniqueByName(name)) return name;
    }
    return "?";
  }

  test::RenderRig rig;
  N_ShaderMng shaders{1024};
  int bigchars = -1;
};

TEST(AthleteGlow, SwitchesTheEffectsOfTheFiveGearMaterials) {
  GlowRig r;
  N_AthletProfile athlete;
  athlete.DressShader = r.shaders.AddShader("lyziari/dress_red", 0, 3);
  athlete.GunShader = r.shaders.AddShader("lyziari/gun", 0, 3);
  athlete.SkiShader = r.shaders.AddShader("lyziari/ski_blue", 0, 3);
  athlete.SticksShader = r.shaders.AddShader("lyziari/sticks", 0, 3);
  athlete.StartNumShader = 0;
  r.shaders.LoadShaders();
  ASSERT_EQ(r.bigchars, 0);
  const std::vector<int> gear = {athlete.DressShader, athlete.GunShader, athlete.SkiShader, athlete.SticksShader};
  for (const int handle : gear) ASSERT_EQ(r.Technique(handle), "TTextureOnly") << handle << ": the first technique";
  EXPECT_EQ(r.Technique(athlete.StartNumShader), "") << "the font shader has no effect";

  struct Step {
    void (*call)(const N_AthletProfile&);
    const char* technique;
  };
  for (const Step& step : {Step{&AthleteGlowOn, "TGlowAndTexture"}, Step{&AthleteGlowOff, "TTextureOnly"},
                           Step{&AthleteGlowOn, "TGlowAndTexture"}}) {
    step.call(athlete);
    for (const int handle : gear) EXPECT_EQ(r.Technique(handle), step.technique) << handle;
  }
  // Another athlete in the same dress glows as well: the technique is the material's.
  N_AthletProfile other;
  other.DressShader = athlete.DressShader;
  EXPECT_EQ(r.Technique(other.DressShader), "TGlowAndTexture");
  AthleteGlowOff(other);
  EXPECT_EQ(r.Technique(athlete.DressShader), "TTextureOnly");
}

TEST(AthleteGlow, PassesOverMaterialsWithoutAnEffectAndHandlesWithoutAMaterial) {
  GlowRig r;
  N_AthletProfile athlete;
  athlete.DressShader = r.shaders.AddShader("plain", 0, 3);
  athlete.GunShader = r.shaders.AddShader("lyziari/gun", 0, 3);
  athlete.SkiShader = -1;
  athlete.SticksShader = 5000;
  athlete.StartNumShader = r.shaders.AddShader("not built yet", 0, 3);
  r.shaders.LoadShaders();
  athlete.StartNumShader = r.shaders.AddShader("added after the load", 0, 3);  // no record
  AthleteGlowOn(athlete);
  EXPECT_EQ(r.Technique(athlete.GunShader), "TGlowAndTexture");
  EXPECT_EQ(r.Technique(athlete.DressShader), "");
  AthleteGlowOff(athlete);
  EXPECT_EQ(r.Technique(athlete.GunShader), "TTextureOnly");
  g_scene.shaderMng = nullptr;
  AthleteGlowOn(athlete);  // no shader manager: nothing
  EXPECT_EQ(r.Technique(athlete.GunShader), "TTextureOnly");
}

}  // namespace

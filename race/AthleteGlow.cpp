#include "race/AthleteGlow.h"

#include "platform/d3dx9.h"
#include "race/AthletProfile.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "scene/SceneAccess.h"

namespace {

void SetGearTechnique(const N_AthletProfile& athlete, const char* technique) {
  if (!g_scene.shaderMng) return;
  for (const std::int32_t handle : {athlete.DressShader, athlete.GunShader, athlete.SkiShader, athlete.StartNumShader,
                                    athlete.SticksShader}) {
    const N_Shader* material = g_scene.shaderMng->GetShader(handle);
    if (!material || !(material->flags & ShaderFlag::kEffect) || !material->effect) continue;
    if (const D3DXHANDLE chosen = material->effect->GetTechniqueByName(technique)) material->effect->SetTechnique(chosen);
  }
}

}  // namespace

void AthleteGlowOn(const N_AthletProfile& athlete) { SetGearTechnique(athlete, "TGlowAndTexture"); }

void AthleteGlowOff(const N_AthletProfile& athlete) { SetGearTechnique(athlete, "TTextureOnly"); }

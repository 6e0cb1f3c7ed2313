#include "scene/Level.h"

#include "platform/win32/Files.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "scene/LensFlare.h"
#include "scene/LevelAnimObject.h"
#include "scene/LevelCamera.h"
#include "scene/LightGrid.h"
#include "scene/Lightmaps.h"

#include <cstdio>
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "scene/SceneHelpers.h"
#include "sound/SoundMng.h"

#include <algorithm>
#include <cstdlib>

namespace {

/// The first record whose name field matches the name without regard to case.
template <class Record>
const Record* FindByName(const std::vector<Record>& records, const char* name) {
  if (!name) return nullptr;
  for (const Record& record : records) {
    if (platform::EqualsNoCase(levelfile::FieldName(record.name), name)) return &record;
  }
  return nullptr;
}

/// A colour text as a hexadecimal number (strtol, base 16; not a number gives 0):
/// red from bits 16-23, green 8-15, blue 0-7, each / 255.
void ReadHexColour(const char* text, float colour[3]) {
  const auto bits = static_cast<std::uint32_t>(std::strtol(text, nullptr, 16));
  constexpr float kScale = 1.0f / 255.0f;
  colour[0] = float((bits >> 16) & 0xFF) * kScale;
  colour[1] = float((bits >> 8) & 0xFF) * kScale;
  colour[2] = float(bits & 0xFF) * kScale;
}

}  // namespace

#include <algorithm>

N_Level::N_Level() {
  sunLight.type = 0;
  sunLight.diffuse[0] = sunLight.diffuse[1] = sunLight.diffuse[2] = 1.0f;
  sunLight.attenuation[0] = 1.0f;
  sunLight.changed = 1;
}

// In this order: the geometry's GPU objects, shader and lightmap references and sounds,
// then the arrays and the loader's further records; the lights off; the grid, flares,
// LOD objects, props, the particle effects, the cameras, the spectators; the audience
// (a member) last.
N_Level::~N_Level() {
  ReleaseGeometry();
  if (g_soundMng) {
    for (int handle : ambientSounds) {
      if (handle != 0) g_soundMng->ReleaseSound(handle);
    }
  }
  ambientSounds.clear();
  vertices.clear();
  indices.clear();
  surfaces.clear();
  materials.clear();
  triggers.clear();
  emitters.clear();
  pointSets.clear();
  points.clear();
  soundSources.clear();
  sceneObjects.clear();
  surfaceRanges.clear();
  cameraPaths.clear();
  pathKeys.clear();
  namePairs.clear();
  if (g_render) g_render->DisableLights();
  lightGrid.reset();
  flares.clear();
  lodObjects.Clear();
  animObjects.clear();
  ReleaseParticleEffects();
  cameras.clear();
  spectators.clear();
  lights.clear();
}

void N_Level::ReleaseGeometry() {
  if (g_render) {
    g_render->DestroyIndexBuffer(&sharedIndexBuffer);
    g_render->DestroyVertexBuffer(&sharedVertexBuffer);
    g_render->DestroyVertexBufferBinding(&sharedBinding);
  }
  for (N_MeshSurface& surface : surfaces) {
    // -1: a surface of another kind took no reference (handle 0 is a real shader).
    if (surface.shader != -1 && g_scene.shaderMng) g_scene.shaderMng->ReleaseShader(surface.shader);
  }
  ReleaseLightmaps(lightmaps);
}

// At the world's destruction the particle manager is gone first, and with it every
// system; the level then only forgets its own.
void N_Level::ReleaseParticleEffects() {
  if (particleSystem && g_scene.particles) g_scene.particles->DestroySystem(particleSystem);
  particleSystem = nullptr;
  snow = nullptr;
}

void N_Level::UpdateFog(float) {
  N_Render* render = g_render;
  if (!render) return;
  if (SceneVarInt("foglinear") == 0) {
    render->DisableFog();
  } else {
    const float start = SceneVarFloat("foglinearnear");
    const float end = std::min(SceneVarFloat("foglinearfar"), SceneVarFloat("LODWorldDistance"));
    float colour[3];
    ReadHexColour(SceneVarString("fogcolor"), colour);
    render->SetFog(0, colour, start, end, 1.0f);
  }
  float shadow[3];
  ReadHexColour(SceneVarString("playerShadowColor"), shadow);
  render->SetShadowColor(shadow[0], shadow[1], shadow[2]);
}

void N_Level::SetSnow(std::uint8_t on) {
  if (!snow) return;
  if (on) {
    snow->Start();
  } else {
    snow->StopEmitting();
  }
}

const N_LevelTrigger* N_Level::FindTrigger(const char* name) const {
  return FindByName(triggers, name);
}

const N_LevelLight* N_Level::FindLight(const char* name) const {
  return FindByName(lights, name);
}

N_LevelCamera* N_Level::FindCamera(const char* name) const {
  if (!name) return nullptr;
  for (const auto& camera : cameras) {
    if (platform::EqualsNoCase(levelfile::FieldName(camera->name), name)) return camera.get();
  }
  return nullptr;
}

void N_Level::SetAmbientFromLightGrid(const N_Vector3& position) {
  if (!g_render) return;
  if (!lightGrid) {
    g_render->SetAmbient(0.0f, 0.0f, 0.0f);
    return;
  }
  const N_LightColour& colour = lightGrid->Sample(position);
  g_render->SetAmbient(colour.r, colour.g, colour.b);
}

void N_Level::UpdateFlares() {
  for (const auto& flare : flares) flare->Update();
}

void N_Level::RenderFlares() {
  for (const auto& flare : flares) flare->Render();
}

// Point sets.
const N_Vector3* N_Level::FindPointSet(const char* name, std::int32_t* count) const {
  if (!name) return nullptr;
  for (const PointSet& set : pointSets) {
    if (!platform::EqualsNoCase(levelfile::FieldName(set.name), name)) continue;
    if (std::uint64_t(set.firstPoint) + set.pointCount > points.size()) return nullptr;
    if (count) *count = static_cast<std::int32_t>(set.pointCount);
    return points.data() + set.firstPoint;
  }
  return nullptr;
}

void N_Level::AddPointSet(const std::string& name, const std::vector<N_Vector3>& newPoints) {
  PointSet set;
  std::snprintf(set.name, sizeof set.name, "%s", name.c_str());
  set.firstPoint = static_cast<std::uint32_t>(points.size());
  set.pointCount = static_cast<std::uint32_t>(newPoints.size());
  pointSets.push_back(set);
  points.insert(points.end(), newPoints.begin(), newPoints.end());
}

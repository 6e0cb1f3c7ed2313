#include "scene/LevelObjectList.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "render/Frustum.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "scene/MeshObject.h"
#include "scene/SceneAccess.h"
#include "sound/SoundMng.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kWireBoxColour[3] = {1.0f, 0.0f, 0.0f};

int VarInt(const char* name) { return g_varMng ? g_varMng->GetInt(name) : 0; }
float VarFloat(const char* name) { return g_varMng ? g_varMng->GetFloat(name) : 0.0f; }

std::uint32_t SortKey(const N_MeshSurface& surface) {
  const N_Shader* shader = g_scene.shaderMng ? g_scene.shaderMng->GetShader(surface.shader) : nullptr;
  const std::uint32_t s = shader ? shader->sort : 0u;
  const auto i = static_cast<std::uint32_t>(surface.shader);
  const auto l = static_cast<std::uint32_t>(surface.lightmap);
  return ((s << 12 | (i & 0x7FFu)) << 12) | ((l & 0x7FFu) + 1u);
}

}  // namespace

N_LevelObjectList::~N_LevelObjectList() { Clear(); }

void N_LevelObjectList::Add(std::unique_ptr<N_RenderObject> drawable) {
  if (!drawable) return;
  N_RenderObject* added = drawable.get();
  m_all.push_back(std::move(drawable));
  if (added->kind == N_RenderObject::kMeshObject) {
    if (const auto* mesh = dynamic_cast<const N_MeshObject*>(added)) {
      for (const auto& record : mesh->SurfaceRecords()) m_records.push_back(record.get());
      m_unsorted = true;
    }
  }
  (added->path ? m_moving : m_static).push_back(added);
}

void N_LevelObjectList::AddSurfaceRecord(N_SurfaceInstances* record) {
  if (!record) return;
  m_records.push_back(record);
  m_unsorted = true;
}

void N_LevelObjectList::Sort() {
  for (N_SurfaceInstances* record : m_records) record->key = record->surface ? SortKey(*record->surface) : 0u;
  SortByKeys();
}

void N_LevelObjectList::SortByKeys() {
  std::stable_sort(m_records.begin(), m_records.end(),
                   [](const N_SurfaceInstances* a, const N_SurfaceInstances* b) { return a->key < b->key; });
  m_unsorted = false;
}

bool N_LevelObjectList::PassesFlags(const N_RenderObject& drawable) const {
  const std::int32_t trackMode = static_cast<std::int32_t>(drawable.flags & 0xFFu);
  const std::int32_t threshold = static_cast<std::int32_t>((drawable.flags >> 8) & 0xFFu);
  if (trackMode != 0 && trackMode != m_trackMode) return false;
  if (threshold != 0 && threshold <= m_detail) return false;
  return true;
}

void N_LevelObjectList::Render(float dt) {
  if (m_unsorted) SortByKeys();  // the keys as they stand: records added since have key 0
  for (N_SurfaceInstances* record : m_records) record->matrices.clear();
  const float lodDistance = VarFloat("LODWorldDistance");
  m_detail = VarInt("detail");
  m_trackMode = VarInt("trackmode");
  const std::int32_t lod = VarInt("LOD");
  const bool drawBoxes = VarInt("box") != 0;
  for (N_RenderObject* drawable : m_moving) {
    if (PassesFlags(*drawable)) RenderMoving(*drawable, dt, lod);
  }
  for (N_RenderObject* drawable : m_static) {
    if (PassesFlags(*drawable)) RenderStatic(*drawable, lodDistance, lod, drawBoxes);
  }
}

// Moving drawables advance whether they are seen or not, and are not culled by distance.
void N_LevelObjectList::RenderMoving(N_RenderObject& drawable, float dt, std::int32_t lod) {
  if (drawable.path) drawable.path->Evaluate(drawable, dt);
  if (drawable.sound != 0 && g_soundMng) {
    const float* m = drawable.worldMatrix.m;
    g_soundMng->SetPosition(drawable.sound, m[12], m[13], m[14]);
    g_soundMng->Play(drawable.sound);
  }
  float distance = 0.0f;
  if (g_scene.frustum && g_scene.frustum->TestBox(drawable.worldBox, &distance)) drawable.Render(distance, lod);
}

void N_LevelObjectList::RenderStatic(N_RenderObject& drawable, float lodDistance, std::int32_t lod, bool drawBoxes) {
  float distance = 0.0f;
  if (!g_scene.frustum || !g_scene.frustum->TestBox(drawable.worldBox, &distance)) return;
  if (!(std::fabs(distance) < lodDistance)) return;
  drawable.Render(distance, lod);
  if (drawBoxes && g_render) g_render->DrawWireBox(drawable.worldBox, kWireBoxColour);
}

void N_LevelObjectList::RenderSorted() {
  N_Render* render = g_render;
  if (!render) return;
  for (N_SurfaceInstances* record : m_records) {
    if (record->matrices.empty() || !record->surface) continue;
    N_MeshSurface* surface = record->surface;
    render->SetShader(g_scene.shaderMng ? g_scene.shaderMng->GetShader(surface->shader) : nullptr, surface->lightmap);
    for (const N_Matrix4* matrix : record->matrices) {
      render->SetWorldMatrix(*matrix);
      render->DrawSurface(surface);
    }
  }
}

void N_LevelObjectList::Clear() {
  m_moving.clear();
  m_static.clear();
  m_records.clear();
  m_all.clear();
}

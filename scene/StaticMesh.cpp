#include "scene/StaticMesh.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "render/Frustum.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/SceneAccess.h"
#include "scene/Lightmaps.h"
#include "scene/SurfaceSections.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace {

constexpr std::uint32_t kIndexFormat16 = 101;
constexpr std::uint32_t kStaticBuffer = 1;
/// A surface drawn at once is culled by its box grown by this much on every side.
constexpr float kRenderMargin = 30.0f;

/// A static mesh file error: critical for the game (code 9), so this never returns.
[[noreturn]] [[gnu::format(printf, 1, 2)]] void MeshCritical(const char* format, ...) {
  char text[N_ErrorLog::kBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (g_errorLog) g_errorLog->Critical(9, "%s", text);
  std::fprintf(stderr, "*** %s", text);  // without a reporter the program still ends
  std::exit(-1);
}

}  // namespace

N_StaticMesh::~N_StaticMesh() {
  ReleaseLightmaps(m_lightmaps);
  for (N_MeshSurface& surface : m_surfaces) {
    // -1: a surface of another kind took no reference (handle 0 is a real shader).
    if (surface.shader != -1 && g_scene.shaderMng) g_scene.shaderMng->ReleaseShader(surface.shader);
    if (!g_render) continue;
    g_render->DestroyIndexBuffer(&surface.indexBuffer);
    g_render->DestroyVertexBuffer(&surface.vertexBuffer);
    g_render->DestroyVertexBufferBinding(&surface.binding);
  }
}

bool N_StaticMesh::Load(const char* fileName) {
  const char* name = fileName ? fileName : "";
  std::string raw;
  if (!platform::ReadWholeFile(name, raw)) MeshCritical("file %s not found!", name);
  const std::span file(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size());
  const N_FileHeader header(file);
  if (header.Word(0) != surfacefile::kMeshMagic) MeshCritical("%s is not valid mesh file!", name);
  if (!header.complete) {  // its version and sections would be read as zeros
    if (g_log) g_log->Print("!!! Mesh %s: %zu bytes, shorter than its header\n", name, raw.size());
    MeshCritical("%s is not valid mesh file!", name);
  }
  if (const std::uint32_t version = header.Word(4); version != surfacefile::kMeshVersion) {
    MeshCritical("%s is v.%d NOT supported version, supported version is 1.40", name, static_cast<int>(version));
  }
  // Everything is checked before anything is taken (shaders, textures, buffers).
  N_SurfaceSections sections;
  std::string fault;
  if (!ReadSurfaceSections(file, sections, fault)) {
    if (g_log) g_log->Print("!!! Mesh %s: %s\n", name, fault.c_str());
    MeshCritical("%s is not valid mesh file!", name);
  }

  m_lightmaps.resize(sections.lightmaps.size());
  for (std::size_t i = 0; i < m_lightmaps.size(); ++i) LoadLightmap(sections.lightmaps[i].c_str(), m_lightmaps[i]);
  m_vertices = std::move(sections.vertices);
  m_indices = std::move(sections.indices);
  m_surfaces.resize(sections.descriptors.size());
  for (std::size_t i = 0; i < m_surfaces.size(); ++i) {
    FillSurface(m_surfaces[i], sections.descriptors[i], sections, m_vertices.data(), m_indices.data(), m_lightmaps,
                g_scene.shaderMng);
  }
  m_materials = std::move(sections.materials);

  m_boxMin = {1.0e9f, 1.0e9f, 1.0e9f};
  m_boxMax = {-1.0e9f, -1.0e9f, -1.0e9f};
  for (N_MeshSurface& surface : m_surfaces) {
    CreateBuffers(surface);
    m_boxMin = {std::min(m_boxMin.x, surface.boundsMin.x), std::min(m_boxMin.y, surface.boundsMin.y),
                std::min(m_boxMin.z, surface.boundsMin.z)};
    m_boxMax = {std::max(m_boxMax.x, surface.boundsMax.x), std::max(m_boxMax.y, surface.boundsMax.y),
                std::max(m_boxMax.z, surface.boundsMax.z)};
  }
  m_instances.reserve(m_surfaces.size());
  for (N_MeshSurface& surface : m_surfaces) m_instances.push_back(std::make_unique<N_SurfaceInstances>(&surface));
  return true;
}

// Every surface gets buffers of its own counts, whatever its kind: the renderer refuses
// (and logs) zero-sized ones, and drawing skips a surface without vertices.
void N_StaticMesh::CreateBuffers(N_MeshSurface& surface) {
  N_Render* render = g_render;
  if (!render) return;
  surface.indexBuffer = render->CreateIndexBuffer(kIndexFormat16, surface.indexCount, kStaticBuffer);
  if (surface.indexBuffer) {
    surface.indexBuffer->Write(0, std::uint32_t(surface.indexCount) * 2u, surface.indices, false);
  }
  surface.vertexBuffer = render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, surface.vertexCount, kStaticBuffer);
  if (surface.vertexBuffer) {
    surface.vertexBuffer->Write(0, surface.vertexCount * N_Render::kSurfaceVertexSize, surface.vertices, false);
  }
  surface.binding = render->CreateVertexBufferBinding();
  if (surface.binding) surface.binding->SetStream(0, surface.vertexBuffer);
}

void N_StaticMesh::QueueInstance(const N_Matrix4* worldMatrix) {
  for (const auto& record : m_instances) record->matrices.push_back(worldMatrix);
}

void N_StaticMesh::Render(const N_Vector3& position, const N_Matrix3& orientation) {
  N_Render* render = g_render;
  if (!render || !g_scene.frustum) return;
  for (N_MeshSurface& surface : m_surfaces) {
    const N_Vector3 low = surface.boundsMin + position, high = surface.boundsMax + position;
    const float box[6] = {low.x - kRenderMargin,  low.y - kRenderMargin,  low.z - kRenderMargin,
                          high.x + kRenderMargin, high.y + kRenderMargin, high.z + kRenderMargin};
    float depth = 0.0f;
    if (!g_scene.frustum->TestBox(box, &depth)) continue;
    render->SetShader(g_scene.shaderMng ? g_scene.shaderMng->GetShader(surface.shader) : nullptr, surface.lightmap);
    render->DrawSurfaceAt(&surface, position, orientation, 1.0f);
  }
}

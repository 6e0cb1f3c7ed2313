#include "scene/ParticlePatch.h"

#include "core/Plane.h"
#include "core/VarMng.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/SurfaceVertex.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/Game.h"
#include "scene/ParticleHelpers.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr std::uint32_t kIndexFormat16 = 101;
constexpr std::uint32_t kStaticBuffer = 1;
constexpr std::uint32_t kDynamicBuffer = 2;

void SetVertex(N_SurfaceVertex& vertex, const N_Vector3& at, float u, float v) {
  vertex.position[0] = at.x;
  vertex.position[1] = at.y;
  vertex.position[2] = at.z;
  vertex.colour = 0xFFFFFFFFu;  // opaque white
  vertex.uv0[0] = u;
  vertex.uv0[1] = v;
}

}  // namespace

N_ParticlePatch::N_ParticlePatch(const char* shaderName) {
  m_surface.shader = g_scene.shaderMng ? g_scene.shaderMng->AddShader(shaderName, 0, N_ShaderMng::kType2D)
                                       : N_ShaderMng::kNoShader;
  m_surface.lightmap = -1;
  m_surface.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::TriangleList);
  m_surface.indexed = 1;
  m_surface.vertexCount = kVertices;
  m_surface.indexCount = kIndices;
  if (!g_render) return;
  m_surface.vertexBuffer = g_render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, kVertices, kDynamicBuffer);
  m_surface.binding = g_render->CreateVertexBufferBinding();
  if (m_surface.binding) m_surface.binding->SetStream(0, m_surface.vertexBuffer);
  m_surface.indexBuffer = g_render->CreateIndexBuffer(kIndexFormat16, kIndices, kStaticBuffer);
  // Quad k: 0, 1, 2, 2, 1, 3 plus 4k.
  std::vector<std::uint16_t> indices(kIndices);
  for (std::uint32_t quad = 0; quad < kQuads; ++quad) {
    const std::uint16_t pattern[6] = {0, 1, 2, 2, 1, 3};
    for (std::uint32_t i = 0; i < 6; ++i) indices[quad * 6 + i] = static_cast<std::uint16_t>(pattern[i] + quad * 4);
  }
  if (m_surface.indexBuffer) {
    m_surface.indexBuffer->Write(0, kIndices * sizeof(std::uint16_t), indices.data(), false);
  }
  const std::vector<N_SurfaceVertex> invisible(kVertices, N_SurfaceVertex{});  // alpha 0
  if (m_surface.vertexBuffer) {
    m_surface.vertexBuffer->Write(0, kVertices * N_Render::kSurfaceVertexSize, invisible.data(), false);
  }
}

N_ParticlePatch::~N_ParticlePatch() { Release(); }

void N_ParticlePatch::Release() {
  if (g_render) {
    g_render->DestroyIndexBuffer(&m_surface.indexBuffer);
    g_render->DestroyVertexBuffer(&m_surface.vertexBuffer);
    g_render->DestroyVertexBufferBinding(&m_surface.binding);
  }
  m_surface.indexBuffer = nullptr;
  m_surface.vertexBuffer = nullptr;
  m_surface.binding = nullptr;
}

void N_ParticlePatch::Update(const N_Vector3& a, const N_Vector3& b) {
  if (!g_scene.game || !m_surface.vertexBuffer) return;
  const float dt = ParticleFrameTime();
  // The quads of earlier frames stay: the lock must keep the contents (no discard).
  auto* vertices = static_cast<N_SurfaceVertex*>(m_surface.vertexBuffer->Lock(true, false));
  if (!vertices) return;
  for (std::uint32_t i = 0; i < kVertices; ++i) {
    m_fade[i] = std::max(0.0f, m_fade[i] - dt * kFadePerSecond);
    vertices[i].colour = WithAlpha(vertices[i].colour, ParticleByte(m_fade[i] * 255.0f));
  }
  Stamp(vertices, a, b);
  m_surface.vertexBuffer->Unlock();
}

void N_ParticlePatch::Stamp(N_SurfaceVertex* vertices, const N_Vector3& a, const N_Vector3& b) {
  if (!active || m_last.x == kNoStamp) {
    m_last = a;  // switched on later, the first quad comes 60 units from here
    return;
  }
  const N_Vector3 dir = a - m_last;
  if (Vec3Dot(dir, dir) <= kStampDistance * kStampDistance) return;
  if (m_next >= kVertices) m_next = 0;
  const float* block = nullptr;
  N_Vector3 point;
  if (!g_scene.game->GetAthleteView(athleteId, &block, &point) || !block) return;
  N_Plane ground;
  if (!PlaneFromPoints(ground, {block[0], block[1], block[2]}, {block[3], block[4], block[5]},
                       {block[6], block[7], block[8]})) {
    return;  // no ground to lie on
  }
  // In the air (or on no sensible ground): no quad, and the distance runs on from the last stamp.
  const float heightA = Vec3Dot(ground.normal, a) + ground.distance;
  const float heightB = Vec3Dot(ground.normal, b) + ground.distance;
  if (!(std::fabs(heightA) <= kGroundTolerance) || !(std::fabs(heightB) <= kGroundTolerance)) return;
  N_Vector3 side;
  Vec3Cross(side, point, dir);
  side.Normalize();
  N_SurfaceVertex* quad = vertices + m_next;
  SetVertex(quad[0], a + side, 1.0f, 0.0f);
  SetVertex(quad[1], a - side, 0.0f, 0.0f);
  SetVertex(quad[2], b + side, 1.0f, 1.0f);
  SetVertex(quad[3], b - side, 0.0f, 1.0f);
  m_last = a;
  std::fill_n(m_fade.begin() + m_next, 4, 1.0f);
  m_next += 4;
}

void N_ParticlePatch::Render() {
  if (!g_scene.game || !g_render || !m_surface.vertexBuffer) return;
  if (!g_varMng || g_varMng->GetInt("PlayersParticles") != 1) return;
  N_Shader* material = g_scene.shaderMng ? g_scene.shaderMng->GetShader(m_surface.shader) : nullptr;
  if (!material) return;
  g_render->SetShader(material, -1);
  g_render->DrawSurfaceIdentity(&m_surface);
}

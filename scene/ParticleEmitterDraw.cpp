// N_ParticleEmitter: the GPU buffers, the vertex build of each update and the draw.
//
// Only live slots are written and drawn, first in slot order: a dead slot keeps its
// last position and colour, and drawn it would hang frozen in the air (alpha 0 does not
// hide it under additive or filter blending).
#include "render/Camera.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/SurfaceVertex.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleShader.h"
#include "scene/SceneAccess.h"

#include <cmath>

namespace {

constexpr std::uint32_t kIndexFormat16 = 101;
constexpr std::uint32_t kDynamicBuffer = 2;

void SetVertex(N_SurfaceVertex& vertex, const N_Vector3& at, std::uint32_t colour, float u, float v) {
  vertex.position[0] = at.x;
  vertex.position[1] = at.y;
  vertex.position[2] = at.z;
  vertex.colour = colour;
  vertex.uv0[0] = u;
  vertex.uv0[1] = v;
}

/// V turned about the axis F (perpendicular to it) by minus the angle.
N_Vector3 Turned(const N_Vector3& v, const N_Vector3& f, float cosine, float sine) {
  N_Vector3 cross;
  Vec3Cross(cross, v, f);
  return v * cosine + cross * sine;
}

}  // namespace

void N_ParticleEmitter::CreateBuffers(std::uint32_t slots) {
  // Headless (no renderer) or an empty template: the simulation runs without buffers.
  if (!g_render || slots == 0) return;
  DestroyBuffers();
  m_surface.shader = m_shader->shader;
  m_surface.lightmap = -1;
  std::uint32_t vertices = slots, indices = 3;
  if (m_pointSprites) {
    m_surface.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::PointList);
    m_surface.indexed = 0;
  } else {
    m_surface.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::TriangleList);
    m_surface.indexed = 1;
    vertices = slots * 4;
    indices = slots * 6;  // at most 65,532: the slots are capped
  }
  m_surface.vertexBuffer = g_render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, vertices, kDynamicBuffer);
  m_surface.indexBuffer = g_render->CreateIndexBuffer(kIndexFormat16, indices, kDynamicBuffer);
  m_surface.binding = g_render->CreateVertexBufferBinding();
  if (m_surface.binding) m_surface.binding->SetStream(0, m_surface.vertexBuffer);
  // Nothing is drawn until a build has written live particles.
  m_surface.vertexCount = 0;
  m_surface.indexCount = m_pointSprites ? 3 : 0;
}

void N_ParticleEmitter::DestroyBuffers() {
  if (g_render) {
    g_render->DestroyIndexBuffer(&m_surface.indexBuffer);
    g_render->DestroyVertexBuffer(&m_surface.vertexBuffer);
    g_render->DestroyVertexBufferBinding(&m_surface.binding);
  }
  // Without the renderer its shutdown has freed them already.
  m_surface.indexBuffer = nullptr;
  m_surface.vertexBuffer = nullptr;
  m_surface.binding = nullptr;
}

void N_ParticleEmitter::BuildVertices() {
  // The quads face the camera, and the draw needs one: no camera, no build.
  const N_Camera* camera = g_scene.camera;
  if (!camera || !m_surface.vertexBuffer) return;
  if (m_pointSprites) {
    BuildSprites(*camera);
  } else {
    BuildQuads(*camera);
  }
}

void N_ParticleEmitter::BuildSprites(const N_Camera&) {
  auto* vertices = static_cast<N_SurfaceVertex*>(m_surface.vertexBuffer->Lock(true, true));
  if (!vertices) return;
  std::uint32_t count = 0;
  for (const N_Particle& particle : m_particles) {
    if (!particle.IsAlive()) continue;
    N_SurfaceVertex& vertex = vertices[count++];
    vertex.position[0] = particle.position.x;
    vertex.position[1] = particle.position.y;
    vertex.position[2] = particle.position.z;
    vertex.normal[0] = particle.halfSize;  // the sprite's size, where the normal's x stands
    vertex.colour = particle.color;
  }
  m_surface.vertexBuffer->Unlock();
  m_builtCount = count;
  m_surface.vertexCount = count;
}

void N_ParticleEmitter::BuildQuads(const N_Camera& camera) {
  if (!m_surface.indexBuffer) return;
  auto* vertices = static_cast<N_SurfaceVertex*>(m_surface.vertexBuffer->Lock(true, true));
  auto* indices = static_cast<std::uint16_t*>(m_surface.indexBuffer->Lock(true, true));
  if (!vertices || !indices) {
    if (vertices) m_surface.vertexBuffer->Unlock();
    if (indices) m_surface.indexBuffer->Unlock();
    return;
  }
  const N_Vector3 right = camera.axisX, up = camera.axisY;
  const N_Vector3 forward = camera.axisZ * -1.0f;
  const bool rotates = m_shader->Rotates();
  std::uint32_t count = 0;
  for (const N_Particle& particle : m_particles) {
    if (!particle.IsAlive()) continue;
    N_Vector3 r = right, u = up;
    if (rotates) {
      const float cosine = std::cos(particle.angle), sine = std::sin(particle.angle);
      r = Turned(right, forward, cosine, sine);
      u = Turned(up, forward, cosine, sine);
    }
    const N_Vector3 a = r * particle.halfSize, b = u * particle.halfSize;
    const N_Vector3& p = particle.position;
    N_SurfaceVertex* quad = vertices + std::size_t(count) * 4;
    SetVertex(quad[0], p - a - b, particle.color, 0.0f, 1.0f);
    SetVertex(quad[1], p + a - b, particle.color, 1.0f, 1.0f);
    SetVertex(quad[2], p + a + b, particle.color, 1.0f, 0.0f);
    SetVertex(quad[3], p - a + b, particle.color, 0.0f, 0.0f);
    const auto n = static_cast<std::uint16_t>(count * 4);
    std::uint16_t* index = indices + std::size_t(count) * 6;
    index[0] = n;
    index[1] = std::uint16_t(n + 1);
    index[2] = std::uint16_t(n + 2);
    index[3] = n;
    index[4] = std::uint16_t(n + 2);
    index[5] = std::uint16_t(n + 3);
    ++count;
  }
  m_surface.indexBuffer->Unlock();
  m_surface.vertexBuffer->Unlock();
  m_builtCount = count;
  m_surface.vertexCount = count * 4;
  m_surface.indexCount = static_cast<std::uint16_t>(count * 6);
}

void N_ParticleEmitter::Render() {
  if (!m_initialised || !m_alive || !m_inView || !DetailAllowed()) return;
  if (!g_render || !g_scene.camera || !m_surface.vertexBuffer || m_builtCount == 0) return;
  N_Shader* material = g_scene.shaderMng ? g_scene.shaderMng->GetShader(m_shader->shader) : nullptr;
  if (!material) return;  // a template without a material draws nothing
  g_render->SetShader(material, -1);
  if (m_pointSprites) {
    g_render->DrawPointSprites(&m_surface);
  } else {
    g_render->DrawSurface(&m_surface);
  }
}

#include "render/ShadowVolume.h"

#include "core/ErrorLog.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"

#include <algorithm>

namespace {

N_Render* Renderer() { return g_renderServices ? g_renderServices->render : nullptr; }

}  // namespace

N_ShadowVolume::N_ShadowVolume(bool bufferMode) : m_bufferMode(bufferMode) {
  m_silhouette.reserve(kSilhouetteReserve);
}

void N_ShadowVolume::ComputeNormals() {
  for (int t = 0; t < m_triangleCount; ++t) {
    N_ShadowTriangle& triangle = m_triangles[t];
    TriangleNormal(triangle.normal, m_positions[triangle.corner[0]], m_positions[triangle.corner[1]],
                   m_positions[triangle.corner[2]]);
  }
}

void N_ShadowVolume::Build(N_ShadowTriangle* triangles, int triangleCount, const N_Vector3* positions) {
  m_triangles = triangles;
  m_triangleCount = triangles && positions ? std::max(triangleCount, 0) : 0;
  m_positions = positions;
  ComputeNormals();
  BuildEdgeList(m_triangleCount, m_triangles, m_edges);
  for (const N_Edge& edge : m_edges) {
    if (edge.faceA == N_Edge::kNoFace || edge.faceB == N_Edge::kNoFace) {
      g_renderServices->errorLog->Critical(0, "N_ShadowVolume: Pokus o vytvorenie tiena z deraveho meshu!");
    }
  }
  // Without edges there is nothing to extrude: no buffers, and Draw does nothing.
  const std::size_t edges = std::min(m_edges.size(), kMaxSilhouette);
  N_Render* render = Renderer();
  if (edges == 0 || (m_bufferMode && !render)) return;
  m_surface.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::TriangleList);
  m_surface.indexed = 1;
  if (m_bufferMode) {
    m_surface.indexBuffer = render->CreateIndexBuffer(D3DFMT_INDEX16, std::uint32_t(edges * 6), N_VertexBuffer::kDynamic);
    m_surface.vertexBuffer = render->CreateVertexBuffer(N_Render::kSurfaceVertexSize, std::uint32_t(edges * 4),
                                                        N_VertexBuffer::kDynamic);
    m_surface.binding = render->CreateVertexBufferBinding();
    m_surface.binding->SetStream(0, m_surface.vertexBuffer);
  } else {
    m_surface.ownedVertices.assign(edges * 4, N_SurfaceVertex{});
    m_indexArray.assign(edges * 6, 0);
    m_surface.vertices = m_surface.ownedVertices.data();
    m_surface.indices = m_indexArray.data();
  }
}

void N_ShadowVolume::FindSilhouette(const N_Vector3& extrusion) {
  m_silhouette.clear();
  for (const N_Edge& edge : m_edges) {
    const float dA = Vec3Dot(extrusion, m_triangles[edge.faceA].normal);
    const float dB = Vec3Dot(extrusion, m_triangles[edge.faceB].normal);
    if ((dA > 0.0f) == (dB > 0.0f)) continue;
    // Reversed when face A is the lit one, so that every quad winds the same way.
    m_silhouette.emplace_back(dA > 0.0f ? edge.b : edge.a, dA > 0.0f ? edge.a : edge.b);
    if (m_silhouette.size() == kMaxSilhouette) break;
  }
}

void N_ShadowVolume::WriteQuads(N_SurfaceVertex* vertices, std::uint16_t* indices, const N_Vector3& e) const {
  auto place = [](N_SurfaceVertex& v, const N_Vector3& p) {
    v.position[0] = p.x;
    v.position[1] = p.y;
    v.position[2] = p.z;
  };
  for (std::size_t i = 0; i < m_silhouette.size(); ++i) {
    const N_Vector3& p = m_positions[m_silhouette[i].first];
    const N_Vector3& q = m_positions[m_silhouette[i].second];
    place(vertices[4 * i], p);
    place(vertices[4 * i + 1], q);
    place(vertices[4 * i + 2], q - e);
    place(vertices[4 * i + 3], p - e);
    const auto base = static_cast<std::uint16_t>(4 * i);
    const std::uint16_t quad[6] = {base, std::uint16_t(base + 1), std::uint16_t(base + 2),
                                   std::uint16_t(base + 2), std::uint16_t(base + 3), base};
    std::copy(std::begin(quad), std::end(quad), indices + 6 * i);
  }
}

// The light is a direction: the figure's position does not change it.
void N_ShadowVolume::Update(const N_Vector3& light, const N_Vector3&, const N_Matrix3& rotation, float) {
  if (RenderVarInt("r_shadowsEnabled") == 0) return;
  const bool ready = m_bufferMode ? (m_surface.vertexBuffer && m_surface.vertexBuffer->DeviceBuffer() &&
                                     m_surface.indexBuffer && m_surface.indexBuffer->DeviceBuffer())
                                  : !m_indexArray.empty();
  if (m_edges.empty() || !ready) {
    // No triangles, or buffers the device refused: nothing to draw.
    m_surface.vertexCount = 0;
    m_surface.indexCount = 0;
    return;
  }
  ComputeNormals();
  // The light's direction in the figure's space: R^-1 (-L), R^T for a rotation.
  N_Matrix3 inverse;
  rotation.Invert(inverse);
  N_Vector3 toLight;
  inverse.Transform(N_Vector3{} - light, toLight);
  const N_Vector3 extrusion = toLight * m_extrusion;
  FindSilhouette(extrusion);
  m_surface.vertexCount = std::uint32_t(m_silhouette.size() * 4);
  m_surface.indexCount = std::uint16_t(m_silhouette.size() * 6);
  if (!m_bufferMode) {
    WriteQuads(m_surface.ownedVertices.data(), m_indexArray.data(), extrusion);
    return;
  }
  auto* vertices = static_cast<N_SurfaceVertex*>(m_surface.vertexBuffer->Lock(true, true));
  auto* indices = static_cast<std::uint16_t*>(m_surface.indexBuffer->Lock(true, true));
  if (vertices && indices) WriteQuads(vertices, indices, extrusion);
  if (vertices) m_surface.vertexBuffer->Unlock();
  if (indices) m_surface.indexBuffer->Unlock();
}

void N_ShadowVolume::Draw(const N_Vector3& position, const N_Matrix3& rotation, float scale) {
  N_Render* render = Renderer();
  if (!render || m_edges.empty()) return;
  render->DrawShadowVolume(&m_surface, position, rotation, scale);
}

void N_ShadowVolume::ReleaseBuffers() {
  if (N_Render* render = Renderer()) {
    if (m_surface.indexBuffer) render->DestroyIndexBuffer(&m_surface.indexBuffer);
    if (m_surface.vertexBuffer) render->DestroyVertexBuffer(&m_surface.vertexBuffer);
    if (m_surface.binding) render->DestroyVertexBufferBinding(&m_surface.binding);
  }
  m_surface.ownedVertices = {};
  m_surface.vertices = nullptr;
  m_surface.indices = nullptr;
  m_surface.vertexCount = 0;
  m_surface.indexCount = 0;
  m_indexArray = {};
  m_edges = {};
  m_silhouette = {};
}

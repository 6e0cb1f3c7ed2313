#include "scene/LodRenderObject.h"

#include "scene/StaticMesh.h"

N_LodRenderObject::N_LodRenderObject(N_StaticMesh* mesh1, N_StaticMesh* mesh2, N_StaticMesh* mesh3, float distance1,
                                     float distance2, float distance3)
    : m_distances{distance1, distance2, distance3}, m_meshes{mesh1, mesh2, mesh3} {}

void N_LodRenderObject::Render(float distance, std::int32_t minimumLevel) {
  N_StaticMesh* mesh = nullptr;
  if (distance < m_distances[0] && minimumLevel == 0) {
    mesh = m_meshes[0];
  } else if (distance < m_distances[1] && minimumLevel <= 1) {
    mesh = m_meshes[1];
  } else if (distance < m_distances[2] && minimumLevel <= 2) {
    mesh = m_meshes[2];
  }
  if (mesh) mesh->QueueInstance(&worldMatrix);
}

void N_LodRenderObject::SetTransform(const float* box, std::uint32_t flags, std::uint32_t kind,
                                     const N_Matrix4& matrix, std::int32_t) {
  SetPlacement(box, flags, kind, matrix);
}

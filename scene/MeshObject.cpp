#include "scene/MeshObject.h"

#include "render/MeshSurface.h"

N_MeshObject::N_MeshObject(N_MeshSurface* surfaces, std::uint32_t count) {
  m_records.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) m_records.push_back(std::make_unique<N_SurfaceInstances>(surfaces + i));
}

void N_MeshObject::Render(float, std::int32_t) {
  for (const auto& record : m_records) record->matrices.push_back(&worldMatrix);
}

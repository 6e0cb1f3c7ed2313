// N_Render: the factory and destroy operation of the occlusion query rings.
#include "render/OcclusionQuery.h"
#include "render/Render.h"

N_OcclusionQuery* N_Render::CreateOcclusionQuery() {
  auto* ring = new N_OcclusionQuery(this, m_device);
  if (!ring->IsMade()) {
    delete ring;
    return nullptr;
  }
  m_occlusionQueryRings.push_back(ring);
  return ring;
}

void N_Render::DestroyOcclusionQuery(N_OcclusionQuery** ring) {
  if (ring == nullptr || *ring == nullptr) return;
  m_occlusionQueryRings.remove(*ring);
  delete *ring;
  *ring = nullptr;
}

#pragma once
// N_MeshObject: a drawable made of a run of the level's own surfaces. It owns one
// instance record per surface, which the render list draws (and borrows from it).
#include "scene/RenderObject.h"
#include "scene/SurfaceInstances.h"

#include <memory>
#include <vector>

struct N_MeshSurface;

class N_MeshObject final : public N_RenderObject {
 public:
  /// One record per surface, in order (the surfaces are the level's, not owned).
  N_MeshObject(N_MeshSurface* surfaces, std::uint32_t count);

  /// Queues the world matrix on every surface's record; both arguments are ignored.
  void Render(float distance, std::int32_t minimumLevel) override;

  const std::vector<std::unique_ptr<N_SurfaceInstances>>& SurfaceRecords() const { return m_records; }

 private:
  std::vector<std::unique_ptr<N_SurfaceInstances>> m_records;
};

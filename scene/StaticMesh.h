#pragma once
// N_StaticMesh: one static mesh file ("MESH", version 140; scene/SurfaceRecords.h) in
// memory, with device buffers of its own for every surface, so that it can be drawn at
// any number of places. Owned by a LOD object (the level's LOD object manager) or by
// the audience manager; it lives until its owner goes.
//
// Drawn two ways: the render list draws the instances its drawables queue on the
// surface records (QueueInstance), or Render draws it at once at one place.
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "render/MeshSurface.h"
#include "render/TexInfo.h"
#include "scene/SurfaceInstances.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class N_StaticMesh {
 public:
  N_StaticMesh() = default;
  /// Gives back its lightmaps' textures and every surface's shader reference, and
  /// destroys the surfaces' buffers and bindings.
  virtual ~N_StaticMesh();
  N_StaticMesh(const N_StaticMesh&) = delete;
  N_StaticMesh& operator=(const N_StaticMesh&) = delete;

  /// Reads the file and builds the surfaces, their buffers and instance records.
  /// Every fault is critical ("file %s not found!", "%s is not valid mesh file!", "%s
  /// is v.%d NOT supported version, supported version is 1.40"), so it returns true.
  /// Call once, on a fresh mesh.
  bool Load(const char* fileName);
  /// Queues a world matrix on every surface's instance record for this frame.
  void QueueInstance(const N_Matrix4* worldMatrix);
  /// Draws the mesh now at the position with the orientation: each surface whose box,
  /// moved by the position (not turned) and grown by 30 units, meets the frustum.
  void Render(const N_Vector3& position, const N_Matrix3& orientation);

  const std::vector<std::string>& Materials() const { return m_materials; }
  const std::vector<TexInfo>& Lightmaps() const { return m_lightmaps; }
  std::vector<N_MeshSurface>& Surfaces() { return m_surfaces; }
  const std::vector<N_MeshSurface>& Surfaces() const { return m_surfaces; }
  /// One record per surface, in surface order.
  const std::vector<std::unique_ptr<N_SurfaceInstances>>& Instances() const { return m_instances; }
  const N_Vector3& BoxMin() const { return m_boxMin; }
  const N_Vector3& BoxMax() const { return m_boxMax; }

 private:
  void CreateBuffers(N_MeshSurface& surface);

  std::vector<std::string> m_materials;
  std::vector<TexInfo> m_lightmaps;
  std::vector<N_SurfaceVertex> m_vertices;
  std::vector<N_MeshSurface> m_surfaces;  ///< never resized after Load: records point into it
  std::vector<std::uint16_t> m_indices;
  N_Vector3 m_boxMin;
  N_Vector3 m_boxMax;
  std::vector<std::unique_ptr<N_SurfaceInstances>> m_instances;
};

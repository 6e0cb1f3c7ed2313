#pragma once
// N_LodRenderObject: a drawable that queues one of a LOD object's three meshes by its
// distance along the view. The meshes belong to the level's LOD object manager.
#include "scene/RenderObject.h"

class N_StaticMesh;

class N_LodRenderObject final : public N_RenderObject {
 public:
  N_LodRenderObject(N_StaticMesh* mesh1, N_StaticMesh* mesh2, N_StaticMesh* mesh3, float distance1, float distance2,
                    float distance3);

  /// Below distance 1 (minimum level 0) mesh 1, below distance 2 (minimum level up to
  /// 1) mesh 2, below distance 3 (minimum level up to 2) mesh 3, else nothing: a
  /// raised minimum level skips finer meshes but never draws beyond distance 3.
  void Render(float distance, std::int32_t minimumLevel) override;
  /// As the base, but keeps no sound: the loader's handle (-1) is never released.
  void SetTransform(const float* box, std::uint32_t flags, std::uint32_t kind, const N_Matrix4& matrix,
                    std::int32_t soundHandle) override;

  N_StaticMesh* Mesh(int level) const { return m_meshes[level]; }
  float Distance(int level) const { return m_distances[level]; }

 private:
  float m_distances[3];
  N_StaticMesh* m_meshes[3];
};

#pragma once
// N_LodObject: the three static meshes of one LOD object ("<name>_1.mesh", "_2.mesh",
// "_3.mesh", finest first) and the distances at which each is drawn. Owned by the
// level's LOD object manager.
#include "scene/StaticMesh.h"

#include <array>
#include <memory>
#include <string>

class N_LodObject {
 public:
  /// Loads the three meshes of the base name; a mesh that fails is critical ("Load LOD
  /// object %s failed\n" with its file name), though every mesh fault is reported as
  /// critical by the mesh itself first.
  static std::unique_ptr<N_LodObject> Load(const std::string& baseName, const float* distances);

  N_StaticMesh* Mesh(int level) const { return m_meshes[std::size_t(level)].get(); }
  /// Switch distance of a level (0-2).
  float Distance(int level) const { return m_distances[std::size_t(level)]; }

 private:
  std::array<std::unique_ptr<N_StaticMesh>, 3> m_meshes;
  std::array<float, 3> m_distances{};
};

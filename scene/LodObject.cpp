#include "scene/LodObject.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"

std::unique_ptr<N_LodObject> N_LodObject::Load(const std::string& baseName, const float* distances) {
  auto object = std::make_unique<N_LodObject>();
  for (int level = 0; level < 3; ++level) {
    const std::string fileName = baseName + "_" + std::to_string(level + 1) + ".mesh";
    auto mesh = std::make_unique<N_StaticMesh>();
    if (!mesh->Load(fileName.c_str()) && g_errorLog) {
      g_errorLog->Critical(9, "Load LOD object %s failed\n", fileName.c_str());
    }
    object->m_meshes[std::size_t(level)] = std::move(mesh);
    object->m_distances[std::size_t(level)] = distances[level];
  }
  return object;
}

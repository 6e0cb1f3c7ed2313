#include "scene/LodObjectMng.h"

#include "core/Globals.h"
#include "core/Log.h"

std::int32_t N_LodObjectMng::Add(const std::string& name, const float* distances) {
  if (name.empty()) return -1;
  if (const auto found = m_names.find(name); found != m_names.end()) return found->second;
  const std::int32_t index = m_nextIndex++;
  m_names.emplace(name, index);
  m_objects[index] = N_LodObject::Load(name, distances);
  return index;
}

N_LodObject* N_LodObjectMng::Get(std::int32_t index) const {
  const auto found = m_objects.find(index);
  return found == m_objects.end() ? nullptr : found->second.get();
}

void N_LodObjectMng::LogNames() const {
  if (!g_log) return;
  for (const auto& [name, index] : m_names) g_log->Print("LOD Mesh: %s\n", name.c_str());
}

void N_LodObjectMng::Clear() {
  m_objects.clear();
  m_names.clear();
}

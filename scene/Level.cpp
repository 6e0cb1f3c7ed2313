#include "scene/Level.h"

#include "platform/win32.h"
#include "render/Render.h"

#include <algorithm>

N_Level::N_Level() {
  m_sunLight.type = 0;
  m_sunLight.diffuse[0] = m_sunLight.diffuse[1] = m_sunLight.diffuse[2] = 1.0f;
  m_sunLight.attenuation[0] = 1.0f;
  m_sunLight.changed = 1;
}

void N_Level::SetAmbientFromLightGrid(const N_Vector3&) {
  if (g_render) g_render->SetAmbient(0.0f, 0.0f, 0.0f);
}

const N_Vector3* N_Level::FindPointSet(const char* name, std::int32_t& count) const {
  if (!name) return nullptr;
  for (const N_LevelPointSet& set : m_pointSets) {
    if (!platform::EqualsNoCase(set.name, name)) continue;
    count = static_cast<std::int32_t>(set.pointCount);
    // An empty set at the end of the points has no first point: a found set still
    // answers a pointer, which a count of 0 never lets anyone read.
    static const N_Vector3 kNoPoint;
    return set.firstPoint < m_points.size() ? &m_points[set.firstPoint] : &kNoPoint;
  }
  return nullptr;
}

void N_Level::SetPointSets(std::vector<N_LevelPointSet> sets, std::vector<N_Vector3> points) {
  m_points = std::move(points);
  for (N_LevelPointSet& set : sets) {
    if (set.firstPoint > m_points.size()) set.firstPoint = static_cast<std::uint32_t>(m_points.size());
    const std::size_t available = m_points.size() - set.firstPoint;
    if (set.pointCount > available) set.pointCount = static_cast<std::uint32_t>(available);
    set.pointCount = std::min<std::uint32_t>(set.pointCount, 0x7FFFFFFF);
  }
  m_pointSets = std::move(sets);
}

void N_Level::AddPointSet(const std::string& name, const std::vector<N_Vector3>& points) {
  m_pointSets.push_back({name, static_cast<std::uint32_t>(m_points.size()), static_cast<std::uint32_t>(points.size())});
  m_points.insert(m_points.end(), points.begin(), points.end());
}

#pragma once
// N_Level: the loaded race course, owned by the world (one at a time; recreated for
// every level change). So far what the animated figures call (the ambient light at a
// position and the sun light) and the named point sets that the race's path network
// and start places read; the loader, the level's other lists and its effects join it
// with the level issues.
#include "core/Vector3.h"
#include "render/RenderLight.h"

#include <cstdint>
#include <string>
#include <vector>

/// A named point set of the level file: its points are points[firstPoint] on.
struct N_LevelPointSet {
  std::string name;
  std::uint32_t firstPoint = 0;
  std::uint32_t pointCount = 0;
};

class N_Level {
 public:
  /// An empty level with the sun light at its defaults (no direction until a level's
  /// "lf_sun" or "sun" light gives one).
  N_Level();
  N_Level(const N_Level&) = delete;
  N_Level& operator=(const N_Level&) = delete;

  /// Hands the light grid's colour at the position to N_Render::SetAmbient; black
  /// while the level has no grid.
  void SetAmbientFromLightGrid(const N_Vector3& position);

  N_RenderLight& SunLight() { return m_sunLight; }
  const N_RenderLight& SunLight() const { return m_sunLight; }

  // Point sets (the polylines, start places and markers of a course).
  /// The first point of the first set of that name (compared without regard to case),
  /// with its point count written to count; null, count untouched, when none has it.
  const N_Vector3* FindPointSet(const char* name, std::int32_t& count) const;
  /// The level's point sets and the points they index, as the level file gives them;
  /// a set reaching past the points keeps only the points that exist.
  void SetPointSets(std::vector<N_LevelPointSet> sets, std::vector<N_Vector3> points);
  /// Appends a set of these points after the existing ones (level builders).
  void AddPointSet(const std::string& name, const std::vector<N_Vector3>& points);

 private:
  N_RenderLight m_sunLight;
  std::vector<N_LevelPointSet> m_pointSets;
  std::vector<N_Vector3> m_points;
};

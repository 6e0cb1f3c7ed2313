#pragma once
// N_Level: the loaded race course, owned by the world (one at a time; recreated for
// every level change). So far only what the animated figures call: the ambient light
// at a position and the sun light; the loader, the level's lists and its effects join
// it with the level issues.
#include "core/Vector3.h"
#include "render/RenderLight.h"

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

 private:
  N_RenderLight m_sunLight;
};

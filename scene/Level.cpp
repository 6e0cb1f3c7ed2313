#include "scene/Level.h"

#include "render/Render.h"

N_Level::N_Level() {
  m_sunLight.type = 0;
  m_sunLight.diffuse[0] = m_sunLight.diffuse[1] = m_sunLight.diffuse[2] = 1.0f;
  m_sunLight.attenuation[0] = 1.0f;
  m_sunLight.changed = 1;
}

void N_Level::SetAmbientFromLightGrid(const N_Vector3&) {
  if (g_render) g_render->SetAmbient(0.0f, 0.0f, 0.0f);
}

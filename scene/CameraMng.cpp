#include "scene/CameraMng.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "scene/SceneHelpers.h"

N_CameraMng::N_CameraMng() {
  CheckControllers();
  ReadViewMode();
}

void N_CameraMng::CheckControllers() {
  if (!m_race) m_race = std::make_unique<N_RaceCamera>(*this);
  if (!m_free) m_free = std::make_unique<N_FreeCameraController>();
  if (!m_shake) m_shake = std::make_unique<N_ShakeCamera>();
}

void N_CameraMng::Setup() {
  m_race->Setup("CameraPath_Menu");
  m_shake->Setup(nullptr);
  m_free->Setup(nullptr);
}

void N_CameraMng::Update(float frameTime) {
  switch (m_viewMode) {
    case 0: m_race->Update(frameTime); break;
    case 2: m_shake->Update(frameTime); break;
    default: m_free->Update(frameTime); break;
  }
}

bool N_CameraMng::TurnsWithMouse() const {
  if (m_viewMode == 2) return true;
  return m_viewMode != 0 && SceneVarInt("FreeCamera") != 0;
}

// Without a registry (tools, tests) the mode stays as it is.
void N_CameraMng::ReadViewMode() {
  if (g_varMng) m_viewMode = g_varMng->GetInt("viewmode");
}

void N_CameraMng::SetRaceCameraMode(std::int32_t mode) { m_race->SetMode(mode); }

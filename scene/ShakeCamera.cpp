#include "scene/ShakeCamera.h"

#include "core/InputMng.h"
#include "core/Random.h"
#include "scene/CameraTurn.h"
#include "scene/RifleView.h"
#include "scene/SceneHelpers.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831853f;
constexpr float kFieldOfView = 50.0f;
constexpr float kScopeFieldOfView = 1.0f;
/// The scope is drawn into the centre nineteenth of the screen.
constexpr float kScopeDivisions = 19.0f;

/// A uniform number in 0..1 from the game's generator.
float Uniform() { return float(Rand()) / float(kRandMax); }

int MouseReading(int axis) { return g_inputMng ? g_inputMng->IsPressed(N_InputMng::kMouse, axis, 0) : 0; }

}  // namespace

N_ShakeCamera::Sway N_ShakeCamera::s_sway;

N_ShakeCamera::N_ShakeCamera() {
  m_main.angleX = m_scope.angleX = m_rifleCamera.angleX = 90.0f;
}

void N_ShakeCamera::Setup(const char*) {
  const auto w = float(SceneVarInt("v_width")), h = float(SceneVarInt("v_height"));
  m_main.SetProjection(kFieldOfView, w, h, 0.0f, 0.0f);
  m_main.UpdateProjection(40.0f, 74000.0f);
  m_scope.SetProjection(kScopeFieldOfView, w / kScopeDivisions, h / kScopeDivisions, 9.0f * w / kScopeDivisions,
                        9.0f * h / kScopeDivisions);
  m_scope.UpdateProjection(40.0f, 74000.0f);
  m_rifleCamera.SetProjection(kFieldOfView, w, h, 0.0f, 0.0f);
  m_rifleCamera.UpdateProjection(1.0f, 100.0f);
}

void N_ShakeCamera::Update(float frameTime) {
  if (m_rifle) m_aiming = m_rifle->IsAiming() ? 1 : 0;
  Sway& sway = s_sway;
  sway.randomX = SceneVarFloat("randx");
  sway.randomY = SceneVarFloat("randy");
  sway.amplitudeX = SceneVarFloat("ampx");
  sway.amplitudeY = SceneVarFloat("ampy");

  if (!sway.backwards) {
    sway.phase1 += frameTime;
    sway.phase2 += frameTime;
    if (sway.phase2 > kPi) sway.backwards = 1;
  } else {
    sway.phase1 -= frameTime;
    sway.phase2 -= frameTime;
    if (sway.phase2 < 0.0f) sway.backwards = 0;
  }
  if (sway.phase1 > kTwoPi) sway.phase1 = 0.0f;
  if (sway.phase2 > kTwoPi) sway.phase2 = 0.0f;

  float jitterX = 0.0f, jitterY = 0.0f;
  sway.jitterTimer += frameTime;
  if (sway.jitterTimer > kJitterInterval) {
    sway.jitterTimer = 0.0f;
    jitterX = (0.5f - Uniform()) * sway.randomX;
    jitterY = (0.5f - Uniform()) * sway.randomY;
  }
  const float x = std::cos(sway.phase2) * sway.amplitudeX + jitterX;
  const float y = std::sin(sway.phase1) * sway.amplitudeY + jitterY;
  m_main.angleZ += x - sway.previousX;
  m_main.angleX -= y - sway.previousY;
  sway.previousX = x;
  sway.previousY = y;

  TurnCamera(m_main, float(MouseReading(0)) * kMouseDegreesPerUnit, float(MouseReading(1)) * kMouseDegreesPerUnit);
  for (N_Camera* camera : {&m_scope, &m_rifleCamera}) {
    camera->angleZ = m_main.angleZ;
    camera->angleX = m_main.angleX;
  }
  m_main.UpdateView();
  m_scope.UpdateView();
  m_rifleCamera.UpdateView();
}

void N_ShakeCamera::Render(float frameTime) {
  if (m_rifle) m_rifle->Render(frameTime);
}

void N_ShakeCamera::LookAt(const N_Vector3& position, const N_Vector3& target) {
  m_main.LookAt(&position, &target);
  m_scope.LookAt(&position, &target);
  m_rifleCamera.LookAt(&position, &target);
}

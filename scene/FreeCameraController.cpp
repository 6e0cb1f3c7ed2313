#include "scene/FreeCameraController.h"

#include "core/InputMng.h"
#include "scene/CameraTurn.h"
#include "scene/SceneHelpers.h"

#include <cmath>

namespace {

constexpr int kEscape = 1;
constexpr int kUp = 200;
constexpr int kDown = 208;
constexpr int kLeft = 203;
constexpr int kRight = 205;
/// Below this speed the camera stands: the direction of a zero velocity is not defined.
constexpr float kStandingSpeed = 1e-7f;

int Held(int key) { return g_inputMng ? g_inputMng->IsPressed(N_InputMng::kKeyboard, key, 0) : 0; }
int MouseReading(int axis) { return g_inputMng ? g_inputMng->IsPressed(N_InputMng::kMouse, axis, 0) : 0; }

/// 0 when braking flipped the component's sign.
float Braked(float before, float after) { return (before > 0.0f) != (after > 0.0f) ? 0.0f : after; }

}  // namespace

N_FreeCameraController::N_FreeCameraController() { m_camera.angleX = 90.0f; }

void N_FreeCameraController::Setup(const char*) {
  m_camera.SetProjection(50.0f, float(SceneVarInt("v_width")), float(SceneVarInt("v_height")), 0.0f, 0.0f);
  m_camera.UpdateProjection(1.0f, 74000.0f);
  m_camera.UpdateView();
}

void N_FreeCameraController::Update(float frameTime) {
  if (SceneVarInt("FreeCamera") == 0) return;
  m_maximumSpeed = SceneVarFloat("speed");
  if (m_maximumSpeed == 0.0f) m_maximumSpeed = 1000.0f;
  if (Held(kEscape)) return;

  // Camera space: a sideways (+ right), c along the view axis (+ backwards).
  const float a = float(Held(kRight) - Held(kLeft));
  const float c = float(Held(kDown) - Held(kUp));
  TurnCamera(m_camera, float(MouseReading(0)) * kMouseDegreesPerUnit, float(MouseReading(1)) * kMouseDegreesPerUnit);
  if (Held(kUp) || Held(kDown) || Held(kLeft) || Held(kRight)) {
    const N_Vector3 push = m_camera.axisX * a + m_camera.axisZ * c;
    m_velocity = m_velocity + push * (frameTime * kAcceleration);
  }

  const float speed = std::sqrt(Vec3Dot(m_velocity, m_velocity));
  if (speed >= kStandingSpeed) {
    const N_Vector3 before = m_velocity;
    const N_Vector3 after = m_velocity - m_velocity * (frameTime * kBraking / speed);
    m_velocity = {Braked(before.x, after.x), Braked(before.y, after.y), Braked(before.z, after.z)};
  }
  if (speed > m_maximumSpeed) m_velocity = m_velocity * (m_maximumSpeed / speed);
  m_camera.position = m_camera.position + m_velocity * frameTime;
  m_camera.UpdateView();
}

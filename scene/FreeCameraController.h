#pragma once
// N_FreeCameraController: the ordinary game camera. The race code places it (following
// the player's skier); with "FreeCamera" set the developer flies it with the arrow keys
// and turns it with the mouse.
//
// Update, per frame (nothing while "FreeCamera" is 0 or Escape is held):
//   1. the maximum speed from "speed" (0 means 1000);
//   2. the mouse turns the camera (0.25 degrees a unit), pitch kept to 0..180;
//   3. held arrows accelerate it along its view axis (Up forwards) and sideways;
//   4. it brakes by 10000 units/s^2 (no component changes sign by braking) and its
//      speed is kept to the maximum;
//   5. it moves by its velocity.
// Owned by the camera manager.
#include "render/Camera.h"
#include "scene/CameraController.h"

class N_FreeCameraController final : public N_CameraController {
 public:
  static constexpr float kAcceleration = 30000.0f;
  static constexpr float kBraking = 10000.0f;
  static constexpr float kMouseDegreesPerUnit = 0.25f;

  /// Looking level (pitch 90), standing still, maximum speed 2000.
  N_FreeCameraController();

  /// 50 degrees over "v_width" x "v_height", clip distances 1 and 74000.
  void Setup(const char* pathName) override;
  void Update(float frameTime) override;
  bool IsReady() override { return false; }
  void Render(float) override {}

  N_Camera& Camera() { return m_camera; }
  const N_Vector3& Velocity() const { return m_velocity; }
  float MaximumSpeed() const { return m_maximumSpeed; }

 private:
  N_Camera m_camera;
  N_Vector3 m_velocity;
  float m_maximumSpeed = 2000.0f;
};

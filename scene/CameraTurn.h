#pragma once
// The mouse turning shared by the free and shake cameras.
#include "render/Camera.h"

/// Yaw and pitch grow by the given degrees; the pitch is then kept to 0..180 (the
/// vertical limits) and a yaw or pitch beyond +-360 becomes 0.
inline void TurnCamera(N_Camera& camera, float yawDegrees, float pitchDegrees) {
  camera.angleZ += yawDegrees;
  camera.angleX += pitchDegrees;
  if (camera.angleX < 0.0f) camera.angleX = 0.0f;
  if (camera.angleX > 180.0f) camera.angleX = 180.0f;
  if (camera.angleZ > 360.0f || camera.angleZ < -360.0f) camera.angleZ = 0.0f;
  if (camera.angleX > 360.0f || camera.angleX < -360.0f) camera.angleX = 0.0f;
}

#pragma once
// The engine's camera: a position, three Euler angles, a horizontal field of view, a
// viewport, and the view and projection matrices built from them, with the camera's
// axes for billboards and culling. Camera controllers and level cameras own cameras
// and move them every frame; the renderer keeps a pointer to the camera of its last
// set-up, and its 3D set-up writes the forward direction and view-plane distance
// (read by the vertex-program constants).
//
// Conventions: the world is Z-up; angles are in degrees (angleX 90 looks level); the
// view matrix is in row-vector form (translation in the fourth row), the transpose of
// the column-vector world-to-camera transform. The projection is GL-style (clip z in
// [-w, w]); the device's 0..1 depth range clips it at about 2fn / (f + n).
#include "core/Matrix4.h"
#include "core/Vector3.h"

#include <cstdint>

class N_Camera {
 public:
  N_Camera() = default;
  virtual ~N_Camera() = default;
  N_Camera(const N_Camera&) = default;
  N_Camera& operator=(const N_Camera&) = default;

  /// Field of view in degrees and the viewport in pixels (truncated to integers); puts
  /// the camera at the origin looking level along +Y and rebuilds both matrices with
  /// the clip distances 40 and 74000.
  virtual void SetProjection(float fovDegrees, float width, float height, float x, float y);
  /// Rebuilds the view matrix and the three axes from the position and the angles.
  virtual void UpdateView();
  /// A spring step after the target, then a sideways pull against the heading (not
  /// scaled by dt), then the view towards the target.
  virtual void FollowTargetEx(const N_Vector3* target, const N_Vector3* reference, float dt, float stiffness,
                              float damping, float distance, const N_Vector3* heading);
  /// A spring step after the target (dt clamped to 0..0.1 s), then the view towards it.
  virtual void FollowTarget(const N_Vector3* target, const N_Vector3* reference, float dt, float stiffness,
                            float damping, float distance);
  virtual void LookAt(const N_Vector3* eye, const N_Vector3* target);
  /// Copies the matrix into the view; the angles and axes stay as they were.
  virtual void SetViewMatrix(const float* matrix);
  virtual void UpdateProjection(float nearPlaneDistance, float farPlaneDistance);
  /// t 0: the full viewport height; t 1: a 16:9 band centred vertically.
  virtual void SetLetterbox(float t);

  N_Vector3 position{};
  float angleZ = 0.0f;  ///< degrees about Z (heading)
  float angleX = 0.0f;  ///< degrees about X (pitch); 90 looks level
  float angleY = 0.0f;  ///< degrees about Y
  float fov = 0.0f;     ///< horizontal field of view, radians
  float aspect = 0.0f;  ///< viewport width / height
  N_Matrix4 view{};
  N_Matrix4 projection{};
  std::uint8_t viewValid = 0;
  std::uint8_t projectionValid = 0;
  N_Vector3 axisZ{};  ///< backward axis: the camera looks along -axisZ
  N_Vector3 axisY{};  ///< up axis
  N_Vector3 axisX{};  ///< right axis
  std::int32_t viewportX = 0;
  std::int32_t viewportY = 0;
  std::int32_t viewportWidth = 0;
  std::int32_t viewportHeight = 0;
  float nearPlane = 0.0f;
  float farPlane = 0.0f;
  /// Written by the renderer's 3D set-up: the view's rotation applied to (0, 0, 1),
  /// and its dot product with the position.
  N_Vector3 forward{};
  float viewPlaneDistance = 0.0f;

 private:
  void SpringStep(const N_Vector3& target, const N_Vector3& reference, float dt, float stiffness, float damping,
                  float distance);
  void ViewTowards(const N_Vector3& direction);
  void BuildView(float pitch, float heading, float roll);
};

#include "render/Camera.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.2957764f;
constexpr float kQuarterTurn = 1.5707964f;
/// Below this distance from its target the camera has no direction to damp along.
constexpr float kSpringMinLength = 1e-6f;

}  // namespace

void N_Camera::SetProjection(float fovDegrees, float width, float height, float x, float y) {
  fov = fovDegrees * kDegToRad;
  viewportWidth = static_cast<std::int32_t>(width);
  viewportHeight = static_cast<std::int32_t>(height);
  viewportX = static_cast<std::int32_t>(x);
  viewportY = static_cast<std::int32_t>(y);
  aspect = width / height;
  position = {0.0f, 0.0f, 0.0f};
  angleZ = 0.0f;
  angleX = 90.0f;
  angleY = 0.0f;
  UpdateView();
  UpdateProjection(40.0f, 74000.0f);
}

void N_Camera::UpdateView() { BuildView(angleX * -kDegToRad, angleZ * -kDegToRad, angleY * -kDegToRad); }

// M = Rx(pitch) x Rz(heading) x Ry(roll) x T(-position); the axes are M's first three
// rows and the view is M transposed.
void N_Camera::BuildView(float pitch, float heading, float roll) {
  N_Matrix4 rx, rz, ry, translate, m;  // identities
  rx.RotationX(pitch);
  rz.RotationZ(heading);
  ry.RotationY(roll);
  translate.m[3] = -position.x;
  translate.m[7] = -position.y;
  translate.m[11] = -position.z;
  MatrixMultiply(m, rx, rz);
  MatrixMultiply(m, m, ry);
  MatrixMultiply(m, m, translate);
  axisX = {m.m[0], m.m[1], m.m[2]};
  axisY = {m.m[4], m.m[5], m.m[6]};
  axisZ = {m.m[8], m.m[9], m.m[10]};
  m.Transpose(view);
  viewValid = 1;
}

void N_Camera::ViewTowards(const N_Vector3& direction) {
  N_Vector3 d = direction;
  d.Normalize();
  // Rounding can leave |d.z| a hair above 1: acos would give NaN for good.
  const float pitch = std::acos(std::clamp(-d.z, -1.0f, 1.0f));
  const float heading = std::atan2(d.y, d.x) - kQuarterTurn;
  angleX = pitch * kRadToDeg;
  angleZ = heading * kRadToDeg;
  BuildView(-pitch, -heading, 0.0f);
}

void N_Camera::SpringStep(const N_Vector3& target, const N_Vector3& reference, float dt, float stiffness, float damping,
                          float distance) {
  if (dt > 0.1f) dt = 0.1f;
  if (dt < 0.0f) dt = 0.0f;
  N_Vector3 e = position - target;
  const float length = std::sqrt(Vec3Dot(e, e));
  const N_Vector3 m = (reference - target) * dt;
  // A camera (nearly) on its target has no direction to damp along: the damping term
  // is 0 instead of a division by (almost) 0, which would make the position NaN or
  // fling it away; Normalize then moves it off along (1, 0, 0).
  const float dampingTerm = length >= kSpringMinLength ? Vec3Dot(m, e) / length * damping : 0.0f;
  const float f = ((distance - length) * stiffness + dampingTerm) * dt;
  e.Normalize();
  position = position + e * f;
}

void N_Camera::FollowTargetEx(const N_Vector3* target, const N_Vector3* reference, float dt, float stiffness,
                              float damping, float distance, const N_Vector3* heading) {
  SpringStep(*target, *reference, dt, stiffness, damping, distance);
  N_Vector3 d = *target - position;
  d.Normalize();
  const N_Vector3 side{heading->y, -heading->x, 0.0f};
  const float k = Vec3Dot(side, d);
  if (std::fabs(k) > 0.01f) {
    position = position + side * (3.0f * k);
  }
  ViewTowards(d);  // the direction from before the sideways move, seen from after it
}

void N_Camera::FollowTarget(const N_Vector3* target, const N_Vector3* reference, float dt, float stiffness,
                            float damping, float distance) {
  SpringStep(*target, *reference, dt, stiffness, damping, distance);
  ViewTowards(*target - position);
}

void N_Camera::LookAt(const N_Vector3* eye, const N_Vector3* target) {
  position = *eye;
  ViewTowards(*target - position);
}

void N_Camera::SetViewMatrix(const float* matrix) { std::memcpy(view.m, matrix, sizeof view.m); }

void N_Camera::UpdateProjection(float nearPlaneDistance, float farPlaneDistance) {
  const float n = nearPlaneDistance;
  const float f = farPlaneDistance;
  const float t = std::tan(fov * 0.5f);
  std::memset(projection.m, 0, sizeof projection.m);
  projection.m[0] = 1.0f / t;
  projection.m[5] = aspect / t;
  projection.m[10] = -(f + n) / (f - n);
  projection.m[11] = -1.0f;
  projection.m[14] = -(2.0f * f * n) / (f - n);
  nearPlane = n;
  farPlane = f;
  projectionValid = 1;
}

void N_Camera::SetLetterbox(float t) {
  // A camera without a screen (no projection set yet) has no viewport to narrow.
  if (!(aspect > 0.0f)) return;
  const float h = static_cast<float>(viewportWidth) / aspect;
  viewportHeight =
      static_cast<std::int32_t>(std::nearbyint(static_cast<float>(viewportWidth) * 0.5625f * t + (1.0f - t) * h));
  viewportY = (static_cast<std::int32_t>(std::nearbyint(h)) - viewportHeight) / 2;
}

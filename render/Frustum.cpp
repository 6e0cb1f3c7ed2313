#include "render/Frustum.h"

#include "core/MathFunctions.h"
#include "render/Camera.h"

#include <cmath>

namespace {

constexpr float kViewPlaneOffset = 10.0f;

/// The world vector of a camera-space direction: the view matrix read as three rows of
/// (rotation, translation).
N_Vector3 CameraToWorld(const N_Matrix4& view, float a, float b, float c) {
  const float* m = view.m;
  return {a * m[0] + b * m[1] + c * m[2] + m[3], a * m[4] + b * m[5] + c * m[6] + m[7],
          a * m[8] + b * m[9] + c * m[10] + m[11]};
}

void SetPlane(N_Plane& plane, const N_Vector3& normal, float dist) {
  plane.normal = normal;
  plane.distance = dist;
}

}  // namespace

void N_Frustum::Build(const N_Camera& camera) {
  m_planeCount = 4;
  const N_Vector3& eye = camera.position;

  const N_Vector3 viewNormal = CameraToWorld(camera.view, 0.0f, 0.0f, -1.0f);
  SetPlane(m_planes[kViewPlane], viewNormal, Vec3Dot(viewNormal, eye) - kViewPlaneOffset);

  const float h = camera.fov * 0.5f;
  const float cosH = CosF(h);
  const float sinH = SinF(h);
  const N_Vector3 left = CameraToWorld(camera.view, cosH, 0.0f, -sinH);
  const N_Vector3 right = CameraToWorld(camera.view, -cosH, 0.0f, -sinH);
  SetPlane(m_planes[0], left, Vec3Dot(left, eye));
  SetPlane(m_planes[1], right, Vec3Dot(right, eye));

  // The vertical half-angle follows from the horizontal one and the aspect; worked
  // out in extended precision before single-precision sine and cosine.
  const float v =
      static_cast<float>(std::atan(std::tan(static_cast<long double>(h)) / static_cast<long double>(camera.aspect)));
  const float cosV = CosF(v);
  const float sinV = SinF(v);
  const N_Vector3 top = CameraToWorld(camera.view, 0.0f, cosV, -sinV);
  const N_Vector3 bottom = CameraToWorld(camera.view, 0.0f, -cosV, -sinV);
  SetPlane(m_planes[2], top, Vec3Dot(top, eye));
  SetPlane(m_planes[3], bottom, Vec3Dot(bottom, eye));

  ClassifyPlanes();
}

bool N_Frustum::TestPoint(float x, float y, float z, std::int32_t* mask) const {
  const N_Vector3 p{x, y, z};
  for (std::int32_t i = 0; i < m_planeCount; ++i) {
    const std::int32_t bit = 1 << i;
    if ((*mask & bit) == 0) continue;
    const N_Plane& plane = m_planes[i];
    if (Vec3Dot(plane.normal, p) - plane.distance <= 0.0f) return false;
    *mask &= ~bit;
  }
  return true;
}

bool N_Frustum::TestBox(const float* box, float* depth) const {
  const N_Vector3 mins{box[0], box[1], box[2]};
  const N_Vector3 maxs{box[3], box[4], box[5]};
  for (std::int32_t i = 0; i < m_planeCount; ++i) {
    float distance = 0.0f;
    if (BoxOnPlaneSide(mins, maxs, m_planes[i], &distance) == 2) return false;
  }
  const N_Vector3 centre{(box[0] + box[3]) * 0.5f, (box[1] + box[4]) * 0.5f, (box[2] + box[5]) * 0.5f};
  const N_Plane& view = m_planes[kViewPlane];
  *depth = Vec3Dot(centre, view.normal) - view.distance;
  return true;
}

void N_Frustum::ClassifyPlanes() {
  for (std::int32_t i = 0; i < m_planeCount; ++i) {
    N_Plane& plane = m_planes[i];
    const float n[3] = {plane.normal.x, plane.normal.y, plane.normal.z};
    plane.type = 3;
    for (std::uint8_t axis = 0; axis < 3; ++axis) {
      if (n[axis] == 1.0f) {
        plane.type = axis;
        break;
      }
    }
    plane.signBits = 0;
    for (int axis = 0; axis < 3; ++axis) {
      if (n[axis] < 0.0f) plane.signBits |= static_cast<std::uint8_t>(1 << axis);
    }
  }
}

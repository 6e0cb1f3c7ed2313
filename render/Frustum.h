#pragma once
// The planes of the current camera's view volume, for culling. The world owns one and
// rebuilds it from the camera every frame before the level, figures and particles are
// drawn; they test their points and bounding boxes against it.
//
// Planes 0-3 are the side planes through the camera position (left, right, top,
// bottom); a point p is inside a plane when normal . p - dist > 0. Plane 4 is the view
// plane, 10 units behind the camera, facing along the view: it is not tested, it only
// measures a box's depth.
#include "core/Plane.h"

#include <array>
#include <cstdint>

class N_Camera;

class N_Frustum {
 public:
  static constexpr int kViewPlane = 4;

  N_Frustum() = default;
  virtual ~N_Frustum() = default;

  /// Rebuilds all five planes from the camera; 4 planes are tested afterwards.
  void Build(const N_Camera& camera);
  /// True when the point is inside every tested plane whose bit is set in the mask;
  /// each plane passed clears its bit. Stops at the first plane that rejects (a point
  /// on a plane is outside). A mask of 0 is inside at once.
  bool TestPoint(float x, float y, float z, std::int32_t* mask) const;
  /// box: min x, y, z, max x, y, z. False when the box lies wholly behind a tested
  /// plane (depth then untouched); otherwise true with the depth of the box's centre
  /// along the view, measured from the view plane.
  bool TestBox(const float* box, float* depth) const;
  /// Axis type and sign bits of the tested planes.
  void ClassifyPlanes();

  const N_Plane& Plane(int index) const { return m_planes[index]; }
  std::int32_t PlaneCount() const { return m_planeCount; }

 private:
  std::array<N_Plane, 5> m_planes{};
  std::int32_t m_planeCount = 0;
};

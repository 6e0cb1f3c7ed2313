#pragma once
// N_Bone: one bone of an animated mesh's skeleton, built by N_AnimObject::Load from a
// bone record. Its matrices are N_Matrix4 in the animation form (row-major,
// translation in elements 3, 7 and 11).
#include "core/Matrix4.h"
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/AnimFile.h"

#include <cstdint>
#include <vector>

struct N_Bone {
  std::int32_t index = 0;
  char name[animfile::kBoneNameSize] = {};
  std::int32_t parent = -1;  ///< -1 for a root; a parent that names no bone is never posed
  std::vector<std::int32_t> children;  ///< bones whose parent this is, ascending
  N_Vector3 storedPosition;
  N_Quaternion storedRotation;
  /// The stored rotation and position: mesh (bind) space into the bone's own space.
  N_Matrix4 storedTransform;
  N_Matrix4 inverseTransform;  ///< N_Matrix34::Invert of storedTransform
  N_Matrix4 pose;              ///< written by the posing of the last instance posed
};

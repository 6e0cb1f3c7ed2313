#include "scene/RenderObject.h"

#include "sound/SoundMng.h"

#include <algorithm>
#include <cmath>

N_RenderObject::~N_RenderObject() {
  if (sound != 0 && g_soundMng) g_soundMng->ReleaseSound(sound);
}

void N_RenderObject::Render(float, std::int32_t) {}

void N_RenderObject::SetTransform(const float* newBox, std::uint32_t newFlags, std::uint32_t newKind,
                                  const N_Matrix4& matrix, std::int32_t soundHandle) {
  SetPlacement(newBox, newFlags, newKind, matrix);
  sound = soundHandle;
}

void N_RenderObject::SetPlacement(const float* newBox, std::uint32_t newFlags, std::uint32_t newKind,
                                  const N_Matrix4& matrix) {
  std::copy(newBox, newBox + 6, box);
  flags = newFlags;
  kind = newKind;
  const N_Vector3 low{box[0], box[1], box[2]}, high{box[3], box[4], box[5]};
  const N_Vector3 half = (high - low) * 0.5f;
  centre = low + half;
  radius = std::sqrt(Vec3Dot(half, half));
  matrix.Transpose(worldMatrix);
  worldMatrix.m[15] = 1.0f;
  worldCentre = centre;
  worldRadius = radius;
  std::copy(box, box + 6, worldBox);
}

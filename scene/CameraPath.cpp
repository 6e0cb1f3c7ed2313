#include "scene/CameraPath.h"

#include "core/Matrix4.h"
#include "scene/QuaternionSlerp.h"
#include "scene/RenderObject.h"

#include <cmath>

N_CameraPath::N_CameraPath(const N_PathKey* keys, std::uint32_t keyCount, std::uint32_t playMode, float rate)
    : m_playMode(playMode), m_rate(rate), m_keys(keys, keys + (keys ? keyCount : 0)) {}

void N_CameraPath::Reset() {
  m_currentKey = 0;
  m_fraction = 0.0f;
}

float N_CameraPath::GetDuration() const { return m_rate > 0.0f ? float(m_keys.size()) / m_rate : 0.0f; }

// Whole keys move the current key, the rest the fraction; at the last segment a
// play-once path holds its last key and a loop wraps (the fraction kept).
void N_CameraPath::Advance(float dt) {
  const std::int64_t count = static_cast<std::int64_t>(m_keys.size());
  // In double, the product of any two floats is finite: a huge rate over a long frame
  // only wraps (or holds) the path like any other jump.
  const double a = double(dt) * double(m_rate);
  if (count < 2 || !(a > 0.0) || !std::isfinite(a)) return;  // no time, a rate of 0 or less, or NaN: it stays
  double whole = std::floor(a);
  const float part = float(a - whole);
  // A jump past the whole path lands where its remainder does (held, or wrapped by
  // count - 1), and the key stays far from the integer limits.
  if (whole >= double(count)) whole = double(count - 1) + std::fmod(whole, double(count - 1));
  std::int64_t key = m_currentKey + static_cast<std::int64_t>(whole);
  m_fraction += part;
  while (m_fraction > 1.0f) {
    m_fraction -= 1.0f;
    ++key;
  }
  if (key >= count - 2) {
    if (m_playMode == kPlayOnce) {
      key = count - 2;
      m_fraction = 1.0f;
    } else {
      key %= count - 1;
    }
  }
  m_currentKey = static_cast<std::int32_t>(key);
}

std::int32_t N_CameraPath::Evaluate(N_RenderObject& drawable, float dt) {
  const std::int64_t count = static_cast<std::int64_t>(m_keys.size());
  if (count == 0) return 1;
  Advance(dt);
  N_Vector3 p = m_keys[0].position;
  N_Quaternion q = m_keys[0].rotation;
  if (count >= 2) {
    const N_PathKey& from = m_keys[std::size_t(m_currentKey)];
    const N_PathKey& to = m_keys[std::size_t(m_currentKey) + 1];
    p = from.position + (to.position - from.position) * m_fraction;
    QuaternionSlerp(from.rotation, to.rotation, m_fraction, q);
  }
  N_Matrix4 placed;
  placed.FromQuaternion(q);
  placed.m[3] = p.x;
  placed.m[7] = p.y;
  placed.m[11] = p.z;
  placed.m[15] = 1.0f;
  placed.Transpose(drawable.worldMatrix);
  for (int axis = 0; axis < 3; ++axis) {
    const float offset = axis == 0 ? p.x : axis == 1 ? p.y : p.z;
    drawable.worldBox[axis] = drawable.box[axis] + offset;
    drawable.worldBox[axis + 3] = drawable.box[axis + 3] + offset;
  }
  drawable.worldCentre = drawable.centre + p;
  return count < 3 ? 1 : static_cast<std::int32_t>(m_currentKey / (count - 2));
}

#pragma once
// N_CameraPath: a keyframe path, shared by moving level objects and the level cameras.
// Keys are evenly spaced in time (rate keys per second); between two keys the position
// is blended linearly and the rotation spherically. Owned by the drawable it moves.
//
// Short paths are guarded: 0 keys leave the drawable where it is, 1 key holds it,
// 2 keys are one segment; a rate of 0 or less never advances.
#include "core/Quaternion.h"
#include "core/Vector3.h"

#include <cstdint>
#include <vector>

class N_RenderObject;

/// One key of a level file's path (28 bytes there): a position and a rotation.
struct N_PathKey {
  N_Vector3 position;
  N_Quaternion rotation;  ///< w, x, y, z
};
static_assert(sizeof(N_PathKey) == 28);

class N_CameraPath {
 public:
  /// Play mode that runs the path once and holds its last key; any other value loops.
  static constexpr std::uint32_t kPlayOnce = 2;

  /// Copies the keys; the path starts at key 0 with fraction 0.
  N_CameraPath(const N_PathKey* keys, std::uint32_t keyCount, std::uint32_t playMode, float rate);

  /// Key 0, fraction 0.
  void Reset();
  /// Seconds for the whole path: key count / rate; 0 for a rate of 0 or less.
  float GetDuration() const;
  /// Advances the path by the frame time and places the drawable on it: its world
  /// matrix becomes the transposed [R(q) | p], its world box and centre move by p.
  /// Returns 1 on the last segment (or for a path of fewer than 3 keys), else 0.
  std::int32_t Evaluate(N_RenderObject& drawable, float dt);

  std::uint32_t PlayMode() const { return m_playMode; }
  float Rate() const { return m_rate; }
  const std::vector<N_PathKey>& Keys() const { return m_keys; }
  std::int32_t CurrentKey() const { return m_currentKey; }
  /// 0..1 between the current key and the next.
  float Fraction() const { return m_fraction; }

 private:
  void Advance(float dt);

  std::uint32_t m_playMode;
  float m_rate;
  std::vector<N_PathKey> m_keys;
  std::int32_t m_currentKey = 0;
  float m_fraction = 0.0f;
};

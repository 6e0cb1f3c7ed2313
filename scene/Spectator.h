#pragma once
// N_Spectator: one spectator of the level (a level-file spectator record set up by
// the loader), an instance of the audience's animation set. It plays its mesh's idle
// animations, switches to the action list when the camera comes near, and far away is
// drawn with its mesh's low-detail static mesh while its animation time keeps running
// (N_Level::RenderActors). Owned by the level.
#include "core/Matrix3.h"
#include "core/Random.h"
#include "core/Vector3.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

struct N_Spectator {
  /// The camera's distance in which state 0 turns to 1, and its margin back (added to
  /// the squared distance).
  static constexpr float kStateMargin = 5.0f;

  std::int32_t instance = 0;  ///< in the audience's animation set
  std::int32_t mesh = 0;      ///< the audience's mesh index
  std::int32_t state = 0;     ///< 0 idle, 1 action
  float timer = 0.0f;         ///< seconds until the next animation pick
  float elapsed = 0.0f;       ///< animation time gathered while drawn at low detail
  N_Vector3 position;
  N_Matrix3 orientation;
};

/// The index of an animation picked from a list of `count` (at least 1) entries:
/// trunc(RandomRange(0, count)) limited to count - 1, so every entry is as likely as
/// the others (the generator's top value alone would reach count).
inline std::size_t SpectatorPick(std::size_t count) {
  const auto k = static_cast<std::size_t>(RandomRange(0.0f, float(count)));
  return std::min(k, count - 1);
}

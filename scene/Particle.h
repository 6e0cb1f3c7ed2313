#pragma once
// N_Particle: one slot of a particle emitter (scene/ParticleEmitter.h). A slot is dead
// when its age is not less than its life; dead slots keep their last position and
// colour until they are spawned again.
#include "core/Vector3.h"

#include <cstdint>

struct N_Particle {
  /// Drawn once at the emitter's first start: box emitters per axis in [-h, h] of the
  /// box half extents, line emitters three factors in [0, 1] of the line vector.
  N_Vector3 spawnOffset;
  N_Vector3 position;         ///< world units
  N_Vector3 initialVelocity;  ///< drawn once in the template's range, units a second
  N_Vector3 velocity;
  float initialHalfSize = 0.0f;
  float halfSize = 0.0f;
  float angle = 0.0f;  ///< rotation about the view axis
  float spin = 0.0f;   ///< radians a second
  float age = 0.0f;    ///< seconds since spawn
  float life = 0.0f;   ///< seconds
  std::uint32_t color = 0;  ///< alpha in the top byte, then red, green, blue

  bool IsAlive() const { return age < life; }
};
static_assert(sizeof(N_Particle) == 19 * 4);

#pragma once
// A positional sound: started, stopped and moved to a source by the sound manager's
// per-frame update according to its distance from the listener.
#include "sound/SoundSource.h"

#include <cstdint>
#include <vector>

struct N_SoundShader;

struct N_SoundInstance {
  std::vector<std::uint32_t> buffers;  ///< one per wav name of the shader (the variants)
  std::int32_t playFlag = 0;           ///< set by Play while the category is on
  std::int32_t variant = -1;           ///< buffer to play; -1 = a random one at every start
  const N_SoundShader* shader = nullptr;
  float position[3] = {0.0f, 0.0f, 0.0f};
  float velocity[3] = {0.0f, 0.0f, 0.0f};  ///< always zero
  float priority = N_SoundSource::kFreePriority;  ///< ((d - min) / min) / rolloff x volume
  float frequency = 1.0f;
  float volume = 1.0f;
  float minDistance = 1.0f;
  float maxDistance = 128.0f;
  float rolloff = 1.0f;
  std::int32_t headRelative = 0;
  std::int32_t loop = 1;
  std::int32_t handle = 0;  ///< its own handle (index + 1)
};

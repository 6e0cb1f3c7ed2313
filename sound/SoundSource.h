#pragma once
// One slot of the sound manager's pool of OpenAL sources.
#include <cstdint>

struct N_SoundSource {
  static constexpr float kFreePriority = 1.0e6f;

  std::uint32_t source = 0;          ///< the OpenAL source name
  std::int32_t handle = 0;           ///< the sound playing on it; 0 = free
  float priority = kFreePriority;    ///< of what plays; kFreePriority when free
  float gain = 1.0f;                 ///< the shader volume of what plays
  std::int32_t category = 0;         ///< of what plays; 0 = never played
};

#pragma once
// A plain sound: no position; started by an explicit play on a source relative to
// the listener.
#include <cstdint>
#include <vector>

struct N_SoundShader;

struct N_PlainSound {
  std::vector<std::uint32_t> buffers;  ///< one per wav name of the shader (the variants)
  std::int32_t variant = -1;           ///< buffer to play; -1 = a random one at every play
  const N_SoundShader* shader = nullptr;
};

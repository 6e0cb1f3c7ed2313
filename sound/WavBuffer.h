#pragma once
// A wav file loaded into an OpenAL buffer, shared by name and reference-counted.
#include <cstdint>

struct N_WavBuffer {
  std::int32_t serial = 0;      ///< registration order, from 0
  std::uint32_t buffer = 0;     ///< OpenAL buffer name; 0 while released, without a device or a usable file
  std::int32_t refCount = 0;
};

#pragma once
// Float render and sampler states reach the device as the float's 32-bit pattern.
#include "platform/d3d9.h"

#include <cstring>

inline DWORD FloatBits(float value) {
  DWORD bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

#include "core/Random.h"

#include <cstdint>

namespace {
std::uint32_t g_seed = 1;
}  // namespace

void Srand(unsigned seed) { g_seed = seed; }

int Rand() {
  g_seed = g_seed * 214013u + 2531011u;
  return static_cast<int>((g_seed >> 16) & 0x7FFFu);
}

float RandomRange(float a, float b) {
  // In double, so that a draw of 32767 lands exactly on b once stored as a float.
  const double r = static_cast<double>(Rand()) * (1.0 / 32767.0);
  return static_cast<float>(static_cast<double>(a) + r * (static_cast<double>(b) - a));
}

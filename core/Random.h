#pragma once
// The project's random numbers, in place of the C library's rand/srand (whose range
// differs between systems): the classic 15-bit linear congruential sequence, one
// process-wide state, seeded with 1 until Srand is called. After Srand(1) the draws
// are 41, 18467, 6334, 26500, 19169. Single-threaded, like everything that draws.

/// The largest value Rand returns.
constexpr int kRandMax = 0x7FFF;

/// Restarts the sequence.
void Srand(unsigned seed);
/// The next value, 0..kRandMax.
int Rand();

/// a + Rand() x (1 / 32767) x (b - a): a value from a to b, both ends included;
/// b may be below a (the value then runs from a down to b).
float RandomRange(float a, float b);

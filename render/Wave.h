#pragma once
// Periodic waves of the shader scripts (rgbgen wave, tcmod stretch, deform waves).
// A wave is five floats: function code, base, amplitude, phase, frequency; the code is
// a float whose nearest integer is used (WaveFunc).

/// The wave's value at a time in seconds: x = time x frequency + phase, f = x - n with
/// n the integer nearest to x - 0.5 (halves to even: f is 1 at odd whole x, 0 at even);
/// sine base + amplitude sin(2 pi f), triangle, square (base + amplitude for f < 0.5,
/// base - amplitude after), sawtooth base + amplitude f, inverse sawtooth
/// base + amplitude (1 - f); any other code is a sawtooth.
float EvaluateWaveAt(const float* wave, float time);

/// The value now: the time is the renderer's timer (0 without one).
float EvaluateWave(const float* wave);

/// The renderer's time in seconds as a float (0 without a timer).
float RenderTime();

// The generated music: a minor-key loop of bass, pad, plucked melody and a soft beat.
#include "tools/SoundSamples.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace tools {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeat = 0.6;  // 100 beats per minute
constexpr double kBar = 4 * kBeat;

enum class Wave { Sine, Triangle, Soft };

struct Stereo {
  std::vector<double> left, right;
  int rate;
};

double MidiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

double Oscillator(Wave wave, double phase) {
  switch (wave) {
    case Wave::Sine:
      return std::sin(phase);
    case Wave::Triangle:
      return 2.0 / kPi * std::asin(std::sin(phase));
    case Wave::Soft:
      return std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.1 * std::sin(3.0 * phase);
  }
  return 0.0;
}

struct Note {
  double start, length, freq, amp, pan;  // pan 0 = left .. 1 = right
  Wave wave;
  double decay;   // seconds; 0 = held with a slow attack (pad)
};

void AddNote(Stereo& out, const Note& n) {
  const auto first = static_cast<std::size_t>(n.start * out.rate);
  const auto count = static_cast<std::size_t>(n.length * out.rate);
  const double gainL = std::cos(n.pan * kPi / 2.0), gainR = std::sin(n.pan * kPi / 2.0);
  for (std::size_t i = 0; i < count && first + i < out.left.size(); ++i) {
    const double t = static_cast<double>(i) / out.rate;
    double envelope = n.decay > 0.0 ? std::min(1.0, t / 0.005) * std::exp(-t / n.decay)
                                    : std::min({1.0, t / 0.3, (n.length - t) / 0.3});
    const double v = n.amp * envelope * Oscillator(n.wave, 2.0 * kPi * n.freq * t);
    out.left[first + i] += v * gainL;
    out.right[first + i] += v * gainR;
  }
}

void AddKick(Stereo& out, double start) {
  const auto first = static_cast<std::size_t>(start * out.rate);
  double phase = 0.0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(0.25 * out.rate) && first + i < out.left.size(); ++i) {
    const double t = static_cast<double>(i) / out.rate;
    phase += 2.0 * kPi * (50.0 + 70.0 * std::exp(-t / 0.03)) / out.rate;
    const double v = 0.5 * std::exp(-t / 0.12) * std::sin(phase);
    out.left[first + i] += v;
    out.right[first + i] += v;
  }
}

void AddHat(Stereo& out, double start, std::uint32_t& noise) {
  const auto first = static_cast<std::size_t>(start * out.rate);
  double previous = 0.0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(0.05 * out.rate) && first + i < out.left.size(); ++i) {
    noise = noise * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
    const double high = white - previous;  // a crude high-pass
    previous = white;
    const double v = 0.06 * std::exp(-static_cast<double>(i) / out.rate / 0.012) * high;
    out.left[first + i] += v * 0.6;
    out.right[first + i] += v;
  }
}

struct Chord {
  int bass;
  std::array<int, 3> pad;
};

constexpr std::array kProgression{
    Chord{45, {57, 60, 64}},  // A minor
    Chord{41, {57, 60, 65}},  // F
    Chord{48, {55, 60, 64}},  // C
    Chord{43, {55, 59, 62}},  // G
};

void AddBar(Stereo& out, double start, const Chord& chord, std::uint32_t& choice, std::uint32_t& noise) {
  for (int beat = 0; beat < 4; ++beat) {
    const double t = start + beat * kBeat;
    AddNote(out, {t, kBeat, MidiToHz(chord.bass), 0.35, 0.5, Wave::Soft, 0.35});
    if (beat % 2 == 0) AddKick(out, t);
    AddHat(out, t + kBeat / 2.0, noise);
  }
  for (std::size_t i = 0; i < chord.pad.size(); ++i) {
    const double freq = MidiToHz(chord.pad[i]);
    AddNote(out, {start, kBar, freq * 0.998, 0.07, 0.15, Wave::Sine, 0.0});
    AddNote(out, {start, kBar, freq * 1.002, 0.07, 0.85, Wave::Sine, 0.0});
  }
  for (int step = 0; step < 8; ++step) {
    choice = choice * 1103515245u + 12345u;
    const int tone = chord.pad[(choice >> 16) % 3] + 12 + (((choice >> 20) & 3) == 0 ? 12 : 0);
    const double pan = step % 2 == 0 ? 0.3 : 0.7;
    AddNote(out, {start + step * kBeat / 2.0, kBeat, MidiToHz(tone), 0.2, pan, Wave::Triangle, 0.22});
  }
}

}  // namespace

std::vector<float> ComposeMusic(double seconds, int rate) {
  const auto frames = static_cast<std::size_t>(seconds * rate);
  Stereo out{std::vector<double>(frames, 0.0), std::vector<double>(frames, 0.0), rate};
  std::uint32_t choice = 7, noise = 3;
  for (int bar = 0; bar * kBar < seconds; ++bar) {
    AddBar(out, bar * kBar, kProgression[bar % kProgression.size()], choice, noise);
  }
  double peak = 1e-9;
  for (std::size_t i = 0; i < frames; ++i) peak = std::max({peak, std::abs(out.left[i]), std::abs(out.right[i])});
  std::vector<float> interleaved(frames * 2);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double fade = std::min({1.0, t / 0.5, (seconds - t) / 2.0});
    const double scale = 0.8 / peak * std::max(0.0, fade);
    interleaved[2 * i] = static_cast<float>(out.left[i] * scale);
    interleaved[2 * i + 1] = static_cast<float>(out.right[i] * scale);
  }
  return interleaved;
}

}  // namespace tools

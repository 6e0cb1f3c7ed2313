#include "tools/SoundSamples.h"

#include "tools/OggWriter.h"
#include "tools/WavWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>

namespace tools {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int32_t kMusicSerial = 0x4E41564F;  // fixed: the same file every build

/// A small deterministic noise source (LCG), -1..1.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : m_state(seed) {}
  float Next() {
    m_state = m_state * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<double>(m_state >> 8) / 8388608.0 - 1.0);
  }

 private:
  std::uint32_t m_state;
};

using Samples = std::vector<float>;

Samples Silence(double seconds, int rate = kEffectRate) {
  return Samples(static_cast<std::size_t>(seconds * rate), 0.0f);
}

/// Adds a decaying sine partial starting at start seconds.
void AddPartial(Samples& out, double start, double freq, double amp, double decay, int rate = kEffectRate) {
  const auto first = static_cast<std::size_t>(start * rate);
  for (std::size_t i = first; i < out.size(); ++i) {
    const double t = static_cast<double>(i - first) / rate;
    const double attack = std::min(1.0, t / 0.004);  // no click at the onset
    out[i] += static_cast<float>(amp * attack * std::exp(-t / decay) * std::sin(2.0 * kPi * freq * t));
  }
}

/// Adds low-passed noise with an attack / release envelope.
void AddBreath(Samples& out, double start, double length, double amp, double cutoff, std::uint32_t seed) {
  Noise noise(seed);
  const double alpha = 1.0 - std::exp(-2.0 * kPi * cutoff / kEffectRate);
  double low = 0.0;
  const auto first = static_cast<std::size_t>(start * kEffectRate);
  const auto count = static_cast<std::size_t>(length * kEffectRate);
  for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
    const double t = static_cast<double>(i) / count;
    low += alpha * (noise.Next() - low);
    const double envelope = std::sin(kPi * t) * std::sin(kPi * t);
    out[first + i] += static_cast<float>(amp * envelope * low * 3.0);
  }
}

/// A voice-like tone: a few harmonics with a slight vibrato.
void AddVoiceNote(Samples& out, double start, double length, double freq, double amp) {
  const auto first = static_cast<std::size_t>(start * kEffectRate);
  const auto count = static_cast<std::size_t>(length * kEffectRate);
  double phase = 0.0;
  for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kEffectRate;
    const double f = freq * (1.0 + 0.01 * std::sin(2.0 * kPi * 5.5 * t));
    phase += 2.0 * kPi * f / kEffectRate;
    const double envelope = std::min({1.0, t / 0.02, (length - t) / 0.04});
    const double wave = std::sin(phase) + 0.4 * std::sin(2.0 * phase) + 0.2 * std::sin(3.0 * phase);
    out[first + i] += static_cast<float>(amp * envelope * wave / 1.6);
  }
}

Samples Heartbeat(int variant) {
  Samples s = Silence(0.6);
  const double lift = variant * 6.0;
  AddPartial(s, 0.0, 55.0 + lift, 0.55 + 0.07 * variant, 0.06);
  AddPartial(s, 0.0, 110.0 + lift, 0.15, 0.03);
  AddPartial(s, 0.28 - 0.02 * variant, 70.0 + lift, 0.4 + 0.06 * variant, 0.05);
  return s;
}

Samples Breath(int variant, bool female) {
  const double length = 1.6 - 0.25 * variant;
  Samples s = Silence(length);
  const double cutoff = (female ? 1400.0 : 800.0) + 150.0 * variant;
  const auto seed = static_cast<std::uint32_t>(17 + variant * 31 + (female ? 7 : 0));
  AddBreath(s, 0.0, length * 0.45, 0.25 + 0.06 * variant, cutoff, seed);          // in
  AddBreath(s, length * 0.5, length * 0.45, 0.3 + 0.07 * variant, cutoff * 0.8, seed + 1);  // out
  return s;
}

/// The coach's line: four voice-like notes chosen from the line's name.
Samples CoachLine(const std::string& name) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  constexpr std::array kScale{196.0, 220.0, 247.0, 262.0, 294.0, 330.0, 349.0, 392.0};
  Samples s = Silence(0.95);
  for (int note = 0; note < 4; ++note) {
    const double freq = kScale[(hash >> (note * 3)) & 7];
    AddVoiceNote(s, 0.05 + note * 0.22, 0.19, freq, 0.45);
  }
  return s;
}

Samples Hit() {
  Samples s = Silence(0.45);
  AddPartial(s, 0.0, 1800.0, 0.4, 0.09);
  AddPartial(s, 0.0, 2710.0, 0.25, 0.06);
  AddPartial(s, 0.0, 4050.0, 0.1, 0.03);
  return s;
}

Samples Miss() {
  Samples s = Silence(0.3);
  AddBreath(s, 0.0, 0.12, 0.6, 300.0, 99);
  AddPartial(s, 0.0, 90.0, 0.4, 0.05);
  return s;
}

Samples Click(double length, double secondClick) {
  Samples s = Silence(length);
  AddBreath(s, 0.0, 0.012, 0.9, 5000.0, 5);
  AddPartial(s, 0.0, 600.0, 0.25, 0.01);
  if (secondClick > 0.0) {
    AddBreath(s, secondClick, 0.015, 0.9, 4000.0, 6);
    AddPartial(s, secondClick, 450.0, 0.25, 0.012);
  }
  return s;
}

Samples Reload() {
  Samples s = Click(0.55, 0.35);
  AddBreath(s, 0.08, 0.22, 0.2, 2500.0, 11);  // the bolt sliding
  return s;
}

Samples Beeps(const std::vector<std::pair<double, double>>& notes, double beepLength, double length) {
  Samples s = Silence(length);
  double start = 0.0;
  for (const auto& [freq, gap] : notes) {
    AddVoiceNote(s, start, beepLength, freq, 0.5);
    start += gap;
  }
  return s;
}

Samples Chime() {
  Samples s = Silence(0.9);
  AddPartial(s, 0.0, 523.25, 0.35, 0.25);
  AddPartial(s, 0.12, 659.25, 0.35, 0.25);
  AddPartial(s, 0.24, 783.99, 0.35, 0.3);
  return s;
}

struct SampleWav {
  std::string name;  ///< as the shaders name it, below "data\"
  std::function<Samples()> make;
};

const std::vector<std::string>& CoachLines() {
  static const std::vector<std::string> lines{
      "Trainer_Pos_1", "Trainer_Pos_2", "Trainer_Pos_3", "Trainer_Pos_4_5", "Trainer_Pos_6_9",
      "Trainer_Pos_10_14", "Trainer_Pos_15", "Trainer_Kond_Normal", "Trainer_Kond_Plus_5",
      "Trainer_Kond_Plus_10", "Trainer_Kond_Minus_5", "Trainer_Kond_Minus_10", "Trainer_Freq_Normal",
      "Trainer_Freq_Plus_5", "Trainer_Freq_Plus_10", "Trainer_Freq_Minus_5", "Trainer_Freq_Minus_10",
      "Trainer_Final_Pos_1_Plus_Kond", "Trainer_Final_Pos_1_Minus_Kond", "Trainer_Final_Pos_2_5_Plus_Kond",
      "Trainer_Final_Pos_2_5_Minus_Kond", "Trainer_Final_Pos_6_9_Plus_Kond", "Trainer_Final_Pos_6_9_Minus_Kond",
      "Trainer_Final_Pos_10_14_Plus_Kond", "Trainer_Final_Pos_10_14_Minus_Kond", "Trainer_Final_Pos_15_Plus_Kond",
      "Trainer_Final_Pos_15_Minus_Kond"};
  return lines;
}

std::vector<SampleWav> SampleWavs() {
  std::vector<SampleWav> wavs;
  for (int i = 0; i < 5; ++i) {
    wavs.push_back({"sounds\\body\\srdce_" + std::to_string(i + 1) + ".wav", [i] { return Heartbeat(i); }});
  }
  for (int i = 0; i < 4; ++i) {
    wavs.push_back({"sounds\\body\\dych_muz_" + std::to_string(i + 1) + ".wav", [i] { return Breath(i, false); }});
    wavs.push_back({"sounds\\body\\dych_zena_" + std::to_string(i + 1) + ".wav", [i] { return Breath(i, true); }});
  }
  for (const std::string& line : CoachLines()) {
    wavs.push_back({"sounds\\trainer\\" + line + ".wav", [line] { return CoachLine(line); }});
  }
  wavs.push_back({"sounds\\fx\\hit.wav", Hit});
  wavs.push_back({"sounds\\fx\\miss1.wav", Miss});
  wavs.push_back({"sounds\\fx\\notloaded.wav", [] { return Click(0.2, 0.0); }});
  wavs.push_back({"sounds\\fx\\reload.wav", Reload});
  wavs.push_back({"sounds\\fx\\start_signal.wav", [] { return Beeps({{880.0, 0.0}}, 0.35, 0.4); }});
  wavs.push_back({"sounds\\fx\\start_mass.wav",
                  [] { return Beeps({{660.0, 0.5}, {660.0, 0.5}, {660.0, 0.5}, {990.0, 0.0}}, 0.3, 2.0); }});
  wavs.push_back({"sounds\\menu\\fxtest.wav", Chime});
  wavs.push_back({"sounds\\menu\\click.wav", [] { return Click(0.12, 0.0); }});
  wavs.push_back({"sounds\\menu\\highlight.wav", [] { return Beeps({{1320.0, 0.0}}, 0.05, 0.08); }});
  return wavs;
}

/// The disk path of a wav name below the game root (folders in the name's case).
std::string DiskPath(const std::string& gameRoot, const std::string& wavName) {
  std::string path = gameRoot + "/data/" + wavName;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

std::vector<std::string> SampleWavNames() {
  std::vector<std::string> names;
  for (const SampleWav& wav : SampleWavs()) names.push_back(wav.name);
  return names;
}

bool WriteSoundSamples(const std::string& gameRoot) {
  bool ok = true;
  for (const SampleWav& wav : SampleWavs()) {
    const Samples samples = wav.make();
    ok = WriteWav(DiskPath(gameRoot, wav.name), ToPcm16(samples), 1, kEffectRate) && ok;
  }
  OggSettings settings;
  settings.channels = 2;
  settings.rate = kMusicRate;
  settings.serial = kMusicSerial;
  ok = WriteOggVorbis(gameRoot + "/data/sounds/music.ogg", ComposeMusic(kMusicSeconds, kMusicRate), settings) && ok;
  return ok;
}

}  // namespace tools

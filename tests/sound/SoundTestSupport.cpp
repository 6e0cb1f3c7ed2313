#include "tests/sound/SoundTestSupport.h"

#include "core/CoreServices.h"
#include "tools/OggWriter.h"
#include "tools/WavWriter.h"

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace test {

namespace {

std::vector<float> Tone(double seconds, int channels, int rate) {
  const auto frames = static_cast<std::size_t>(seconds * rate);
  std::vector<float> samples(frames * channels);
  for (std::size_t i = 0; i < frames; ++i) {
    const float v = 0.5f * static_cast<float>(std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate));
    for (int c = 0; c < channels; ++c) samples[i * channels + c] = v;
  }
  return samples;
}

}  // namespace

void WriteToneWav(const std::string& name, double seconds, int rate) {
  std::string path = "data/" + name;
  std::replace(path.begin(), path.end(), '\\', '/');
  tools::WriteWav(path, tools::ToPcm16(Tone(seconds, 1, rate)), 1, rate);
}

void WriteToneOgg(const std::string& path, double seconds, int channels, int rate) {
  tools::OggSettings settings;
  settings.channels = channels;
  settings.rate = rate;
  std::string disk = path;
  std::replace(disk.begin(), disk.end(), '\\', '/');
  tools::WriteOggVorbis(disk, Tone(seconds, channels, rate), settings);
}

const std::vector<std::string>& VorbisSpeakers(int channels) {
  static const std::vector<std::vector<std::string>> kOrders = {
      {"c"},
      {"fl", "fr"},
      {"fl", "c", "fr"},
      {"fl", "fr", "rl", "rr"},
      {"fl", "c", "fr", "rl", "rr"},
      {"fl", "c", "fr", "rl", "rr", "lfe"},
      {"fl", "c", "fr", "sl", "sr", "rc", "lfe"},
      {"fl", "c", "fr", "sl", "sr", "rl", "rr", "lfe"},
  };
  return kOrders.at(static_cast<std::size_t>(channels - 1));
}

void WriteShaders(const std::string& file, const std::string& text) {
  tools::WriteBytes("data/scripts/Sounds/" + file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

int SlotState(const N_SoundMng& manager, int slot) {
  ALint state = 0;
  alGetSourcei(manager.GetSource(slot).source, AL_SOURCE_STATE, &state);
  return state;
}

int SlotOf(const N_SoundMng& manager, int handle) {
  for (int i = 1; i < manager.GetSourceCount(); ++i) {
    if (manager.GetSource(i).handle == handle) return i;
  }
  return -1;
}

float SlotGain(const N_SoundMng& manager, int slot) {
  ALfloat gain = -1.0f;
  alGetSourcef(manager.GetSource(slot).source, AL_GAIN, &gain);
  return gain;
}

void Wait(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

bool WaitUntil(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Wait(0.01);
  }
  return true;
}

SoundEnv::~SoundEnv() { ReleaseSoundMng(&m_manager); }

N_SoundMng& SoundEnv::Start() {
  N_CoreServices block;
  block.errorLog = core.errorLog.get();
  block.log = core.log.get();
  block.varMng = core.vars.get();
  CreateSoundMng(&m_manager, &block);
  return *m_manager;
}

}  // namespace test

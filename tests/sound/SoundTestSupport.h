#pragma once
// Helpers of the sound tests: a temporary game root with shaders and wavs of the
// test's own, and a sound manager made through the factory over the test's services.
#include "sound/SoundMng.h"
#include "tests/support/TestEnv.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace test {

/// Writes a mono 16-bit tone of the given length as data\<name> below the cwd.
void WriteToneWav(const std::string& name, double seconds, int rate = 22050);
/// Writes a generated Ogg Vorbis file (a tone) of the given length below the cwd.
void WriteToneOgg(const std::string& path, double seconds, int channels = 2, int rate = 44100);
/// Vorbis's speaker order for 1..8 channels, as the format defines it: "fl", "fr",
/// "c", "lfe", "rl"/"rr" (rear), "sl"/"sr" (side), "rc" (rear centre).
const std::vector<std::string>& VorbisSpeakers(int channels);
/// Writes a shader script as data/scripts/Sounds/<file>.
void WriteShaders(const std::string& file, const std::string& text);

/// The state (AL_PLAYING, AL_STOPPED, ...) of a slot's source.
int SlotState(const N_SoundMng& manager, int slot);
/// The first slot from 1 whose handle is the given one, or -1.
int SlotOf(const N_SoundMng& manager, int handle);
/// The AL_GAIN of a slot's source.
float SlotGain(const N_SoundMng& manager, int slot);
/// Sleeps for the given seconds (the null output plays in real time).
void Wait(double seconds);
/// Polls the condition every 10 ms until it holds (true) or a fail-safe of two minutes
/// has passed (false).
bool WaitUntil(const std::function<bool()>& condition);

/// A temporary game root with the core services and, after Start, a sound manager.
class SoundEnv {
 public:
  SoundEnv() = default;
  ~SoundEnv();
  SoundEnv(const SoundEnv&) = delete;
  SoundEnv& operator=(const SoundEnv&) = delete;

  /// Makes the manager through CreateSoundMng (after the test wrote its data).
  N_SoundMng& Start();
  N_SoundMng& Mng() { return *m_manager; }
  std::string Log() const { return core.LogText(); }

  TempDir dir;
  CoreServices core{false};

 private:
  N_SoundMng* m_manager = nullptr;
};

}  // namespace test

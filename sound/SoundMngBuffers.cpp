// The sound manager's wav buffers: loaded on first reference, shared by name,
// deleted with the last reference.
#include "sound/SoundMng.h"

#include "platform/win32.h"
#include "sound/SoundModule.h"
#include "sound/WavCheck.h"

#include <AL/al.h>
#include <AL/alut.h>

namespace {

/// freealut's wav loader (deprecated in its header, but the one that takes a file
/// as it stands). Outputs start empty: a null data pointer means the load failed, and
/// `fault` then says why.
struct LoadedWav {
  ALenum format = 0;
  void* data = nullptr;
  ALsizei size = 0;
  ALsizei frequency = 0;
  std::string fault;
};

/// Loads "data\<wav name>"; a file that fails the check is refused before freealut sees
/// it (null data, like a file freealut cannot read).
LoadedWav LoadWav(const std::string& wavName) {
  LoadedWav wav;
  const std::string enginePath = "data\\" + wavName;
  std::string bytes;
  std::string why;
  if (!platform::ReadWholeFile(enginePath, bytes, &why)) {
    wav.fault = why.empty() ? "no such file" : platform::ReasonOf(why);
    return wav;
  }
  if (!IsWholeWavFile(bytes)) {
    wav.fault = "not a whole wav file";
    return wav;
  }
  ALboolean loop = AL_FALSE;  // not used
  std::string path = platform::ResolvePath(enginePath);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  alutLoadWAVFile(reinterpret_cast<ALbyte*>(path.data()), &wav.format, &wav.data, &wav.size, &wav.frequency, &loop);
#pragma GCC diagnostic pop
  if (!wav.data) wav.fault = "not read by the wav loader";
  return wav;
}

void UnloadWav(LoadedWav& wav) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  alutUnloadWAV(wav.format, wav.data, wav.size, wav.frequency);
#pragma GCC diagnostic pop
  wav.data = nullptr;
}

}  // namespace

std::uint32_t N_SoundMng::CreateHWBuffer(const std::string& wavName) {
  if (!m_deviceOpen) return 0;  // silent without a device
  alGetError();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  const ALenum genError = alGetError();
  if (buffer == 0) SoundCritical(0, "meno buffera ==0\n");
  if (genError != AL_NO_ERROR) SoundCritical(0, "N_SoundMng::CreateHWBuffer Unable to create sound buffer\n");

  LoadedWav wav = LoadWav(wavName);
  if (wav.data) {
    alGetError();
    alBufferData(buffer, wav.format, wav.data, wav.size, wav.frequency);
    if (alGetError() != AL_NO_ERROR) wav.fault = "refused by OpenAL";
    UnloadWav(wav);
  }
  if (wav.fault.empty()) return buffer;
  // No sound file is needed to play: a damaged or missing one leaves its sound silent.
  SoundLog("!!! Unable to Buffer sound data for file: %s (%s): the sound stays silent\n", wavName.c_str(),
           wav.fault.c_str());
  alDeleteBuffers(1, &buffer);
  return 0;
}

std::uint32_t N_SoundMng::RegisterWav(const std::string& wavName) {
  const auto it = m_wavBuffers.find(wavName);
  if (it != m_wavBuffers.end()) {
    N_WavBuffer& wav = *it->second;
    if (wav.refCount == 0) wav.buffer = CreateHWBuffer(wavName);
    ++wav.refCount;
    return wav.buffer;
  }
  auto wav = std::make_unique<N_WavBuffer>();
  wav->serial = m_nextWavSerial++;
  wav->buffer = CreateHWBuffer(wavName);
  wav->refCount = 1;
  const std::uint32_t buffer = wav->buffer;
  m_wavBuffers.emplace(wavName, std::move(wav));
  return buffer;
}

int N_SoundMng::UnregisterWav(const std::string& wavName) {
  const auto it = m_wavBuffers.find(wavName);
  if (it == m_wavBuffers.end() || it->second->refCount <= 0) {
    SoundReportBox(0, "Unregistering not registered wav name\n");
    return -1;
  }
  N_WavBuffer& wav = *it->second;
  if (wav.refCount-- == 1) {
    DeleteBuffer(wav.buffer);
    wav.buffer = 0;
  }
  return 0;
}

void N_SoundMng::DeleteBuffer(std::uint32_t buffer) {
  if (buffer == 0 || !m_deviceOpen) return;
  alGetError();
  alDeleteBuffers(1, &buffer);
  if (alGetError() != AL_NO_ERROR) SoundCritical(0, "Unable to delete sound buffer\n");
}

void N_SoundMng::DumpBufferStatistics() {
  const std::string rule(134, '-');
  SoundLog("\nSoundMng::DumpBufferStatistics\n");
  SoundLog("%s\n", rule.c_str());
  SoundLog("%64s\t|%9s |%9s |%9s |%9s |%9s \n", "Shader name", "size", "freq", "bits", "channels", "refc");
  SoundLog("%s\n", rule.c_str());
  int total = 0;
  for (const auto& [name, wav] : m_wavBuffers) {
    if (wav->buffer == 0) continue;
    ALint size = 0, frequency = 0, bits = 0, channels = 0;
    alGetError();
    alGetBufferi(wav->buffer, AL_SIZE, &size);
    alGetBufferi(wav->buffer, AL_FREQUENCY, &frequency);
    alGetBufferi(wav->buffer, AL_BITS, &bits);
    alGetBufferi(wav->buffer, AL_CHANNELS, &channels);
    if (alGetError() != AL_NO_ERROR) SoundCritical(0, "chyba pri ziskavani infa o buffery!\n");
    SoundLog("%64s\t|%9d |%9d |%9d |%9d |%9d\n", name.c_str(), size, frequency, bits, channels, wav->refCount);
    total += size;
  }
  SoundLog("%s\n", rule.c_str());
  SoundLog("Celkova velkost: %d\n\n", total);
}

#include "sound/SoundMng.h"

#include "sound/SoundModule.h"

#include <AL/al.h>
#include <AL/alc.h>

namespace {

/// Stores a record in the first free entry when the free counter says there is one,
/// else appends it. The index, or -1 when the counter promised a free entry in vain.
template <class T>
int StoreRecord(std::vector<std::unique_ptr<T>>& records, std::int32_t& freeCount, std::unique_ptr<T> record) {
  if (freeCount > 0) {
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (!records[i]) {
        records[i] = std::move(record);
        --freeCount;
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  records.push_back(std::move(record));
  return static_cast<int>(records.size()) - 1;
}

}  // namespace

N_SoundMng::N_SoundMng() {
  m_categories.fill(kCategoryOn);
  Init();  // without a device the manager runs silent; the factory logs that
  m_shaders.LoadAll(kShaderMask);
}

N_SoundMng::~N_SoundMng() {
  if (!m_deviceOpen) return;
  // Sources first (that detaches every buffer), then the buffers, then the context:
  // closing the device is what completes an output such as a wave file.
  ReleaseMusic();
  DeleteSources();
  for (auto& [name, wav] : m_wavBuffers) {
    if (wav->buffer != 0) alDeleteBuffers(1, &wav->buffer);
    wav->buffer = 0;
  }
  Shutdown();
}

bool N_SoundMng::Init() {
  // The default device: the name the game once asked for means nothing here.
  ALCdevice* device = alcOpenDevice(nullptr);
  ALCcontext* context = device ? alcCreateContext(device, nullptr) : nullptr;
  const bool current = context && alcMakeContextCurrent(context);
  if (!current || alcGetError(device) != ALC_NO_ERROR) {
    if (current) alcMakeContextCurrent(nullptr);
    if (context) alcDestroyContext(context);
    if (device) alcCloseDevice(device);
    m_deviceOpen = false;
    return false;
  }
  m_deviceOpen = true;

  alGetError();
  const float zero[3] = {0.0f, 0.0f, 0.0f};
  std::copy(zero, zero + 3, m_listenerPosition);
  std::copy(zero, zero + 3, m_listenerVelocity);
  m_listenerForward[0] = 0.0f, m_listenerForward[1] = 1.0f, m_listenerForward[2] = 0.0f;
  m_listenerUp[0] = 1.0f, m_listenerUp[1] = 0.0f, m_listenerUp[2] = 0.0f;
  const float orientation[6] = {m_listenerForward[0], m_listenerForward[1], m_listenerForward[2],
                                m_listenerUp[0],      m_listenerUp[1],      m_listenerUp[2]};
  alListenerfv(AL_POSITION, m_listenerPosition);
  alListenerfv(AL_VELOCITY, m_listenerVelocity);
  alListenerfv(AL_ORIENTATION, orientation);
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  GenerateSources();
  return true;
}

void N_SoundMng::Shutdown() {
  DeleteSources();
  m_deviceOpen = false;
  ALCcontext* context = alcGetCurrentContext();
  if (!context) return;
  ALCdevice* device = alcGetContextsDevice(context);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  if (device) alcCloseDevice(device);
}

void N_SoundMng::GenerateSources() {
  alGetError();
  while (m_sourceCount < kMaxSources) {
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) break;  // fewer sources are accepted silently
    N_SoundSource& slot = m_sources[m_sourceCount++];
    slot.source = source;
    slot.handle = 0;
    slot.priority = N_SoundSource::kFreePriority;
  }
}

void N_SoundMng::DeleteSources() {
  if (m_sourceCount == 0) return;
  alGetError();
  for (int i = 0; i < m_sourceCount; ++i) {
    alDeleteSources(1, &m_sources[i].source);
    if (alGetError() != AL_NO_ERROR) SoundCritical(0, "Error during releasing sound sources\n");
  }
  m_sourceCount = 0;  // nothing may touch the deleted names again
}

int N_SoundMng::CreateSound(const char* shaderName, const float* position) {
  if (!shaderName) return 0;
  if (!position) return LoadShaderSounds(shaderName);
  m_orderDirty = 1;
  auto instance = std::make_unique<N_SoundInstance>();
  const N_SoundShader* shader = FindShader(shaderName);
  for (const std::string& wav : shader->wavNames) instance->buffers.push_back(RegisterWav(wav));
  instance->shader = shader;
  instance->volume = shader->volume;
  instance->loop = shader->loop;
  instance->frequency = shader->frequency;
  instance->minDistance = shader->minDistance;
  instance->maxDistance = shader->maxDistance;
  instance->headRelative = shader->headRelative;
  std::copy(position, position + 3, instance->position);
  instance->priority = N_SoundSource::kFreePriority;
  instance->rolloff = 1.0f;
  N_SoundInstance* stored = instance.get();
  const int index = StoreRecord(m_instances, m_freeInstances, std::move(instance));
  if (index < 0) return 0;
  stored->handle = index + 1;
  return stored->handle;
}

int N_SoundMng::LoadShaderSounds(const char* shaderName) {
  if (!shaderName) return 0;
  const N_SoundShader* shader = FindShader(shaderName);
  auto sound = std::make_unique<N_PlainSound>();
  sound->variant = -1;
  for (const std::string& wav : shader->wavNames) sound->buffers.push_back(RegisterWav(wav));
  sound->shader = shader;
  const int index = StoreRecord(m_plainSounds, m_freePlainSounds, std::move(sound));
  return index < 0 ? 0 : -(index + 1);
}

const N_SoundShader* N_SoundMng::FindShader(const char* shaderName) {
  if (const N_SoundShader* shader = m_shaders.FindShader(shaderName)) return shader;
  // A shader script that is missing or damaged: its sounds are made without a wav (and
  // so stay silent), the name said once.
  auto& silent = m_silentShaders[shaderName];
  if (!silent) {
    SoundLog("!!! Sound shader '%s' is in no sound shader script of data\\%s: the sound stays silent\n", shaderName,
             kShaderMask);
    silent = std::make_unique<N_SoundShader>();
  }
  return silent.get();
}

bool N_SoundMng::ReleaseSound(int handle) {
  const N_SoundShader* shader = ShaderOf(handle);
  if (!shader) return false;  // not a live record
  // Every slot still naming the handle is renewed: the handle is reused by the next
  // record, and a buffer still attached to a source could not be deleted.
  while (FindSlot(handle, false) >= 0) RenewSource(handle);
  for (const std::string& wav : shader->wavNames) UnregisterWav(wav);
  if (handle > 0) {
    m_instances[handle - 1].reset();
    ++m_freeInstances;
  } else {
    m_plainSounds[-handle - 1].reset();
    ++m_freePlainSounds;
  }
  m_orderDirty = 1;
  return false;
}

int N_SoundMng::Play(int handle) {
  if (N_SoundInstance* instance = FindInstance(handle)) {
    if (IsCategoryEnabled(instance->shader->category)) instance->playFlag = 1;
    return 0;
  }
  N_PlainSound* sound = FindPlain(handle);
  if (!sound || !m_deviceOpen) return 0;
  if (IsPlaying(handle)) return 1;  // not restarted
  const N_SoundShader& shader = *sound->shader;
  if (!IsCategoryEnabled(shader.category) || !HasBuffer(sound->buffers)) return 0;
  const std::uint32_t slot = AllocateSource(1.0f);
  if (slot == kNoSlot) return 0;

  const ALuint source = m_sources[slot].source;
  const ALfloat zero[3] = {0.0f, 0.0f, 0.0f};
  alSourcei(source, AL_BUFFER, static_cast<ALint>(sound->buffers[ChooseBuffer(sound->buffers, sound->variant)]));
  alSourcef(source, AL_PITCH, shader.frequency);
  SetGain(source, shader.category == SoundCategory::kMenu ? 1.0f : m_fxVolume * shader.volume);
  alSourcefv(source, AL_POSITION, zero);
  alSourcefv(source, AL_VELOCITY, zero);
  alSourcei(source, AL_LOOPING, AL_FALSE);
  alSourcef(source, AL_MAX_DISTANCE, 2.0f);
  alSourcef(source, AL_REFERENCE_DISTANCE, 1.0f);
  alSourcef(source, AL_MIN_GAIN, 0.0f);
  alSourcef(source, AL_MAX_GAIN, 1.0f);
  alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  alSourcePlay(source);

  N_SoundSource& entry = m_sources[slot];
  entry.priority = 1.0f;
  entry.handle = handle;
  entry.category = shader.category;
  entry.gain = shader.volume;
  return 1;
}

void N_SoundMng::Stop(int handle) {
  if (N_SoundInstance* instance = FindInstance(handle)) instance->playFlag = 0;
  StopSource(handle);
}

bool N_SoundMng::IsPlaying(int handle) {
  if (m_sourceCount < 2) return false;
  const int slot = FindSlot(handle, false);
  if (slot < 0) return false;
  ALint state = 0;
  alGetSourcei(m_sources[slot].source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

void N_SoundMng::StopSource(int handle) {
  const int slot = FindSlot(handle, true);
  if (slot >= 0) FreeSlot(slot);
}

void N_SoundMng::RenewSource(int handle) {
  const int slot = FindSlot(handle, false);
  if (slot >= 0) FreeSlot(slot);
}

void N_SoundMng::FreeSlot(int slot) {
  // A fresh source name: nothing of the old sound's settings stays on it.
  N_SoundSource& entry = m_sources[slot];
  alSourceStop(entry.source);
  alSourcei(entry.source, AL_BUFFER, 0);
  alDeleteSources(1, &entry.source);
  alGenSources(1, &entry.source);
  entry.priority = N_SoundSource::kFreePriority;
  entry.handle = 0;
}

int N_SoundMng::SetPosition(int handle, float x, float y, float z) {
  N_SoundInstance* instance = FindInstance(handle);
  if (!instance) return 0;
  instance->position[0] = x, instance->position[1] = y, instance->position[2] = z;
  return 1;
}

int N_SoundMng::SetSoundParams(int handle, float x, float y, float z, float volume, int variant) {
  if (N_SoundInstance* instance = FindInstance(handle)) {
    instance->position[0] = x, instance->position[1] = y, instance->position[2] = z;
    instance->volume = volume;
    instance->variant = variant;
    return 1;
  }
  if (N_PlainSound* sound = FindPlain(handle)) sound->variant = variant;
  return 0;
}

int N_SoundMng::GetVariantCount(int handle) {
  if (const N_SoundInstance* instance = FindInstance(handle)) return static_cast<int>(instance->buffers.size());
  if (const N_PlainSound* sound = FindPlain(handle)) return static_cast<int>(sound->buffers.size());
  return 0;
}

void N_SoundMng::SetMusicVolume(float volume) {
  m_musicVolume = volume;
  for (int i = 0; i < m_sourceCount; ++i) {
    if (SlotIsBusy(i) && m_sources[i].category == SoundCategory::kMusic) {
      SetGain(m_sources[i].source, m_sources[i].gain * volume);
    }
  }
}

void N_SoundMng::SetFXVolume(float volume) {
  m_fxVolume = volume;
  for (int i = 0; i < m_sourceCount; ++i) {
    if (SlotIsBusy(i) && m_sources[i].category != SoundCategory::kMusic) {
      SetGain(m_sources[i].source, m_sources[i].gain * volume);
    }
  }
}

float N_SoundMng::GetMusicVolume() { return m_musicVolume; }
float N_SoundMng::GetFXVolume() { return m_fxVolume; }

void N_SoundMng::SetCategoryEnabled(int category, std::uint32_t value) {
  if (category < 0 || category >= SoundCategory::kCount) {
    SoundCritical(0, "ziadost o zapnutie neexistujucej kategorie zvuku!\n");
  }
  m_categories[category] = value;
  if (value != 0) return;
  for (int i = 0; i < m_sourceCount; ++i) {
    N_SoundSource& entry = m_sources[i];
    if (!SlotIsBusy(i) || entry.category != category) continue;
    if (category == SoundCategory::kMusic) {
      ReleaseMusic();
      entry.category = SoundCategory::kEnvironment;
    } else {
      alSourceStop(entry.source);
      alSourcei(entry.source, AL_BUFFER, 0);
    }
    entry.priority = N_SoundSource::kFreePriority;
    entry.handle = 0;
  }
}

std::uint32_t N_SoundMng::IsCategoryEnabled(int category) {
  if (category < 0 || category >= SoundCategory::kCount) {
    SoundCritical(0, "ziadost o zistenie statusu neexistujucej kategorie zvuku!\n");
  }
  return m_categories[category];
}

void N_SoundMng::SetListener(const float* position, const float* forward, const float* /*velocity*/) {
  std::copy(position, position + 3, m_listenerPosition);
  std::copy(forward, forward + 3, m_listenerForward);
  m_listenerVelocity[0] = m_listenerVelocity[1] = m_listenerVelocity[2] = 0.0f;
  // +Z is the world's up: right = forward x Z, up = right x forward (not normalised).
  const float right[3] = {forward[1], -forward[0], 0.0f};
  m_listenerUp[0] = right[1] * forward[2] - right[2] * forward[1];
  m_listenerUp[1] = right[2] * forward[0] - right[0] * forward[2];
  m_listenerUp[2] = right[0] * forward[1] - right[1] * forward[0];
  if (!m_deviceOpen) return;
  const float heard[3] = {position[0], position[1], position[2] + 10.0f};
  const float orientation[6] = {forward[0], forward[1], forward[2], m_listenerUp[0], m_listenerUp[1], m_listenerUp[2]};
  alListenerfv(AL_POSITION, heard);
  alListenerfv(AL_VELOCITY, m_listenerVelocity);
  alListenerfv(AL_ORIENTATION, orientation);
}

std::uint32_t N_SoundMng::ResetSource(std::uint32_t slot) {
  if (slot >= static_cast<std::uint32_t>(m_sourceCount)) return kNoSlot;
  N_SoundSource& entry = m_sources[slot];
  entry.gain = 1.0f;
  entry.priority = 0.0f;
  entry.category = SoundCategory::kMusic;
  return entry.source;
}

const N_SoundInstance* N_SoundMng::GetInstance(int handle) const { return FindInstance(handle); }

N_SoundInstance* N_SoundMng::FindInstance(int handle) const {
  if (handle <= 0 || handle > static_cast<int>(m_instances.size())) return nullptr;
  return m_instances[handle - 1].get();
}

N_PlainSound* N_SoundMng::FindPlain(int handle) const {
  if (handle >= 0 || -handle > static_cast<int>(m_plainSounds.size())) return nullptr;
  return m_plainSounds[-handle - 1].get();
}

const N_SoundShader* N_SoundMng::ShaderOf(int handle) const {
  if (const N_SoundInstance* instance = FindInstance(handle)) return instance->shader;
  if (const N_PlainSound* sound = FindPlain(handle)) return sound->shader;
  return nullptr;
}

int N_SoundMng::FindSlot(int handle, bool playingOnly) const {
  for (int i = 1; i < m_sourceCount; ++i) {
    if (m_sources[i].handle != handle) continue;
    if (!playingOnly) return i;
    ALint state = 0;
    alGetSourcei(m_sources[i].source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) return i;
  }
  return -1;
}

bool N_SoundMng::SlotIsBusy(int slot) const {
  ALint state = 0;
  alGetSourcei(m_sources[slot].source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING || state == AL_PAUSED;
}

bool N_SoundMng::SlotHasEnded(int slot) const {
  ALint state = 0;
  alGetSourcei(m_sources[slot].source, AL_SOURCE_STATE, &state);
  return state == AL_INITIAL || state == AL_STOPPED;
}

void N_SoundMng::SetGain(std::uint32_t source, float gain) {
  // OpenAL rejects a negative gain and would keep the old one.
  alSourcef(source, AL_GAIN, gain < 0.0f ? 0.0f : (gain > 1.0f ? 1.0f : gain));
}

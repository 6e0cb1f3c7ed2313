// The sound manager's per-frame pass and the choice of sources.
#include "sound/SoundMng.h"

#include "core/Random.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>

namespace {

float Distance(const float* a, const float* b) {
  const float dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

void N_SoundMng::Update() {
  if (!m_deviceOpen) return;
  KeepMusicAlive();
  UpdatePriorities();
  FreeEndedSources();
  if (m_instances.size() == static_cast<std::size_t>(m_freeInstances)) return;  // no positional sounds
  if (m_orderDirty) {
    m_priorityOrder.clear();
    for (const auto& instance : m_instances) {
      if (instance) m_priorityOrder.push_back(instance.get());
    }
    m_orderDirty = 0;
  }
  std::stable_sort(m_priorityOrder.begin(), m_priorityOrder.end(), ComparePriority);
  WalkInstances();
}

bool N_SoundMng::ComparePriority(const N_SoundInstance* a, const N_SoundInstance* b) {
  return a->priority < b->priority;
}

void N_SoundMng::UpdatePriorities() {
  for (const auto& instance : m_instances) {
    if (!instance) continue;
    const float d = Distance(m_listenerPosition, instance->position);
    instance->priority =
        ((d - instance->minDistance) / instance->minDistance) / instance->rolloff * instance->volume;
  }
}

void N_SoundMng::FreeEndedSources() {
  for (int i = 0; i < m_sourceCount; ++i) {
    N_SoundSource& entry = m_sources[i];
    if (entry.handle == 0 || entry.category == SoundCategory::kMusic || !SlotHasEnded(i)) continue;
    if (N_SoundInstance* instance = FindInstance(entry.handle)) instance->playFlag = 0;
    alSourcei(entry.source, AL_BUFFER, 0);
    entry.priority = N_SoundSource::kFreePriority;
    entry.handle = 0;
  }
}

void N_SoundMng::WalkInstances() {
  for (N_SoundInstance* instance : m_priorityOrder) {
    if (IsPlaying(instance->handle)) {
      if (instance->priority > kStopPriority) Stop(instance->handle);
      UpdateSourcePosition(instance->handle);
      continue;
    }
    // The play flag is not consulted: near enough and in a category that is on starts it.
    if (instance->priority > kStartPriority || !IsCategoryEnabled(instance->shader->category)) continue;
    if (!HasBuffer(instance->buffers)) continue;  // no wav, or none that could be buffered
    const std::uint32_t slot = AllocateSource(instance->priority);
    if (slot == kNoSlot) return;  // no source for this one: none for the farther ones
    StartInstance(*instance, slot);
  }
}

bool N_SoundMng::HasBuffer(const std::vector<std::uint32_t>& buffers) {
  return std::any_of(buffers.begin(), buffers.end(), [](std::uint32_t buffer) { return buffer != 0; });
}

void N_SoundMng::StartInstance(N_SoundInstance& instance, std::uint32_t slot) {
  const N_SoundShader& shader = *instance.shader;
  const ALuint source = m_sources[slot].source;
  alSourcei(source, AL_BUFFER, static_cast<ALint>(instance.buffers[ChooseBuffer(instance.buffers, instance.variant)]));
  alSourcef(source, AL_PITCH, shader.frequency);
  SetGain(source, instance.volume * m_fxVolume);
  alSourcefv(source, AL_POSITION, instance.position);
  alSourcefv(source, AL_VELOCITY, instance.velocity);
  alSourcei(source, AL_LOOPING, shader.loop == -1 ? AL_TRUE : AL_FALSE);
  alSourcef(source, AL_MAX_DISTANCE, shader.maxDistance);
  alSourcef(source, AL_REFERENCE_DISTANCE, shader.minDistance);
  alSourcef(source, AL_MIN_GAIN, 0.0f);
  alSourcef(source, AL_MAX_GAIN, 1.0f);
  alSourcef(source, AL_ROLLOFF_FACTOR, instance.rolloff);
  alSourcei(source, AL_SOURCE_RELATIVE, instance.headRelative ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);

  N_SoundSource& entry = m_sources[slot];
  entry.priority = instance.priority;
  entry.handle = instance.handle;
  entry.category = shader.category;
  entry.gain = shader.volume;
}

int N_SoundMng::ChooseBuffer(const std::vector<std::uint32_t>& buffers, int variant) {
  const int count = static_cast<int>(buffers.size());
  int choice = variant == -1 ? Rand() % count : variant;
  if (choice >= count) choice = count - 1;
  if (choice < 0) choice = 0;  // another negative variant would index before the first
  return choice;
}

std::uint32_t N_SoundMng::AllocateSource(float /*priority*/) {
  int best = -1;
  for (int i = 1; i < m_sourceCount; ++i) {  // slot 0 is the music's
    if (SlotHasEnded(i)) return static_cast<std::uint32_t>(i);
    const float priority = m_sources[i].priority;
    if (priority > 0.0f && (best < 0 || priority > m_sources[best].priority)) best = i;
  }
  if (best < 0) return kNoSlot;
  SetGain(m_sources[best].source, 0.0f);
  alSourceStop(m_sources[best].source);
  return static_cast<std::uint32_t>(best);
}

bool N_SoundMng::UpdateSourcePosition(int handle) {
  const N_SoundInstance* instance = FindInstance(handle);
  if (!instance) return false;
  for (int i = 0; i < m_sourceCount; ++i) {
    if (m_sources[i].handle == handle) {
      alSourcefv(m_sources[i].source, AL_POSITION, instance->position);
      return true;
    }
  }
  return false;
}

#include "scene/AnimSound.h"

#include "scene/SceneHelpers.h"
#include "sound/SoundMng.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRestingPulse = 50.0f;
constexpr float kMaxPulse = 190.0f;
constexpr float kPulseRange = kMaxPulse - kRestingPulse;
constexpr float kPulseShare = 0.333f;
constexpr float kFatigueShare = 0.666f;
constexpr float kBreathVolume = 0.1f;
constexpr float kQuietestHeartbeat = 0.2f;

/// value x count truncated, within 0..count - 1 (0 for a count below 1 and for NaN).
int Variant(double value, int count) {
  const double raw = value * count;
  if (raw >= count - 1) return std::max(count - 1, 0);
  return raw > 0.0 ? static_cast<int>(raw) : 0;
}

}  // namespace

N_AnimSound::N_AnimSound() {
  if (g_soundMng) m_heartbeat = g_soundMng->CreateSound("srdce", nullptr);
}

N_AnimSound::~N_AnimSound() {
  if (!g_soundMng) return;
  for (int i = 0; i < kSlots; ++i) ReleaseSoundObj(i);
  if (m_heartbeat != 0) g_soundMng->ReleaseSound(m_heartbeat);
  m_heartbeat = 0;
}

const N_AnimSound::Slot* N_AnimSound::GetSlot(int slot) const {
  return slot >= 0 && slot < kSlots ? &m_slots[static_cast<std::size_t>(slot)] : nullptr;
}

int N_AnimSound::CreateSoundObj(int female) {
  const auto free = std::find_if(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.state == 0; });
  if (free == m_slots.end()) {
    SceneCritical(0, "N_AnimSound::CreateSoundObj: prilis velky pocet objektov -> %d <-", kSlots);
  }
  const float parked[3] = {kParked, kParked, kParked};
  free->sound = g_soundMng ? g_soundMng->CreateSound(female == 0 ? "dych_muz" : "dych_zena", parked) : 0;
  free->state = 1;
  return static_cast<int>(free - m_slots.begin());
}

void N_AnimSound::ReleaseSoundObj(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  Slot& s = m_slots[static_cast<std::size_t>(slot)];
  if (s.state != 1) return;
  if (g_soundMng) g_soundMng->ReleaseSound(s.sound);
  s.sound = 0;
  s.state = 0;
}

void N_AnimSound::UpdateBreath(int slot, float x, float y, float z, float condition, float pulse) {
  if (slot < 0 || slot >= kSlots) return;
  Slot& s = m_slots[static_cast<std::size_t>(slot)];
  if (s.state != 1) return;
  s.condition = condition;
  s.pulse = pulse;
  s.position[0] = x;
  s.position[1] = y;
  s.position[2] = z;
  if (!g_soundMng) return;
  const int variants = g_soundMng->GetVariantCount(s.sound);
  const float v = (pulse - kRestingPulse) * (1.0f / kPulseRange) * kPulseShare + (1.0f - condition) * kFatigueShare;
  // Below a pulse of 50 a fresh racer's value is negative: a negative gain is refused
  // by the audio layer and would rank the sound below every free source.
  const float volume = v * kBreathVolume > 0.0f ? v * kBreathVolume : 0.0f;
  g_soundMng->SetSoundParams(s.sound, x, y, z, volume, Variant(v, variants));
}

void N_AnimSound::PlayHeartbeat(float rate) {
  rate = std::isnan(rate) ? kRestingPulse : std::clamp(rate, kRestingPulse, kMaxPulse);
  if (!g_soundMng) return;
  const int variants = g_soundMng->GetVariantCount(m_heartbeat);
  const float share = (rate - kRestingPulse) / kPulseRange;
  g_soundMng->SetSoundParams(m_heartbeat, 0.0f, 0.0f, 0.0f, std::max(share, kQuietestHeartbeat),
                             Variant(share, variants));
  g_soundMng->Play(m_heartbeat);
}

void N_AnimSound::StopHeartbeat() {
  if (g_soundMng) g_soundMng->Stop(m_heartbeat);
}

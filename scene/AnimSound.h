#pragma once
// N_AnimSound: the skiers' body sounds. Every racer gets a breathing sound (a slot of
// 90) whose sample and loudness follow its pulse and condition; the shooting range has
// one heartbeat. Owned by the world (created with it, deleted before the sound manager
// goes); the race takes a slot per racer, updates it every step and releases it.
// Sounds are made and driven through g_soundMng; without one every call does nothing.
#include <array>
#include <cstdint>

class N_AnimSound {
 public:
  static constexpr int kSlots = 90;
  /// Where a new breathing sound waits until its first update: far from every listener.
  static constexpr float kParked = 10000.0f;

  struct Slot {
    std::int32_t state = 0;  ///< 0 free, 1 in use
    int sound = 0;           ///< the sound manager's handle
    float condition = 1.0f;  ///< 1 fresh, 0 spent
    float pulse = 50.0f;
    float position[3] = {};
  };

  /// Every slot free; the heartbeat made from the sound shader "srdce".
  N_AnimSound();
  /// Releases the heartbeat and every breathing sound still in use.
  ~N_AnimSound();
  N_AnimSound(const N_AnimSound&) = delete;
  N_AnimSound& operator=(const N_AnimSound&) = delete;

  /// The lowest free slot with a new breathing sound ("dych_muz", or "dych_zena" when
  /// female is not 0) parked at (10000, 10000, 10000). All 90 in use is a critical error.
  int CreateSoundObj(int female);
  /// Releases a used slot's sound and frees it; a free or unknown slot is left alone.
  void ReleaseSoundObj(int slot);
  /// Places a used slot's sound and picks its sample and volume: the value
  /// v = (pulse - 50) / 140 x 0.333 + (1 - condition) x 0.666 chooses the variant
  /// (v x variants, within the shader's variants) and gives the volume v x 0.1, at
  /// least 0.
  void UpdateBreath(int slot, float x, float y, float z, float condition, float pulse);
  /// The heart rate limited to 50..190 picks the variant ((rate - 50) x variants / 140)
  /// and the volume ((rate - 50) / 140, at least 0.2); then the heartbeat plays.
  void PlayHeartbeat(float rate);
  void StopHeartbeat();

  int Heartbeat() const { return m_heartbeat; }
  /// The slot's record; null for an index outside 0..89.
  const Slot* GetSlot(int slot) const;

 private:
  int m_heartbeat = 0;
  std::array<Slot, kSlots> m_slots{};
};

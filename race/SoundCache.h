#pragma once
// N_SoundCache: the race's fixed sounds, registered once by their sound-shader names and
// played by a small id: the coach's spoken comments (0 to 26) and a few effects (27 hit,
// 28 miss, 29 not loaded, 30 reload, 31 and 32 the start signals, 33 the effects-volume
// test of the sound settings). The world root makes it with itself and, as it goes,
// releases the sounds (Unregister) before deleting it.
//
// The four comment operations log their inputs, choose one sentence from a ladder of
// single-precision limits around an optimum and play it, logging its name: position
// (PlayCoTrener1), condition for this point of the race (2), heart rate against the
// athlete's optimum pulse (3) and the finishing position with the condition (4).
#include <array>
#include <cstdint>

class N_SoundCache {
 public:
  static constexpr int kSoundCount = 34;
  /// The highest position the position ladders know.
  static constexpr int kLastPosition = 15;
  /// The sound-shader names, by id.
  static constexpr std::array<const char*, kSoundCount> kSoundNames = {
      "Trainer_Pos_1",
      "Trainer_Pos_2",
      "Trainer_Pos_3",
      "Trainer_Pos_4_5",
      "Trainer_Pos_6_9",
      "Trainer_Pos_10_14",
      "Trainer_Pos_15",
      "Trainer_Kond_Normal",
      "Trainer_Kond_Plus_5",
      "Trainer_Kond_Plus_10",
      "Trainer_Kond_Minus_5",
      "Trainer_Kond_Minus_10",
      "Trainer_Freq_Normal",
      "Trainer_Freq_Plus_5",
      "Trainer_Freq_Plus_10",
      "Trainer_Freq_Minus_5",
      "Trainer_Freq_Minus_10",
      "Trainer_Final_Pos_1_Plus_Kond",
      "Trainer_Final_Pos_1_Minus_Kond",
      "Trainer_Final_Pos_2_5_Plus_Kond",
      "Trainer_Final_Pos_2_5_Minus_Kond",
      "Trainer_Final_Pos_6_9_Plus_Kond",
      "Trainer_Final_Pos_6_9_Minus_Kond",
      "Trainer_Final_Pos_10_14_Plus_Kond",
      "Trainer_Final_Pos_10_14_Minus_Kond",
      "Trainer_Final_Pos_15_Plus_Kond",
      "Trainer_Final_Pos_15_Minus_Kond",
      "hit",
      "miss1",
      "notloaded",
      "reload",
      "sound_start_signal",
      "sound_start_mass",
      "fxtest",
  };

  /// The ids of a ladder: normal, +10 %, -10 %, +5 %, -5 %.
  struct Ladder {
    int normal, plus10, minus10, plus5, minus5;
  };

  /// Creates the 34 sounds in id order (nothing without a sound manager).
  N_SoundCache();
  N_SoundCache(const N_SoundCache&) = delete;
  N_SoundCache& operator=(const N_SoundCache&) = delete;

  /// Releases the sounds made by the constructor; once (a second call does nothing).
  void Unregister();
  /// Plays sound `id`; an id outside 0..33 shows the error box and plays nothing.
  void Play(std::int32_t id);

  /// The comment on the current position 1..15 (another shows the error box).
  void PlayCoTrener1(std::int32_t position);
  /// The comment on the condition against 1 - 0.6666 (lap / laps)^2.
  void PlayCoTrener2(std::int32_t totalLaps, std::int32_t lap, float condition);
  /// The comment on the heart rate against (pulse x 1.5 + maximum) / 2.
  void PlayCoTrener3(float heartRate, float profilePulse, float maximum);
  /// The final comment by finishing-position class and condition.
  void PlayCoTrener4(std::int32_t position, std::int32_t totalLaps, std::int32_t lap, float condition);

  /// The sound manager's handle of sound `id` (0 while unregistered).
  int Handle(int id) const { return id >= 0 && id < kSoundCount ? m_handles[std::size_t(id)] : 0; }

 private:
  /// Plays the sound and writes its name as a log line.
  void PlayNamed(int id);
  /// Plays the ladder's sound for value against the optimum and one percent of it;
  /// between 4 % and 5 % off nothing plays.
  void PlayLadder(const Ladder& ladder, float value, float optimum, float percent);

  std::array<int, kSoundCount> m_handles{};
  bool m_registered = false;
};

#include "race/SoundCache.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "sound/SoundMng.h"

namespace {

constexpr N_SoundCache::Ladder kConditionLadder{7, 9, 11, 8, 10};
constexpr N_SoundCache::Ladder kPulseLadder{12, 14, 16, 13, 15};

/// The optimum share of the condition after lap of laps (single precision, as the
/// limits are given).
float ConditionOptimum(std::int32_t totalLaps, std::int32_t lap) {
  const float r = static_cast<float>(lap) / static_cast<float>(totalLaps);
  return 1.0f - 0.6666f * r * r;
}

}  // namespace

N_SoundCache::N_SoundCache() {
  if (!g_soundMng) return;
  for (int id = 0; id < kSoundCount; ++id) m_handles[std::size_t(id)] = g_soundMng->CreateSound(kSoundNames[std::size_t(id)], nullptr);
  m_registered = true;
}

void N_SoundCache::Unregister() {
  if (!m_registered) return;
  m_registered = false;
  for (int& handle : m_handles) {
    if (g_soundMng) g_soundMng->ReleaseSound(handle);
    handle = 0;
  }
}

void N_SoundCache::Play(std::int32_t id) {
  if (id < 0 || id >= kSoundCount) {
    if (g_errorLog)
      g_errorLog->ReportBox(0, "N_SoundCache::Play: Poziadavka na prehranie neresistrovaneho zvuku %d/%d", id, kSoundCount);
    return;
  }
  if (g_soundMng && m_registered) g_soundMng->Play(m_handles[std::size_t(id)]);
}

void N_SoundCache::PlayNamed(int id) {
  Play(id);
  if (g_log) g_log->Print("%s\n", kSoundNames[std::size_t(id)]);
}

void N_SoundCache::PlayLadder(const Ladder& ladder, float value, float optimum, float percent) {
  if (value >= optimum - 4.0f * percent && value <= optimum + 4.0f * percent) {
    PlayNamed(ladder.normal);
  } else if (value > optimum + 10.0f * percent) {
    PlayNamed(ladder.plus10);
  } else if (value < optimum - 10.0f * percent) {
    PlayNamed(ladder.minus10);
  } else if (value > optimum + 5.0f * percent) {
    PlayNamed(ladder.plus5);
  } else if (value < optimum - 5.0f * percent) {
    PlayNamed(ladder.minus5);
  }
  // Between 4 % and 5 % off the optimum the coach says nothing.
}

void N_SoundCache::PlayCoTrener1(std::int32_t position) {
  if (g_log) g_log->Print("trener1 pos: %d\n", position);
  int id = -1;
  if (position == 1) id = 0;
  else if (position == 2) id = 1;
  else if (position == 3) id = 2;
  else if (position >= 4 && position <= 5) id = 3;
  else if (position >= 6 && position <= 9) id = 4;
  else if (position >= 10 && position <= 14) id = 5;
  else if (position == kLastPosition) id = 6;
  if (id < 0) {
    if (g_errorLog) g_errorLog->ReportBox(0, "N_SoundCache::PlayCoTrener1 mimo rozsah %d/%d", position, kLastPosition);
    return;
  }
  PlayNamed(id);
}

void N_SoundCache::PlayCoTrener2(std::int32_t totalLaps, std::int32_t lap, float condition) {
  if (g_log) g_log->Print("trener2 celkovo_kol: %d, akt. kolo: %d, akt_kond: %3.4f\n", totalLaps, lap, double(condition));
  const float optimum = ConditionOptimum(totalLaps, lap);
  const float percent = optimum * 0.01f;
  if (g_log) g_log->Print("opt kond: %3.4f, perc: %3.4f", double(optimum), double(percent));
  PlayLadder(kConditionLadder, condition, optimum, percent);
}

void N_SoundCache::PlayCoTrener3(float heartRate, float profilePulse, float maximum) {
  if (g_log)
    g_log->Print("trener3 frekv_srdca: %3.4f, freq z profilu: %3.4f, frek max:: %3.4f\n", double(heartRate),
                 double(profilePulse), double(maximum));
  const float optimum = (profilePulse * 1.5f + maximum) * 0.5f;
  const float percent = optimum * 0.01f;
  if (g_log) g_log->Print("opt freq: %3.4f, perc: %3.4f", double(optimum), double(percent));
  PlayLadder(kPulseLadder, heartRate, optimum, percent);
}

void N_SoundCache::PlayCoTrener4(std::int32_t position, std::int32_t totalLaps, std::int32_t lap, float condition) {
  const float reference = ConditionOptimum(totalLaps, lap) * 0.1f;
  if (g_log)
    g_log->Print(
        "trener4 pos: %d, pocet_kol_celkovo: %d, aktualne_kolo: %d , aktualna_kondicia: %3.3f, kond_ref: %3.3f \n",
        position, totalLaps, lap, double(condition), double(reference));
  int positionClass = -1;
  if (position == 1) positionClass = 0;
  else if (position >= 2 && position <= 5) positionClass = 1;
  else if (position >= 6 && position <= 9) positionClass = 2;
  else if (position >= 10 && position <= 14) positionClass = 3;
  else if (position == kLastPosition) positionClass = 4;
  if (positionClass < 0) {
    if (g_errorLog) g_errorLog->ReportBox(0, "N_SoundCache::PlayCoTrener4 mimo rozsah %d/%d", position, kLastPosition);
    return;
  }
  // Each class has its "Plus_Kond" sound, then its "Minus_Kond" sound.
  PlayNamed(17 + 2 * positionClass + (condition >= reference ? 0 : 1));
}

#pragma once
// N_ShootingCues: what the shooting shows and plays for the player: the range's HUD (the
// shooting page, its table, cartridges, hits counter, "Stopka", the penalty count and
// the player status), the coach's effect sounds (hit, miss, not loaded, reload) and the
// heartbeat. The default forwards to the race pages, the world's sound cache and the
// world's body sounds (nothing where the world is missing); a test installs its own to
// note the calls.
#include <cstdint>

class N_ShootingCues {
 public:
  /// The coach's sound-cache ids the shooting plays.
  enum Sound : std::int32_t { kHit = 27, kMiss = 28, kNotLoaded = 29, kReload = 30 };

  virtual ~N_ShootingCues() = default;

  virtual void ShowShootingPage();
  virtual void CloseShootingPage();
  virtual void UpdateShootingClock(float time);
  virtual void UpdateShootTable(std::uint8_t hitMask);
  virtual void ResetShootTable();
  virtual void AddBullets(std::int32_t count);
  virtual void ShowShootingHits();
  virtual void HideShootingHits();
  virtual void AddShootingHit();
  virtual void ShowStopwatch();
  virtual void HideStopwatch();
  virtual void ShowPenaltyRounds(std::int32_t count);
  virtual void ShowPlayerStatus(const char* name, const char* nation);
  virtual void HidePlayerStatus();
  /// A sound of the coach's cache by id.
  virtual void PlaySound(std::int32_t id);
  virtual void PlayHeartbeat(float heartRate);
  virtual void StopHeartbeat();
};

/// The cues in force: the installed ones, else the default.
N_ShootingCues& ShootingCues();
/// Installs a test's cues (not owned); null goes back to the default.
void SetShootingCues(N_ShootingCues* cues);

#pragma once
// What the race simulation and the two single-racer modes (training, time attack)
// borrow from around them: the athletes, the skier figures, the body sounds, the
// coach's sound cache, the race's HUD pages, the sound listener, the free camera, the
// race camera (the level's start flight), the loaded level and the timer whose clock
// the passes' wall-time lines read. Each may be absent: what is absent is skipped, so
// a race runs headless (tests, benchmarks) with only the athletes and, for animation
// progress, the figures. In the game FromWorld lends the world's members.
#include <cstdint>

class N_AnimationFactory2;
class N_AnimSound;
class N_AthletMng;
struct N_AthletProfile;
class N_Camera;
class N_Level;
class N_RaceCamera;
class N_SoundCache;
class N_SoundMng;
class N_TimerBase;

/// The race's HUD pages, one call each: by default the race pages' own functions
/// (race/StartInfo.h, PlayerStatus.h, ShootingPage.h, PenaltyRounds.h, SplitBoard.h);
/// tests record the calls instead.
class N_RaceHud {
 public:
  virtual ~N_RaceHud() = default;
  virtual void ShowStartInfo(std::int32_t track, bool arcadeLevels, std::int32_t weather, std::int32_t snow);
  virtual void UpdateStartCounter(float seconds);
  virtual void CloseStartInfo();
  virtual void ShowPlayerStatus(const char* name, const char* nation);
  virtual void UpdatePlayerStatus(float time, float speed, float heartRate, float power, float condition,
                                  std::int32_t position, std::int32_t lap, std::int32_t laps);
  virtual void HidePlayerStatus();
  virtual void CloseShootingPage();
  virtual void ClosePenaltyRounds();
  virtual void UpdatePenaltyRounds(std::int32_t count);
  virtual void CloseSplitTimes();
};

struct N_RaceServices {
  N_AthletMng* athletes = nullptr;
  N_AnimationFactory2* figures = nullptr;
  N_AnimSound* bodySounds = nullptr;
  N_SoundCache* soundCache = nullptr;
  N_RaceHud* hud = nullptr;
  N_SoundMng* listener = nullptr;  ///< the sound manager, for SetListener
  N_Camera* camera = nullptr;      ///< the free controller's camera, which follows the racer
  N_RaceCamera* raceCamera = nullptr;
  N_TimerBase* timer = nullptr;
  /// The level whose point sets and triggers the game modes' path networks read.
  const N_Level* level = nullptr;

  /// The world's members (null ones where there is no world), g_soundMng, g_timer and
  /// the process's HUD.
  static N_RaceServices FromWorld();
};

/// The critical error of the race: reported (the program ends), or without a reporter
/// written to stderr before the exit.
[[noreturn]] void RaceCritical(const char* text);

/// The athlete of a start entry: index in the male list for sex 0, in the female list
/// for any other sex; null when there is no such athlete (or no manager).
N_AthletProfile* FindStartAthlete(N_AthletMng* athletes, std::int32_t sex, std::int32_t index);

#pragma once
// N_RaceSetup: a race set-up page, the arcade's ("Arcade") or the single race's
// ("SingleRace"). Both offer the same choices (track, weather, snow, discipline, sex,
// difficulty, an athlete or a relay team) and the same launches; they differ in their
// element names, their level table, the race variables they set and the pages they
// lead to, which the page's names record gives. Each page keeps its own relay mode;
// the relay team (RelayTeam) is one for both.
//
// Launches refuse, with one log line and before anything changes, a start without a
// selected athlete, a selector the page lacks, or a track row outside the page's level
// table. A relay start needs a team of exactly four ("#str316" box otherwise).
#include <cstdint>
#include <initializer_list>

#include "race/PlayerRelayTeam.h"

class N_GuiElement;
struct GameData;

/// What sets one set-up page apart from the other.
struct RaceSetupNames {
  const char* page;
  const char* level;  ///< image selector: a row of the page's level table
  const char* weather;
  const char* snow;
  const char* discipline;  ///< 0 sprint, 1 pursuit, 2 mass start, 3 relay
  const char* sex;
  const char* difficulty;
  const char* athletes;  ///< the athlete table
  const char* model;     ///< the athlete figure
  const char* frame;     ///< the frame whose height follows the relay mode
  const char* back;
  const char* topTimes;
  const char* start;
  const char* topTimesPage;
  bool arcadeTable;       ///< the 8-row arcade level table, else the full one
  std::int32_t trackMode;  ///< "trackmode"
  std::int32_t gameMode;   ///< "gamemode"
  const char* who;         ///< the name its log lines begin with
};

class N_RaceSetup {
 public:
  /// Selector items.
  static constexpr std::int32_t kPursuitItem = 1;
  static constexpr std::int32_t kMassStartItem = 2;
  static constexpr std::int32_t kRelayItem = 3;
  /// Heights of the frame and the athlete table without and with the relay page.
  static constexpr float kFrameHeight = 172.0f;
  static constexpr float kTableHeight = 152.0f;
  static constexpr float kRelayFrameHeight = 118.0f;
  static constexpr float kRelayTableHeight = 98.0f;
  static constexpr std::uint8_t kLaps = 3;

  explicit N_RaceSetup(const RaceSetupNames& names) : m_names(names) {}

  /// The page's onshow: the athlete table refilled with row 0 selected, the relay team
  /// kept when it is of the page's sex (else emptied), the relay page beside it for
  /// the relay item with the team's rows marked, the figure of the selected athlete.
  void Show();
  /// The page's onclick, by the element's name.
  void Click(const N_GuiElement& element);
  /// The relay launch with the selector values.
  void StartRelay(std::int32_t difficulty, std::int32_t sex, std::int32_t track, std::int32_t weather,
                  std::int32_t snow);

  bool RelayMode() const { return m_relayMode; }
  const RaceSetupNames& Names() const { return m_names; }

 private:
  struct Choice {
    std::int32_t level = -1;
    std::int32_t weather = -1;
    std::int32_t snow = -1;
    std::int32_t discipline = -1;
    std::int32_t sex = -1;
    std::int32_t difficulty = -1;
    bool complete = false;
  };
  Choice ReadChoice() const;
  /// Whether a launch may go on: every selector there, the track in the table.
  bool CanLaunch(const Choice& choice) const;
  /// The fields both launches share: sex, weather, snow, track, laps, level table and
  /// difficulty.
  void FillCommon(GameData& data, const Choice& choice) const;

  void ShowSelectedAthlete(std::int32_t sex) const;
  void ChangeSex(std::int32_t sex);
  void ChangeDiscipline(std::int32_t discipline);
  /// Hides the relay page in relay mode and this page, then shows the pages at once.
  void Leave(std::initializer_list<const char*> pages) const;
  void StartIndividual(const Choice& choice);

  const RaceSetupNames& m_names;
  bool m_relayMode = false;
};

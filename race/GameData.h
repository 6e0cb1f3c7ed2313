#pragma once
// The race description: filled by a race launch of the menus, handed to the new game
// object, read by the game mode and the race simulation while the race runs. Memory
// only; never written to a file whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The discipline codes of GameData::Discipline and ExportData::Discipline (also the
/// variable "discipline" of the launches, buddy games aside).
namespace DisciplineCode {
constexpr std::int32_t kRelay = 1;
constexpr std::int32_t kMassStart = 2;
constexpr std::int32_t kHunting = 3;  ///< the pursuit
constexpr std::int32_t kSprint = 4;
constexpr std::int32_t kTimeAttack = 5;
constexpr std::int32_t kBuddyGame = 10;
constexpr std::int32_t kRunTraining = 12;
constexpr std::int32_t kShootingTraining = 13;
}  // namespace DisciplineCode

/// One starter; its index in the start list is the racer's index in the race.
struct StartEntry {
  std::int32_t AthleteIndex = 0;  ///< in the athlete list of GameData::Sex
  /// The racer's initial clock in seconds; it starts when the clock reaches 0, so an
  /// entry 7.0 lower starts 7.0 s later.
  float StartTime = 0.0f;
};

struct GameData {
  static constexpr std::size_t kMaxPlayerName = 127;
  static constexpr std::size_t kMaxNation = 3;

  std::vector<StartEntry> StartList;  ///< in start order
  std::int32_t Sex = 0;               ///< 0 male, 1 female: the athlete list of the indices
  std::int32_t Discipline = 0;        ///< a DisciplineCode
  std::int32_t Weather = 0;           ///< 0 clear; others load the level's fog variant, 1 with snowfall
  std::int32_t SnowQuality = 1;
  std::int32_t Track = 0;          ///< row of the level table chosen by ArcadeLevels; 10 for buddy games
  std::uint8_t Laps = 0;           ///< 4 or more: shooting pattern "LLSSVVV", else "LSVVV"
  std::int8_t PlayerIndex = -1;    ///< start-list index of the player's racer; -1 none
  std::uint8_t ArcadeLevels = 0;   ///< 1: Track indexes the arcade level table
  std::uint8_t Difficulty = 0;     ///< 1: the player chooses the technique by keys
  float TrainingScale1 = 1.0f;     ///< trainings: (selected row + 1) x 0.1
  float TrainingScale2 = 1.0f;     ///< shooting training: (selected row + 1) x 0.1
  std::uint8_t SteadyAim = 0;      ///< shooting training: 1 for the first shooting type
  float TimeLimit = -1.0f;         ///< buddy games: seconds; 0 or less, no limit
  std::uint8_t Faultless = 0;      ///< buddy games: a fall or a miss fails the game
  std::int32_t TargetHits = -1;    ///< buddy shooting: ends at this many hits; 0 or less, never
  std::int32_t ShotLimit = -1;     ///< buddy shooting: ends at this many shots; 0 or less, never
  std::uint8_t Sway = 1;           ///< buddy shooting: 1 standing ("SSS"), 0 prone ("LLL")
  std::string PlayerName = "Uplny pako";  ///< buddy games: whose turn it is (at most 127 characters)
  std::string Nation = "GER";             ///< buddy games: the player's nation code (at most 3)

  /// Store the texts cut to their lengths, as the fixed fields of the game hold them.
  void SetPlayerName(std::string_view name) { PlayerName = std::string(name.substr(0, kMaxPlayerName)); }
  void SetNation(std::string_view nation) { Nation = std::string(nation.substr(0, kMaxNation)); }
};

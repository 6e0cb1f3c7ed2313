#pragma once
// The career profile: everything about one player's career in one fixed-size record
// (484 bytes), saved per profile slot as "data\tables\profile%d.dat" (the version word
// 265, then the record: 488 bytes). The record owns nothing and is copied by value; it
// is read and written field by field in the file's little-endian layout
// (frontend/career/CareerProfileFile.h).
#include <cstddef>
#include <cstdint>

/// One pursuit start: the athlete (index in the list of the profile's sex) and the
/// start offset in seconds (0.0 for the sprint winner, negative for those behind).
struct N_CareerPursuitEntry {
  std::int32_t athlete = 0;
  float offset = 0.0f;
};

struct N_CareerProfile {
  static constexpr std::size_t kFieldSize = 15;
  static constexpr std::size_t kTracks = 10;
  static constexpr std::size_t kDays = 5;
  static constexpr std::size_t kSlotsPerDay = 4;
  static constexpr std::size_t kNameBytes = 32;
  static constexpr std::size_t kNationBytes = 4;

  /// A new profile with the defaults (`InitCareerProfile`): `number`, `field`,
  /// `trackOrder`, `extraRaces`, `pursuitList` and the travel costs stay zero.
  N_CareerProfile();
  /// The defaults again; `number` and the fields the defaults leave unset stay.
  void SetDefaults();

  std::int32_t number = 0;  ///< profile slot, the %d of the slot's three files
  // Ceilings of the six body attributes.
  float maxHearth = 0.0f;
  float maxCondition = 0.0f;
  float maxPower = 0.0f;
  float maxConcentration = 0.0f;
  float maxFightGhost = 0.0f;
  float maxCoolness = 0.0f;
  // The six body attributes (30.0 up to their ceiling) ...
  float hearth = 0.0f;
  float condition = 0.0f;
  float power = 0.0f;
  float concentration = 0.0f;
  float fightGhost = 0.0f;
  float coolness = 0.0f;
  // ... and the three techniques (30.0 to 100.0).
  float runTech = 0.0f;
  float shootTech = 0.0f;
  float handlTech = 0.0f;
  float freshness = 0.0f;  ///< 0.0 worn out to 100.0 fully rested
  char name[kNameBytes] = {};      ///< zero-terminated, at most 31 characters
  char nation[kNationBytes] = {};  ///< three-letter nation code, zero-terminated
  std::int32_t sex = 0;            ///< 0 male, any other value female
  std::int32_t athleteIndex = 0;   ///< the player's figure in the athlete list of that sex
  std::int32_t difficulty = 0;     ///< 0 or 1
  std::int32_t account = 0;        ///< EUR
  std::int32_t points = 0;
  std::int32_t season = 0;     ///< 0 to 9; the career ends at 10
  std::int32_t raceIndex = 0;  ///< race of the season 0 to 9, index into `trackOrder`
  std::int32_t weekChoicesBought = 0;
  /// 0 working week (sprint next), 1 pursuit next, 2 extra race next (or the week is
  /// over without one), 3 over after the extra race.
  std::int32_t stage = 0;
  std::uint8_t started = 0;
  std::uint8_t finished = 0;
  std::uint8_t padding[2] = {};              ///< written as zeros
  std::int32_t field[kFieldSize] = {};       ///< the season's starters; the player's own last
  std::int32_t trackOrder[kTracks] = {};     ///< level table row of each race of the season
  std::int32_t extraRaces[2] = {};           ///< the races whose week ends with a mass start
  std::int32_t pursuitCount = 0;             ///< valid entries of `pursuitList`
  N_CareerPursuitEntry pursuitList[kFieldSize] = {};
  std::int32_t schedule[kDays][kSlotsPerDay] = {};  ///< item ids Monday to Friday, -1 empty
  std::int32_t sponsorEvent = 0;  ///< 0 to 5, -1 none
  std::int32_t sponsorPrize = 0;  ///< EUR, 0 when none
  std::int32_t carCost = 0;       ///< schedule items 9 to 11
  std::int32_t trainCost = 0;
  std::int32_t planeCost = 0;
  std::int32_t hotel = 0;       ///< 0, 1, 2, or -1 none
  std::int32_t weekChoice = 0;  ///< special training row 0 to 2 of this week, -1 none
};

// The record's layout is the file's (after the version word); the file is written
// field by field, these only keep the in-memory record honest.
static_assert(sizeof(N_CareerPursuitEntry) == 8);
static_assert(sizeof(N_CareerProfile) == 484);
static_assert(offsetof(N_CareerProfile, freshness) == 64);
static_assert(offsetof(N_CareerProfile, name) == 68);
static_assert(offsetof(N_CareerProfile, nation) == 100);
static_assert(offsetof(N_CareerProfile, account) == 116);
static_assert(offsetof(N_CareerProfile, started) == 140);
static_assert(offsetof(N_CareerProfile, field) == 144);
static_assert(offsetof(N_CareerProfile, trackOrder) == 204);
static_assert(offsetof(N_CareerProfile, extraRaces) == 244);
static_assert(offsetof(N_CareerProfile, pursuitCount) == 252);
static_assert(offsetof(N_CareerProfile, pursuitList) == 256);
static_assert(offsetof(N_CareerProfile, schedule) == 376);
static_assert(offsetof(N_CareerProfile, sponsorEvent) == 456);
static_assert(offsetof(N_CareerProfile, weekChoice) == 480);

namespace career {

/// Adds money or points to a profile's total, held at the limits of its 32 bits: a
/// hand-edited file may bring any account, and prize money must not wrap it.
inline void AddToTotal(std::int32_t& total, std::int64_t amount) {
  const std::int64_t sum = std::int64_t(total) + amount;
  total = static_cast<std::int32_t>(
      sum > INT32_MAX ? std::int64_t(INT32_MAX) : sum < INT32_MIN ? std::int64_t(INT32_MIN) : sum);
}

}  // namespace career

#pragma once
// The rows of the career top-scores files, each read and written field by field
// (little-endian, no padding), and what the buddy and career tables share: names cut
// to their fields and always terminated, an empty name stored as the default player
// name (a row whose name begins with a zero byte is an empty slot, which no display
// shows and the next insert overwrites), and the cells of a display row.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace high_scores {

/// Copies the text up to its first zero byte, cut to size - 1 characters, terminated,
/// the rest of the field zero.
template <std::size_t kSize>
void CopyField(char (&field)[kSize], std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::size_t n = text.size() < kSize - 1 ? text.size() : kSize - 1;
  std::memset(field, 0, kSize);
  std::memcpy(field, text.data(), n);
}

/// The name a table stores: an empty one becomes the default player name ("#str021";
/// "Player" without a string table).
std::string StoredName(std::string_view name);
/// The field's text up to its first zero byte (the whole field when it has none).
std::string FieldText(const char* field, std::size_t size);
/// A name as a row of 32-byte names holds it: the stored name cut to 31 characters.
std::string RowName(std::string_view name);
/// Whether two names are equal when A-Z and a-z count as the same.
bool SameIgnoringCase(std::string_view a, std::string_view b);

/// A code (a nation) as one row cell: as it is when it is one plain word, else quoted,
/// so that a blank or an empty field never shifts the later columns.
std::string WordCell(std::string_view text);
/// A name as one quoted row cell.
std::string NameCell(std::string_view name);
/// The race-time text ("%02d:%02d.%03d"), or "Disq" for a negative time (or no number).
std::string TimeOrDisq(float seconds);

std::int32_t GetI32(const char* bytes);
void PutI32(char* bytes, std::int32_t value);
float GetF32(const char* bytes);
void PutF32(char* bytes, float value);
/// a + b with the wrap of the 32-bit two's complement (totals of garbage files).
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b);

}  // namespace high_scores

/// One row of the final career table "data\tables\career.hs", 44 bytes.
struct N_CareerFinalRow {
  static constexpr std::size_t kNameAt = 0, kNameSize = 32;
  static constexpr std::size_t kNationAt = 32, kNationSize = 4;
  static constexpr std::size_t kAccountAt = 36;
  static constexpr std::size_t kPointsAt = 40;
  static constexpr std::size_t kBytes = 44;

  char Name[kNameSize] = {};
  char Nation[kNationSize] = {};
  std::int32_t Account = 0;  ///< EUR
  std::int32_t Points = 0;

  static N_CareerFinalRow Read(const char* bytes);
  void Write(char* bytes) const;
  bool Empty() const { return Name[0] == '\0'; }
  /// The richer career first, equal accounts the more points first.
  static bool Before(const N_CareerFinalRow& a, const N_CareerFinalRow& b);
  /// Points of 0 or less (no career enters with them); empty when none.
  std::string Fault() const;
};
static_assert(N_CareerFinalRow::kPointsAt + 4 == N_CareerFinalRow::kBytes && N_CareerFinalRow::kBytes == 44);

/// One row of a career profile's season standings, 80 bytes: the total and the points
/// won on each level of the full level table (rows 0 to 9).
struct N_CareerStandingsRow {
  static constexpr std::size_t kLevels = 10;
  static constexpr std::size_t kNameAt = 0, kNameSize = 32;
  static constexpr std::size_t kNationAt = 32, kNationSize = 4;
  static constexpr std::size_t kTotalAt = 36;
  static constexpr std::size_t kLevelPointsAt = 40;
  static constexpr std::size_t kBytes = 80;

  char Name[kNameSize] = {};
  char Nation[kNationSize] = {};
  std::int32_t Total = 0;
  std::int32_t LevelPoints[kLevels] = {};

  static N_CareerStandingsRow Read(const char* bytes);
  void Write(char* bytes) const;
  bool Empty() const { return Name[0] == '\0'; }
  /// The higher total first (totals only: empty rows rank with their totals too).
  static bool Before(const N_CareerStandingsRow& a, const N_CareerStandingsRow& b);
  /// Negative points, or a total that is not the sum of the levels' points; empty when none.
  std::string Fault() const;
};
static_assert(N_CareerStandingsRow::kLevelPointsAt + 4 * N_CareerStandingsRow::kLevels == N_CareerStandingsRow::kBytes &&
              N_CareerStandingsRow::kBytes == 80);

/// One row of a career profile's race results, 48 bytes.
struct N_CareerResultRow {
  static constexpr std::size_t kNameAt = 0, kNameSize = 32;
  static constexpr std::size_t kNationAt = 32, kNationSize = 4;
  static constexpr std::size_t kTimeAt = 36;
  static constexpr std::size_t kMissesAt = 40;
  static constexpr std::size_t kPointsAt = 44;
  static constexpr std::size_t kBytes = 48;

  char Name[kNameSize] = {};
  char Nation[kNationSize] = {};
  float Time = 0.0f;  ///< negative: did not finish
  std::int32_t Misses = 0;
  std::int32_t Points = 0;

  static N_CareerResultRow Read(const char* bytes);
  void Write(char* bytes) const;
  bool Empty() const { return Name[0] == '\0'; }
  /// Result rows are written at their place, never sorted.
  static bool Before(const N_CareerResultRow&, const N_CareerResultRow&) { return false; }
  /// A time that is no number or longer than a day, negative misses, or points outside
  /// 0 to 14; empty when none.
  std::string Fault() const;
};
static_assert(N_CareerResultRow::kPointsAt + 4 == N_CareerResultRow::kBytes && N_CareerResultRow::kBytes == 48);

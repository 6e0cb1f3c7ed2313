#pragma once
// The text conversions of the GUI's attributes and the race-time text. Numbers are
// read like atoi/atof (atoi saturating, see Convert.h); booleans are "true"/"false".
#include "core/Quaternion.h"
#include "core/Vector3.h"

#include <cstdint>
#include <string>
#include <vector>

float StringToFloat(const std::string& text);
std::int32_t StringToInt(const std::string& text);
/// The same as StringToInt (the GUI calls it on its own attribute texts).
std::int32_t StringToIntMember(const std::string& text);
/// True only for exactly "true".
bool StringToBool(const std::string& text);
std::string BoolToString(bool value);
/// Stream formatting with default settings: six significant digits, general notation.
std::string FloatToString(float value);
std::string IntToString(std::int32_t value);
std::string UIntToString(std::uint32_t value);
/// "x y z".
std::string Vec3ToString(const N_Vector3& v);
/// "x y z w" (reading takes w first: see StringToQuaternion).
std::string QuaternionToString(const N_Quaternion& q);
/// Exactly three blank-separated numbers, else (0, 0, 0).
N_Vector3 StringToVec3(const std::string& text);
/// Exactly four numbers w x y z, else the identity.
N_Quaternion StringToQuaternion(const std::string& text);
/// A-Z to a-z in place (only those change); returns the text.
std::string& StringToLower(std::string& text);
/// Removes blanks, tabs and carriage returns (not newlines) from the chosen ends.
void TrimString(std::string& text, bool left, bool right);
/// Splits at any of the delimiter characters into out (emptied first); runs of
/// delimiters give no empty fields. With maxCount > 0 the split stops after maxCount
/// passes and the rest of the text is the last field; a leading delimiter uses a pass.
std::vector<std::string>& SplitString(const std::string& text, std::vector<std::string>& out,
                                      const char* delimiters, int maxCount);
/// "%02d:%02d.%03d" of minutes, seconds, milliseconds, each truncated.
std::string FormatRaceTime(float seconds);

#include "core/StringUtil.h"

#include "core/Convert.h"
#include "core/FormatString.h"

#include <cmath>
#include <locale>
#include <sstream>

float StringToFloat(const std::string& text) { return static_cast<float>(PlainAtof(text.c_str())); }

std::int32_t StringToInt(const std::string& text) { return SaturatingAtoi(text.c_str()); }

std::int32_t StringToIntMember(const std::string& text) { return StringToInt(text); }

bool StringToBool(const std::string& text) { return text == "true"; }

std::string BoolToString(bool value) { return value ? "true" : "false"; }

std::string FloatToString(float value) {
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << value;
  return stream.str();
}

std::string IntToString(std::int32_t value) { return std::to_string(value); }

std::string UIntToString(std::uint32_t value) { return std::to_string(value); }

std::string Vec3ToString(const N_Vector3& v) {
  return FloatToString(v.x) + " " + FloatToString(v.y) + " " + FloatToString(v.z);
}

std::string QuaternionToString(const N_Quaternion& q) {
  return FloatToString(q.x) + " " + FloatToString(q.y) + " " + FloatToString(q.z) + " " + FloatToString(q.w);
}

namespace {

constexpr const char* kBlanks = "\t\n ";

}  // namespace

N_Vector3 StringToVec3(const std::string& text) {
  std::vector<std::string> fields;
  if (SplitString(text, fields, kBlanks, 0).size() != 3) return {};
  return {StringToFloat(fields[0]), StringToFloat(fields[1]), StringToFloat(fields[2])};
}

N_Quaternion StringToQuaternion(const std::string& text) {
  std::vector<std::string> fields;
  if (SplitString(text, fields, kBlanks, 0).size() != 4) return {};
  return {StringToFloat(fields[0]), StringToFloat(fields[1]), StringToFloat(fields[2]), StringToFloat(fields[3])};
}

std::string& StringToLower(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void TrimString(std::string& text, bool left, bool right) {
  const auto isTrimmed = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  std::size_t begin = 0;
  if (left) {
    while (begin < text.size() && isTrimmed(text[begin])) ++begin;
  }
  std::size_t end = text.size();
  if (begin < text.size() && right) {
    while (end > begin && isTrimmed(text[end - 1])) --end;
  }
  text = text.substr(begin, end - begin);
}

std::vector<std::string>& SplitString(const std::string& text, std::vector<std::string>& out,
                                      const char* delimiters, int maxCount) {
  out.clear();
  const std::string d = delimiters ? delimiters : "";
  std::size_t p = 0;
  int passes = 0;
  while (p != std::string::npos) {
    const std::size_t q = text.find_first_of(d, p);
    if (q == p) {
      p = q + 1;  // a delimiter here: skipped, no field (but the pass counts)
    } else if (q == std::string::npos || (maxCount != 0 && passes == maxCount)) {
      out.push_back(text.substr(p));
      break;
    } else {
      out.push_back(text.substr(p, q - p));
      p = q + 1;
    }
    p = text.find_first_not_of(d, p);
    ++passes;
  }
  return out;
}

std::string FormatRaceTime(float seconds) {
  // In double: single precision would round 59.999996 s up to a whole minute.
  const double t = seconds;
  const int minutes = SaturatingTruncate(t * static_cast<double>(1.0f / 60.0f));
  const int wholeSeconds = SaturatingTruncate(std::fmod(t, 60.0));
  const int milliseconds = SaturatingTruncate((t - std::floor(t)) * 1000.0);
  return FormatString("%02d:%02d.%03d", minutes, wholeSeconds, milliseconds);
}

// The profile file "data\profiles\playerprofiles.data": a first "{", then any sequence
// of "{" (ignored), "}" (appends a copy of the current values as an athlete) and a key
// with its value on the same line. The current values start as the default record and
// are never reset, so a key missing in a block keeps the previous block's value.
// Numbers are checked against the ranges the races use (the nine attributes 0 to 100,
// IQ 0 to 1, a body the physics can move): one outside is clamped, one that is no
// number takes its default, each with a report naming the file and line. A brace where
// a value should be is no value: the key takes its default and the brace acts.
#include "core/Convert.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "platform/win32.h"
#include "race/AthletMng.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

enum class ValueKind { Number, Text, Sex };

/// One key of the file: where its value goes and what a missing value becomes.
struct ProfileKey {
  const char* name;
  ValueKind kind;
  float N_AthletProfile::*number;
  std::string N_AthletProfile::*text;
  float numberDefault;
  const char* textDefault;  ///< also the default as the report shows it
  float low = 0.0f, high = 0.0f;  ///< a number's range
};

constexpr ProfileKey Number(const char* name, float N_AthletProfile::*field, float value, const char* shown,
                            float low = 0.0f, float high = 100.0f) {
  return {name, ValueKind::Number, field, nullptr, value, shown, low, high};
}
constexpr ProfileKey Text(const char* name, std::string N_AthletProfile::*field, const char* value) {
  return {name, ValueKind::Text, nullptr, field, 0.0f, value};
}

using P = N_AthletProfile;
constexpr ProfileKey kKeys[] = {
    Number("MaxPower", &P::MaxPower, 50.0f, "50"),
    Number("OptPulse", &P::OptPulse, 50.0f, "50"),
    Number("MaxCondition", &P::MaxCondition, 50.0f, "50"),
    Number("Concetration", &P::Concetration, 50.0f, "50"),
    Number("Coolness", &P::Coolness, 50.0f, "50"),
    Number("IQ", &P::IQ, 0.5f, "0.5", 0.0f, 1.0f),
    Number("Gameness", &P::Gameness, 50.0f, "50"),
    Number("ShootTechnic", &P::ShootTechnic, 50.0f, "50"),
    Number("RunTechnic", &P::RunTechnic, 50.0f, "50"),
    Number("CurveTechnic", &P::CurveTechnic, 50.0f, "50"),
    {"Sex", ValueKind::Sex, nullptr, nullptr, 0.0f, "Male"},
    Text("Nationality", &P::Nationality, "SVK"),
    Number("Height", &P::Height, 180.0f, "180", 100.0f, 250.0f),
    Number("Weight", &P::Weight, 80.0f, "80", 30.0f, 200.0f),
    Text("AthletName", &P::AthletName, "Ruvo 'default' Plimska"),
    Text("Mesh", &P::Mesh, "default.mesh"),
    Text("StartNum", &P::StartNum, "default startnum"),
    Text("Dress", &P::Dress, "default dress"),
    Text("Sticks", &P::Sticks, "default sticks"),
    Text("Gun", &P::Gun, "default gun"),
    Text("Ski", &P::Ski, "default ski"),
};

[[gnu::format(printf, 1, 2)]] void ProfileReport(const char* format, ...) {
  if (!g_errorLog) return;
  char text[N_ErrorLog::kBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_errorLog->Report(12, "%s", text);
}

/// The number within its key's range: clamped into it, its default when it is no number.
float CheckedNumber(const ProfileKey& key, double value, int line, const std::string& file) {
  if (value >= key.low && value <= key.high) return static_cast<float>(value);
  const float taken =
      std::isnan(value) ? key.numberDefault : SaturatingToFloat(std::clamp<double>(value, key.low, key.high));
  ProfileReport("Player Profiles, %s %g at line %d of %s is outside %g to %g, set to %g\n", key.name, value, line,
                file.c_str(), static_cast<double>(key.low), static_cast<double>(key.high),
                static_cast<double>(taken));
  return taken;
}

}  // namespace

void N_AthletMng::ParseProfiles(const char* fileName) {
  m_tokenizer.OpenFile(fileName);
  const char* token = m_tokenizer.NextToken(true);
  if (!token) return;  // a missing or empty file: no athlete (LoadTextures says so)
  if (std::strcmp(token, "{") != 0) {
    ProfileReport("Player Profile definition error! bracket expected! at line %d, stop parsing!\n",
                  m_tokenizer.Line());
    return;
  }
  N_AthletProfile current;
  int openedAt = 0;  ///< the line of the first key after the last "}", 0 when none
  while ((token = m_tokenizer.NextToken(true)) != nullptr) {
    if (std::strcmp(token, "{") == 0) continue;
    if (std::strcmp(token, "}") == 0) {
      m_athletes.push_back(std::make_unique<N_AthletProfile>(current));
      openedAt = 0;
      continue;
    }
    if (openedAt == 0) openedAt = m_tokenizer.Line();
    std::size_t key = 0;
    while (key < std::size(kKeys) && !platform::EqualsNoCase(kKeys[key].name, token)) ++key;
    if (key == std::size(kKeys)) {
      ProfileReport("Player Profiles, Unknown token at line %d\n", m_tokenizer.Line());
      continue;
    }
    // "Key }" gives the key no value and still ends the athlete.
    if (ParseValue(key, current)) {
      m_athletes.push_back(std::make_unique<N_AthletProfile>(current));
      openedAt = 0;
    }
  }
  if (openedAt != 0) {
    ProfileReport("Player Profiles, %s ends inside the athlete begun at line %d (cut short?): not taken\n",
                  m_tokenizer.FileName().c_str(), openedAt);
  }
}

bool N_AthletMng::ParseValue(std::size_t keyIndex, N_AthletProfile& current) {
  const ProfileKey& key = kKeys[keyIndex];
  const int line = m_tokenizer.Line();  // reading a missing value passes the line end
  const char* value = m_tokenizer.NextToken(false);
  const bool closes = value && std::strcmp(value, "}") == 0;
  if (!value || closes || std::strcmp(value, "{") == 0) {
    ProfileReport("Not enought params in %s at line %d, force to %s==%s\n", key.name, line, key.name,
                  key.textDefault);
    switch (key.kind) {
      case ValueKind::Number: current.*key.number = key.numberDefault; break;
      case ValueKind::Text: current.*key.text = key.textDefault; break;
      case ValueKind::Sex: current.Sex = 0; break;
    }
    return closes;
  }
  switch (key.kind) {
    case ValueKind::Number:
      // The text's own value: the range check says what is wrong with it and takes the default for NaN.
      current.*key.number = CheckedNumber(key, PlainAtof(m_tokenizer.Token()), line, m_tokenizer.FileName());
      break;
    case ValueKind::Text:
      current.*key.text = value;
      if (std::strlen(value) > N_AthletProfile::kMaxText) {
        ProfileReport("Player Profiles, %s longer than %zu characters at line %d, cut\n", key.name,
                      N_AthletProfile::kMaxText, line);
        (current.*key.text).resize(N_AthletProfile::kMaxText);
      }
      break;
    case ValueKind::Sex:
      if (platform::EqualsNoCase(value, "Male")) {
        current.Sex = 0;
      } else if (platform::EqualsNoCase(value, "Female")) {
        current.Sex = 1;
      } else {
        ProfileReport("Unknown param in Sex at line %d, force to Sex==Male\n", line);
        current.Sex = 0;
      }
      break;
  }
  return false;
}

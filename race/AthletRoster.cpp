// The per-career rosters of the athlete manager: "data\tables\profile" + the career
// number, 36 bytes per athlete in profile-file order, the nine attributes as
// little-endian floats.
#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "race/AthletMng.h"
#include "race/BinaryFields.h"

std::string N_AthletMng::RosterFileName(int career) { return "data\\tables\\profile" + std::to_string(career); }

void N_AthletMng::StoreDefaults() {
  for (std::size_t i = 0; i < m_athletes.size() && i < m_defaults.size(); ++i) {
    m_defaults[i].CopyAttributes(*m_athletes[i]);
  }
}

void N_AthletMng::RestoreDefaults() {
  // The file's names come back too: a career's own athlete leaves no name behind in
  // the other modes' lists.
  for (std::size_t i = 0; i < m_athletes.size() && i < m_defaults.size(); ++i) {
    m_athletes[i]->CopyAttributes(m_defaults[i]);
    m_athletes[i]->AthletName = m_defaults[i].AthletName;
  }
  // The athletes hold their file values again, until the next Load.
  m_holdsFileValues = true;
}

std::string N_AthletMng::RosterBytes() const {
  std::string bytes;
  bytes.reserve(m_athletes.size() * kRosterRecordBytes);
  for (const auto& athlete : m_athletes) {
    for (float N_AthletProfile::*a : N_AthletProfile::kAttributes) binaryfield::PutF32(bytes, athlete.get()->*a);
  }
  return bytes;
}

bool N_AthletMng::Save(int career) {
  std::string why;
  const bool saved = platform::ReplaceWholeFile(RosterFileName(career), RosterBytes(), &why);
  if (!saved && g_log) g_log->Print("N_AthletMng::Save: %s\n", why.c_str());
  // The career's values leave the athletes whether or not the roster was written.
  RestoreDefaults();
  return saved;
}

N_AthletMng::RosterLoad N_AthletMng::LoadRoster(int career, std::string* why) {
  // Only file values may become the defaults: a second Load without a Save would make
  // one career's values the file values of every mode.
  if (m_holdsFileValues) StoreDefaults();
  const std::string name = RosterFileName(career);
  std::string bytes, reason;
  if (!platform::ReadWholeFile(name, bytes, &reason)) {
    if (why) *why = reason;
    if (reason.empty()) {
      m_holdsFileValues = false;  // a new career changes the athletes from here on
      return RosterLoad::Missing;
    }
    if (g_log) g_log->Print("!!! %s cannot be read: %s\n", name.c_str(), reason.c_str());
    RestoreDefaults();
    return RosterLoad::Unreadable;
  }
  m_holdsFileValues = false;
  if (bytes.size() / kRosterRecordBytes != m_athletes.size()) {
    if (g_log) {
      g_log->Print("!!! %s holds the values of %zu athletes, the profiles %zu: not read\n", name.c_str(),
                   bytes.size() / kRosterRecordBytes, m_athletes.size());
    }
    if (g_errorLog) {
      g_errorLog->ReportBox(0, "N_AthletMng::Load: pocet atletov v profile je != s poctom v default profile\n");
    }
    return RosterLoad::WrongSize;
  }
  // A value the races cannot use (no number, outside the attributes' 0 to 100) takes
  // the athlete's file value.
  std::size_t clamped = 0;
  std::string first;
  const char* record = bytes.data();
  for (std::size_t i = 0; i < m_athletes.size(); ++i, record += kRosterRecordBytes) {
    for (std::size_t k = 0; k < N_AthletProfile::kAttributes.size(); ++k) {
      float value = binaryfield::GetF32(record + 4 * k);
      if (!(value >= 0.0f && value <= 100.0f)) {
        if (clamped++ == 0) first = FormatString("athlete %zu, value %zu: %g", i, k, static_cast<double>(value));
        value = i < m_defaults.size() ? m_defaults[i].*N_AthletProfile::kAttributes[k] : 50.0f;
      }
      m_athletes[i].get()->*N_AthletProfile::kAttributes[k] = value;
    }
  }
  if (clamped > 0 && g_log) {
    g_log->Print("%s: %zu values outside 0 to 100 take the athletes' file values (first: %s)\n", name.c_str(),
                 clamped, first.c_str());
  }
  return RosterLoad::Loaded;
}

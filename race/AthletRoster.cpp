// The per-career rosters of the athlete manager: "data\tables\profile" + the career
// number, 36 bytes per athlete in profile-file order, the nine attributes as
// little-endian floats.
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "race/AthletMng.h"
#include "race/BinaryFields.h"

namespace {

std::string RosterName(int career) { return "data\\tables\\profile" + std::to_string(career); }

}  // namespace

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

bool N_AthletMng::Save(int career) {
  std::string bytes;
  bytes.reserve(m_athletes.size() * kRosterRecordBytes);
  for (const auto& athlete : m_athletes) {
    for (float N_AthletProfile::*a : N_AthletProfile::kAttributes) binaryfield::PutF32(bytes, athlete.get()->*a);
  }
  std::string why;
  const bool saved = platform::ReplaceWholeFile(RosterName(career), bytes, &why);
  if (!saved && g_log) g_log->Print("N_AthletMng::Save: %s\n", why.c_str());
  // The career's values leave the athletes whether or not the roster was written.
  RestoreDefaults();
  return saved;
}

bool N_AthletMng::Load(int career) {
  // Only file values may become the defaults: a second Load without a Save would make
  // one career's values the file values of every mode.
  if (m_holdsFileValues) StoreDefaults();
  m_holdsFileValues = false;  // failed or not, the career changes the athletes now
  std::string bytes;
  if (!platform::ReadWholeFile(RosterName(career), bytes)) return false;
  if (bytes.size() / kRosterRecordBytes != m_athletes.size()) {
    if (g_errorLog) {
      g_errorLog->ReportBox(0, "N_AthletMng::Load: pocet atletov v profile je != s poctom v default profile\n");
    }
    return false;
  }
  const char* record = bytes.data();
  for (const auto& athlete : m_athletes) {
    for (std::size_t k = 0; k < N_AthletProfile::kAttributes.size(); ++k) {
      athlete.get()->*N_AthletProfile::kAttributes[k] = binaryfield::GetF32(record + 4 * k);
    }
    record += kRosterRecordBytes;
  }
  return true;
}

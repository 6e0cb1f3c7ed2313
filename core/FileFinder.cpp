#include "core/FileFinder.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"

namespace {

bool IsSkipped(const _finddata_t& entry) {
  return (entry.attrib & _A_SUBDIR) != 0 || (!entry.name.empty() && entry.name[0] == '.');
}

/// A folder where the mask looks for files (a script's name on a folder) is said in
/// the log, as no reader will ever see it.
void ReportFolder(const std::string& pattern, const _finddata_t& entry) {
  if ((entry.attrib & _A_SUBDIR) == 0 || entry.name.empty() || entry.name[0] == '.' || !g_log) return;
  const std::size_t end = pattern.find_last_of("\\/");
  g_log->Print("!!! %s%s is a folder, not a file: skipped\n", pattern.substr(0, end + 1).c_str(), entry.name.c_str());
}

}  // namespace

N_FileList::N_FileList() { WorkingDirectory(); }

std::string& N_FileList::Captured() {
  static std::string captured = platform::CurrentDirectory();
  return captured;
}

const std::string& N_FileList::WorkingDirectory() { return Captured(); }

void N_FileList::RecaptureWorkingDirectory() { Captured() = platform::CurrentDirectory(); }

N_FileFinder::N_FileFinder(const char* mask) : m_mask(mask ? mask : "") {
  m_pattern = WorkingDirectory() + "\\data\\" + m_mask;
  // Only a '/' inside the mask makes a directory part; the Linux working
  // directory's own slashes do not, so backslash masks still give bare names.
  const std::size_t slash = m_mask.rfind('/');
  if (slash != std::string::npos) {
    m_directoryPart = WorkingDirectory() + "\\data\\" + m_mask.substr(0, slash + 1);
  }
}

N_FileFinder::~N_FileFinder() {
  if (m_handle != -1) _findclose(m_handle);
}

const char* N_FileFinder::Step(bool first, bool script) {
  _finddata_t entry;
  if (first) {
    if (m_handle != -1) _findclose(m_handle);
    m_handle = _findfirst(m_pattern.c_str(), &entry);
    if (m_handle == -1) return nullptr;
  } else {
    if (m_handle == -1 || _findnext(m_handle, &entry) != 0) {
      if (m_handle != -1) _findclose(m_handle);
      m_handle = -1;
      return nullptr;
    }
  }
  while (IsSkipped(entry)) {
    ReportFolder(m_pattern, entry);
    if (_findnext(m_handle, &entry) != 0) {
      _findclose(m_handle);
      m_handle = -1;
      return nullptr;
    }
  }
  m_result = script ? WorkingDirectory() + "\\data\\scripts\\" + entry.name : m_directoryPart + entry.name;
  return m_result.c_str();
}

const char* N_FileFinder::FindFirst() { return Step(true, false); }
const char* N_FileFinder::FindNext() { return Step(false, false); }
const char* N_FileFinder::FindFirstScript() { return Step(true, true); }
const char* N_FileFinder::FindNextScript() { return Step(false, true); }

N_DirSearch::N_DirSearch(std::string& report, const std::string& directory, const std::string& mask,
                         bool withSubdirectories, bool relativeToWorkingDirectory) {
  m_root = relativeToWorkingDirectory ? platform::CurrentDirectory() + "\\" + directory : directory;
  if (withSubdirectories) {
    Recurse("", mask);
  } else {
    _finddata_t entry;
    const std::intptr_t h = _findfirst((m_root + mask).c_str(), &entry);
    if (h != -1) {
      do {
        if (entry.attrib != _A_SUBDIR) m_paths.push_back(entry.name);
      } while (_findnext(h, &entry) == 0);
      _findclose(h);
    }
  }
  m_position = 0;
  report = "Searching Directory: " + m_root + " with mask: " + mask +
           (withSubdirectories ? " with Subdirectories\n" : " without Subdirectories");
  report += FormatString("Found %d files.\n", static_cast<int>(m_paths.size()));
  report += "Found items: \n";
  for (const auto& path : m_paths) report += path + "\n";
}

void N_DirSearch::Recurse(const std::string& relative, const std::string& mask) {
  // A folder reached a second time (a link to a folder above, or two links to one
  // folder) is not searched again: links to the folder itself would never end.
  const std::optional<platform::FileIdentity> folder = platform::IdentifyFile(m_root + relative);
  if (!folder || !m_visited.insert(*folder).second) return;
  _finddata_t entry;
  std::intptr_t h = _findfirst((m_root + relative + "*.*").c_str(), &entry);
  if (h == -1) return;
  std::vector<std::string> folders;
  do {
    if ((entry.attrib & _A_SUBDIR) && entry.name != "." && entry.name != "..") folders.push_back(entry.name);
  } while (_findnext(h, &entry) == 0);
  _findclose(h);
  for (const auto& folder : folders) Recurse(relative + folder + "\\", mask);

  h = _findfirst((m_root + relative + mask).c_str(), &entry);
  if (h == -1) return;
  do {
    m_paths.push_back(relative + entry.name);
  } while (_findnext(h, &entry) == 0);
  _findclose(h);
}

std::string N_DirSearch::GetCurrent() const {
  return m_position < m_paths.size() ? m_paths[m_position] : std::string();
}

void N_DirSearch::Next() {
  if (m_position < m_paths.size()) ++m_position;
}

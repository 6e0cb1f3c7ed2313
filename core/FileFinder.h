#pragma once
// Script files are found by mask below the working directory's "data" folder:
// "scripts\*.shader", "scripts\strings\*.string" and the like.
#include "platform/win32/Files.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

/// Base of the finders: its first construction captures the working directory,
/// which later changes of the current directory do not affect until the capture is
/// renewed where the game root is set.
class N_FileList {
 public:
  N_FileList();
  virtual ~N_FileList() = default;
  /// The working directory as captured by the first finder (or the last renewal).
  static const std::string& WorkingDirectory();
  /// Captures the current directory again: called where the program (or a test) has
  /// made another folder its game root, so that the finders search there.
  static void RecaptureWorkingDirectory();

 private:
  static std::string& Captured();
};

/// Enumerates the files (not folders, not dot names) matching working directory +
/// "\data\" + mask, one at a time, in sorted order. Results are valid until the
/// next find call.
class N_FileFinder : public N_FileList {
 public:
  explicit N_FileFinder(const char* mask);
  ~N_FileFinder() override;
  N_FileFinder(const N_FileFinder&) = delete;
  N_FileFinder& operator=(const N_FileFinder&) = delete;

  /// Directory part + name of the first match (a bare name for masks without '/'), or null.
  const char* FindFirst();
  const char* FindNext();
  /// As above, but the full path working directory + "\data\scripts\" + name.
  const char* FindFirstScript();
  const char* FindNextScript();

 private:
  const char* Step(bool first, bool script);

  std::intptr_t m_handle = -1;
  std::string m_mask;
  std::string m_pattern;
  std::string m_directoryPart;
  std::string m_result;
};

/// A list-building search, optionally through sub-directories, with a text report.
/// Paths are relative to the root; a sub-folder's paths come before its parent's.
/// Links to folders are followed, but no folder is searched twice.
class N_DirSearch {
 public:
  /// Searches at once; replaces the report with the search's description.
  N_DirSearch(std::string& report, const std::string& directory, const std::string& mask,
              bool withSubdirectories, bool relativeToWorkingDirectory);

  /// The path at the current position, or empty at the end.
  std::string GetCurrent() const;
  void Next();
  std::size_t Count() const { return m_paths.size(); }

 private:
  void Recurse(const std::string& relative, const std::string& mask);

  std::string m_root;
  std::vector<std::string> m_paths;
  std::size_t m_position = 0;
  std::set<platform::FileIdentity> m_visited;  ///< folders searched, each once
};

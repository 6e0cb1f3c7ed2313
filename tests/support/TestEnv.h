#pragma once
// Helpers shared by the test suites.
#include "core/ErrorLog.h"
#include "core/Log.h"
#include "core/VarMng.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

/// A fresh empty directory below the system's temporary folder, made the current
/// directory and the file finders' working directory for the test's lifetime (both
/// restored, and the directory removed, afterwards; also when the process exits from
/// within the test; NAVO_KEEP_TEST_DIRS=1 keeps it).
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  /// Writes a file below the directory (slashes create folders).
  void Write(const std::string& relative, const std::string& content) const;
  /// Reads a file below the directory; empty when missing.
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string m_path;
  std::string m_previous;
  int m_owner = 0;  ///< the process that made it
};

/// The core services (log "navo.log" in the current directory, reporter, registry with
/// the built-in variables) behind the global pointers for one test.
class CoreServices {
 public:
  explicit CoreServices(bool builtins = true);
  ~CoreServices();
  CoreServices(const CoreServices&) = delete;
  CoreServices& operator=(const CoreServices&) = delete;

  /// The log's text so far.
  std::string LogText() const;

  std::unique_ptr<N_Log> log;
  std::unique_ptr<N_ErrorLog> errorLog;
  std::unique_ptr<N_VarMng> vars;
};

/// The game root assembled by the build (holds data/ with the sample content).
std::string GameRoot();

/// Copies a file or folder of the game root (path relative to it, e.g. the athlete
/// profiles the world needs to start) to the same place below the directory; a file
/// already there is kept, a folder already there gets what it lacks.
void CopyFromGameRoot(const TempDir& dir, const std::string& relative);

/// The athlete profiles every world start reads (its start ends without them).
inline constexpr const char* kProfilesFile = "data/profiles/playerprofiles.data";

/// Copies from the game root what the world's start loads for the athletes' skier
/// figures (every world start, after the profiles): the reference meshes with the
/// emitter control script, the skier actions' animations, the figures' particle effects
/// and materials, the athletes' gear, bib and ghost materials with their textures, the
/// body sounds' script and samples, and the sounds of the coach's cache (the comments,
/// the effects and the volume test) that every world registers. What is there already
/// is kept.
void CopyFigureData(const TempDir& dir);

/// The level the world loads at start-up (the default "mapname", "Beitostolen.ALF").
inline constexpr const char* kStartLevelFile = "data/levels/Beitostolen.alf";

/// Copies the sample courses with what they load (spectators, trees, props) below the
/// directory.
void CopyCoursesFromGameRoot(const TempDir& dir);

/// Writes "data/scripts/gui/menu.gui" below the directory: the two pages the world
/// shows at start-up ("Background" and "MainMenu"), empty and asking for no cursor,
/// and an empty start level (kStartLevelFile), for games and worlds started without
/// the sample pages and courses.
void WriteStartPages(const TempDir& dir);

/// Writes a level file of no records (every section empty) at the path below the
/// directory.
void WriteEmptyLevel(const TempDir& dir, const std::string& relative);

/// Success when every part occurs in the text after the one before it; otherwise names
/// the first part missing or out of order, with the text.
::testing::AssertionResult ContainsInOrder(const std::string& text, const std::vector<std::string>& parts);

}  // namespace test

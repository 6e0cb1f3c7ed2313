#include "tests/support/TestEnv.h"
#include "tests/support/LogLines.h"

#include "core/BuiltinVars.h"
#include "core/FileFinder.h"
#include "core/Globals.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace test {

namespace {

/// NAVO_KEEP_TEST_DIRS (set, not "0") keeps the folders to look at after a run.
bool KeepFolders() {
  const char* keep = std::getenv("NAVO_KEEP_TEST_DIRS");
  return keep && *keep && std::string(keep) != "0";
}

/// Removes the folder; a test may have left parts of it without write access.
void RemoveFolder(const std::string& path) {
  if (KeepFolders()) {
    std::fprintf(stderr, "kept %s\n", path.c_str());
    return;
  }
  std::error_code ec;
  fs::remove_all(path, ec);
  if (!ec) return;
  for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path, ec);
}

/// The folders of this process still alive, removed when it exits from within a test:
/// a death test's child (and a critical error) ends with std::exit, past every
/// destructor. A forked child inherits the list but leaves its parent's folders alone.
std::mutex g_liveMutex;
std::vector<std::pair<std::string, pid_t>>& LiveFolders() {
  static auto* live = new std::vector<std::pair<std::string, pid_t>>();
  return *live;
}

void RemoveLiveFoldersAtExit() {
  std::lock_guard<std::mutex> lock(g_liveMutex);
  for (const auto& [path, owner] : LiveFolders()) {
    if (owner == ::getpid()) RemoveFolder(path);
  }
  LiveFolders().clear();
}

}  // namespace

TempDir::TempDir() {
  m_previous = fs::current_path().string();
  std::string tmpl = (fs::temp_directory_path() / "navo-test-XXXXXX").string();
  char* made = ::mkdtemp(tmpl.data());
  EXPECT_NE(made, nullptr);
  m_path = tmpl;
  m_owner = ::getpid();
  {
    std::lock_guard<std::mutex> lock(g_liveMutex);
    static const bool registered = std::atexit(RemoveLiveFoldersAtExit) == 0;
    (void)registered;
    LiveFolders().emplace_back(m_path, ::getpid());
  }
  fs::current_path(m_path);
  N_FileList::RecaptureWorkingDirectory();  // the test's game root
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::current_path(m_previous, ec);
  N_FileList::RecaptureWorkingDirectory();
  {
    std::lock_guard<std::mutex> lock(g_liveMutex);
    auto& live = LiveFolders();
    for (auto it = live.begin(); it != live.end(); ++it) {
      if (it->first == m_path) {
        live.erase(it);
        break;
      }
    }
  }
  // A forked child that returns through here leaves its parent's folder in place.
  if (m_owner == ::getpid()) RemoveFolder(m_path);
}

void TempDir::Write(const std::string& relative, const std::string& content) const {
  const fs::path p = fs::path(m_path) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(fs::path(m_path) / relative, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempDir::Exists(const std::string& relative) const { return fs::exists(fs::path(m_path) / relative); }

CoreServices::CoreServices(bool builtins) {
  log = std::make_unique<N_Log>("navo.log");
  g_log = log.get();
  errorLog = std::make_unique<N_ErrorLog>(log.get());
  g_errorLog = errorLog.get();
  vars = std::make_unique<N_VarMng>();
  g_varMng = vars.get();
  if (builtins) RegisterBuiltinVars();
}

CoreServices::~CoreServices() {
  g_varMng = nullptr;
  g_errorLog = nullptr;
  g_log = nullptr;
}

std::string CoreServices::LogText() const {
  std::ifstream in("navo.log", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string GameRoot() {
  const char* root = std::getenv("NAVO_GAME_ROOT");
  return root ? root : "";
}

void CopyFromGameRoot(const TempDir& dir, const std::string& relative) {
  const fs::path target = fs::path(dir.Path()) / relative;
  const fs::path source = fs::path(GameRoot()) / relative;
  if (fs::exists(target)) {
    if (!fs::is_directory(target)) return;             // a test's own file
    if (fs::equivalent(target, source)) return;        // the game root's, through a link
  }
  // A folder that is there already gets what it lacks: the figures' and the courses'
  // data share "data/anim", whichever is copied first.
  fs::create_directories(target.parent_path());
  fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::skip_existing);
}

void CopyFigureData(const TempDir& dir) {
  for (const char* part : {"data/anim/ref_meshe", "data/anim/lyziari", "data/scripts/figures.particle",
                           "data/scripts/figures.shader", "data/scripts/athletes.shader", "data/effects/gear.fx",
                           "data/textures/lyziari", "data/scripts/Sounds/body.ssd", "data/sounds/body",
                           // the coach's cache: comments, effects and the volume test
                           "data/scripts/Sounds/trainer.ssd", "data/sounds/trainer", "data/scripts/Sounds/effects.ssd",
                           "data/sounds/fx", "data/scripts/Sounds/menu.ssd", "data/sounds/menu"}) {
    CopyFromGameRoot(dir, part);
  }
}

void CopyCoursesFromGameRoot(const TempDir& dir) {
  for (const char* folder : {"data/levels", "data/Ai", "data/meshes", "data/anim"}) CopyFromGameRoot(dir, folder);
}

void WriteStartPages(const TempDir& dir) {
  dir.Write("data/scripts/gui/menu.gui",
            "// The pages the start-up shows, empty.\n"
            "Background\n{\nshowcursor false\n}\n"
            "MainMenu\n{\nshowcursor false\n}\n");
  WriteEmptyLevel(dir, kStartLevelFile);
}

void WriteEmptyLevel(const TempDir& dir, const std::string& relative) {
  // The level file's header: magic, version 150, every section empty.
  std::string header(2048, '\0');
  header.replace(0, 8, std::string("ALF \x96\0\0\0", 8));
  dir.Write(relative, header);
}

std::string WithoutCallbackLines(const std::string& log) {
  std::istringstream in(log);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("!!! Bad callback: ", 0) != 0) kept += line + "\n";
  }
  return kept;
}

::testing::AssertionResult ContainsInOrder(const std::string& text, const std::vector<std::string>& parts) {
  std::size_t at = 0;
  for (const std::string& part : parts) {
    const std::size_t found = text.find(part, at);
    if (found == std::string::npos) {
      return ::testing::AssertionFailure() << "missing or out of order: " << part << "\ntext:\n" << text;
    }
    at = found + part.size();
  }
  return ::testing::AssertionSuccess();
}

}  // namespace test

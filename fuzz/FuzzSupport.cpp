#include "fuzz/FuzzSupport.h"

#include "core/BuiltinVars.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32.h"
#include "platform/win32/Debug.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

std::string g_workDir;

void RemoveWorkDir() {
  std::error_code ec;
  fs::current_path("/", ec);
  fs::remove_all(g_workDir, ec);
}

/// Once per process, before the first input (and before any file finder captures the
/// working directory).
void Setup() {
  setenv("NAVO_HEADLESS", "1", 1);
  setenv("ALSOFT_DRIVERS", "null", 1);  // the sound targets play to no device
  std::string pattern = (fs::temp_directory_path() / "navo-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("navo-fuzz: mkdtemp");
    std::abort();
  }
  g_workDir = pattern;
  fs::current_path(g_workDir);
  fs::create_directories("data/tables");  // as in the game root, where the game saves its tables
  std::atexit(RemoveWorkDir);

  platform::SetMessageBoxHook([](const std::string&, const std::string&) {});
  platform::SetDebugOutputHook([](const std::string&) {});
  SetCriticalExitHook([](int status) { throw CriticalError{status}; });

  // Kept for the whole process, like the game's; its lines go nowhere.
  g_log = new N_Log(nullptr);
  g_errorLog = new N_ErrorLog(g_log);
  g_varMng = new N_VarMng();
  RegisterBuiltinVars();
}

}  // namespace

void WriteFile(std::string_view enginePath, const std::uint8_t* data, std::size_t size) {
  WriteFile(enginePath, std::string_view(reinterpret_cast<const char*>(data), size));
}

void WriteFile(std::string_view enginePath, std::string_view text) {
  std::string path(enginePath);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  const fs::path file(path);
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  Check(out.good(), "the input could not be written");
}

std::vector<InputFile> SplitFiles(std::string_view input) {
  constexpr std::string_view kMark = "//@ ";
  std::vector<InputFile> files;
  std::string name;       // of the file being read
  std::size_t start = 0;  // where its bytes start
  for (std::size_t line = 0; line <= input.size();) {
    const std::size_t end = std::min(input.find('\n', line), input.size());
    if (input.substr(line).starts_with(kMark) && files.size() + 1 < kMaxInputFiles) {
      files.push_back({std::move(name), input.substr(start, line - start)});
      name = std::string(input.substr(line + kMark.size(), end - line - kMark.size()));
      if (!name.empty() && name.back() == '\r') name.pop_back();
      start = std::min(end + 1, input.size());
    }
    line = end + 1;
  }
  files.push_back({std::move(name), input.substr(start)});
  return files;
}

namespace {

bool PlainRelativePath(const std::string& name) {
  if (name.empty() || name.size() > 128) return false;
  std::size_t partStart = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '\\' || name[i] == '/') {
      const std::string_view part = std::string_view(name).substr(partStart, i - partStart);
      if (part.empty() || part == "." || part == "..") return false;
      partStart = i + 1;
      continue;
    }
    const char c = name[i];
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                       c == '-' || c == '.';
    if (!plain) return false;
  }
  return true;
}

}  // namespace

void WriteFiles(std::string_view folder, const std::vector<InputFile>& files) {
  std::string base(folder);
  for (char& c : base) {
    if (c == '\\') c = '/';
  }
  std::error_code ec;
  fs::remove_all(base, ec);
  fs::create_directories(base, ec);
  for (const InputFile& file : files) {
    if (!PlainRelativePath(file.name)) continue;
    std::string path = base + "/" + file.name;
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    // A name that needs a file where an earlier name made a folder ("a" after "a/b"),
    // or a folder where it made a file ("a/b" after "a"), cannot be written.
    const fs::path target(path);
    if (fs::is_directory(target, ec)) continue;
    fs::create_directories(target.parent_path(), ec);
    if (!fs::is_directory(target.parent_path(), ec)) continue;
    WriteFile(path, file.bytes);
  }
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "navo-fuzz: %s\n", what);
  std::abort();
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Setup();
  return 0;
}

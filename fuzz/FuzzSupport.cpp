#include "fuzz/FuzzSupport.h"

#include "core/BuiltinVars.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32.h"
#include "platform/win32/Debug.h"

#include <unistd.h>

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
  fs::create_directories("data");
  std::atexit(RemoveWorkDir);

  platform::SetMessageBoxHook([](const std::string&, const std::string&) {});
  platform::SetDebugOutputHook([](const std::string&) {});
  SetCriticalExitHook([](int status) { throw CriticalError{status}; });

  // Kept for the whole process, like the game's.
  g_log = new N_Log("/dev/null");
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

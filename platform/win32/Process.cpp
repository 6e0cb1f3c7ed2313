#include "platform/win32/Process.h"

#include "platform/win32/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <vector>

extern char** environ;

namespace {

constexpr HANDLE kCurrentProcess = -1;
constexpr HANDLE kCurrentThread = -2;
constexpr HMODULE kInstanceToken = 1;

DWORD g_lastError = ERROR_SUCCESS;
std::map<HANDLE, int> g_mutexFiles;  // handle -> lock file descriptor
HANDLE g_nextHandle = 1;
int g_threadPriority = THREAD_PRIORITY_NORMAL;

HANDLE AddMutexHandle(int fd) {
  g_mutexFiles[g_nextHandle] = fd;
  return g_nextHandle++;
}

/// The lock of the named mutexes: the current directory, the game root, opened for
/// reading only (every copy that can run can open it; nothing is created in it).
int OpenGameRootLock() { return ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

struct NiceOfClass {
  DWORD priorityClass;
  int nice;
};
constexpr NiceOfClass kClasses[] = {
    {IDLE_PRIORITY_CLASS, 19},  {BELOW_NORMAL_PRIORITY_CLASS, 10}, {NORMAL_PRIORITY_CLASS, 0},
    {ABOVE_NORMAL_PRIORITY_CLASS, -5}, {HIGH_PRIORITY_CLASS, -10}, {REALTIME_PRIORITY_CLASS, -20},
};

/// The descriptors open in this process above the standard three.
std::vector<int> OpenDescriptors() {
  std::vector<int> fds;
  DIR* dir = ::opendir("/proc/self/fd");
  if (!dir) return fds;
  const int own = ::dirfd(dir);
  while (dirent* e = ::readdir(dir)) {
    char* end = nullptr;
    const long fd = std::strtol(e->d_name, &end, 10);
    if (end != e->d_name && *end == '\0' && fd > 2 && fd != own) fds.push_back(static_cast<int>(fd));
  }
  ::closedir(dir);
  return fds;
}

}  // namespace

DWORD GetLastError() { return g_lastError; }
void SetLastError(DWORD error) { g_lastError = error; }

namespace platform {

std::string MutexLockFolder() { return CurrentDirectory(); }

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
    buffer.resize(buffer.size() * 2);  // possibly cut: try again with more room
  }
}

}  // namespace platform

HANDLE OpenMutexA(DWORD, BOOL, const char*) {
  const int fd = OpenGameRootLock();
  if (fd < 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
    // Nobody holds it (or the folder takes no lock at all).
    ::flock(fd, LOCK_UN);
    ::close(fd);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return AddMutexHandle(fd);
}

HANDLE CreateMutexA(void*, BOOL, const char*) {
  const int fd = OpenGameRootLock();
  if (fd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    SetLastError(ERROR_SUCCESS);
  } else if (errno == EWOULDBLOCK) {
    SetLastError(ERROR_ALREADY_EXISTS);
  } else {
    // A folder that takes no lock (some network file systems): the copy runs unlocked.
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  return AddMutexHandle(fd);
}

BOOL CloseHandle(HANDLE handle) {
  auto it = g_mutexFiles.find(handle);
  if (it == g_mutexFiles.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ::close(it->second);  // closing the last descriptor drops the lock
  g_mutexFiles.erase(it);
  return TRUE;
}

HMODULE GetModuleHandleA(const char* moduleName) { return moduleName ? 0 : kInstanceToken; }

FARPROC GetProcAddress(HMODULE module, const char* procName) {
  if (module != kInstanceToken) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const platform::ExportedFunction* entry = platform::FindExport(procName);
  if (!entry) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return entry->address;
}

namespace platform {

namespace {

/// By exact name; filled at static initialisation, so a function-local object.
std::map<std::string, ExportedFunction>& Exports() {
  static std::map<std::string, ExportedFunction> exports;
  return exports;
}

}  // namespace

ExportTable::ExportTable(std::initializer_list<ExportedFunction> functions) {
  for (const ExportedFunction& function : functions) {
    if (function.name && function.address) Exports().try_emplace(function.name, function);
  }
}

const ExportedFunction* FindExport(const char* name) {
  if (!name) return nullptr;
  const auto it = Exports().find(name);
  return it == Exports().end() ? nullptr : &it->second;
}

std::size_t ExportCount() { return Exports().size(); }

}  // namespace platform

BOOL CreateProcessA(const char* applicationName, char*, void*, void*, BOOL inheritHandles, DWORD,
                    void* environment, const char* currentDirectory, STARTUPINFOA*,
                    PROCESS_INFORMATION* processInformation) {
  if (!applicationName || !*applicationName) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // Only the caller's own environment and directory are supported: a Windows
  // environment block is no argv-style list and must not be read as one.
  if (environment || currentDirectory) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!inheritHandles) {
    for (int fd : OpenDescriptors()) posix_spawn_file_actions_addclose(&actions, fd);
  }
  std::string program(applicationName);
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  const int result = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (processInformation) processInformation->dwProcessId = static_cast<DWORD>(pid);
  return TRUE;
}

BOOL SetEnvironmentVariableA(const char* name, const char* value) {
  if (!name || !*name) return FALSE;
  const int result = value ? ::setenv(name, value, 1) : ::unsetenv(name);
  return result == 0 ? TRUE : FALSE;
}

HANDLE GetCurrentProcess() { return kCurrentProcess; }
HANDLE GetCurrentThread() { return kCurrentThread; }

DWORD GetPriorityClass(HANDLE process) {
  if (process != kCurrentProcess) return 0;
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, 0);
  if (errno != 0) return 0;
  // The class whose nice value lies nearest.
  DWORD best = NORMAL_PRIORITY_CLASS;
  int bestDistance = 1000;
  for (const NiceOfClass& c : kClasses) {
    const int distance = c.nice > nice ? c.nice - nice : nice - c.nice;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = c.priorityClass;
    }
  }
  return best;
}

BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) {
  if (process != kCurrentProcess) return FALSE;
  // Keep a nice value that already lies in the class (a restore after a refused change).
  if (GetPriorityClass(process) == priorityClass) return TRUE;
  for (const NiceOfClass& c : kClasses) {
    if (c.priorityClass == priorityClass) return ::setpriority(PRIO_PROCESS, 0, c.nice) == 0 ? TRUE : FALSE;
  }
  return FALSE;
}

int GetThreadPriority(HANDLE) { return g_threadPriority; }

BOOL SetThreadPriority(HANDLE thread, int priority) {
  if (thread != kCurrentThread) return FALSE;
  g_threadPriority = priority;
  return TRUE;
}

BOOL GetProcessAffinityMask(HANDLE process, DWORD_PTR* processMask, DWORD_PTR* systemMask) {
  if (process != kCurrentProcess || !processMask || !systemMask) return FALSE;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) != 0) return FALSE;
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  constexpr int kBits = static_cast<int>(sizeof(DWORD_PTR) * 8);
  *processMask = 0;
  *systemMask = 0;
  for (int cpu = 0; cpu < kBits; ++cpu) {
    if (CPU_ISSET(cpu, &set)) *processMask |= DWORD_PTR{1} << cpu;
    if (cpu < online) *systemMask |= DWORD_PTR{1} << cpu;
  }
  return TRUE;
}

BOOL SetProcessAffinityMask(HANDLE process, DWORD_PTR mask) {
  if (process != kCurrentProcess || mask == 0) return FALSE;
  cpu_set_t set;
  CPU_ZERO(&set);
  constexpr int kBits = static_cast<int>(sizeof(DWORD_PTR) * 8);
  for (int cpu = 0; cpu < kBits; ++cpu) {
    if (mask & (DWORD_PTR{1} << cpu)) CPU_SET(cpu, &set);
  }
  return ::sched_setaffinity(0, sizeof set, &set) == 0 ? TRUE : FALSE;
}

void Sleep(DWORD milliseconds) {
  timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

#pragma once
// The process, Windows-shaped, over POSIX: the single-instance named mutex, the own
// executable and its restart, the program's exported functions by name (its export
// table), environment, process and thread priority, processor affinity, Sleep.
//
// A named mutex is an exclusive flock on the current directory, the game root, so that
// exactly the copies sharing a game root exclude each other, whatever their user,
// environment or runtime folder, and copies of two roots both run. Nothing is created
// for it: a read-only root locks as well. The kernel drops the lock when the process
// ends, however it ends; the folder is opened close-on-exec, so a started program
// never inherits it. The game has one mutex; its name is not part of the lock.
#include "platform/win32/Types.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <typeinfo>

/// Kernel object handles are small ids of the layer (0 means none).
using HANDLE = std::int32_t;
using HMODULE = HINSTANCE;
using DWORD_PTR = std::uintptr_t;

constexpr DWORD MUTEX_ALL_ACCESS = 0x001F0001;
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD BELOW_NORMAL_PRIORITY_CLASS = 0x00004000;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD ABOVE_NORMAL_PRIORITY_CLASS = 0x00008000;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;
constexpr DWORD REALTIME_PRIORITY_CLASS = 0x00000100;

constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;

DWORD GetLastError();
void SetLastError(DWORD error);

/// Opens an existing mutex: a handle when another process holds it, else 0 with
/// ERROR_FILE_NOT_FOUND.
HANDLE OpenMutexA(DWORD access, BOOL inherit, const char* name);
/// Creates the mutex and takes it. When another process holds it already the handle
/// is still returned, without the ownership, and GetLastError is ERROR_ALREADY_EXISTS.
/// 0 when the lock file cannot be made.
HANDLE CreateMutexA(void* attributes, BOOL initialOwner, const char* name);
/// Closes a handle (a mutex's lock is released with its last handle).
BOOL CloseHandle(HANDLE handle);

/// The program's instance: a constant token (nonzero) for a null module name.
HMODULE GetModuleHandleA(const char* moduleName);

/// An exported function, called only after a cast back to its own type (the plain
/// function type converts to any other without a warning).
using FARPROC = void (*)();

/// The function of that exact name in the program's export table (module: the token
/// of GetModuleHandleA(NULL)), or null. As on Windows, where the call reads the
/// module's export table, only what the program exports on purpose is found: every
/// other name, the executable's own functions ("main", mangled C++ names) and those of
/// the libraries ("exit") included, gives null with ERROR_PROC_NOT_FOUND. Another
/// module gives null with ERROR_MOD_NOT_FOUND.
FARPROC GetProcAddress(HMODULE module, const char* procName);

namespace platform {

/// One function of the program's export table, with its own type, so that a caller
/// can tell a function of another kind from a missing one.
struct ExportedFunction {
  const char* name = nullptr;
  FARPROC address = nullptr;
  const std::type_info* type = nullptr;  ///< of the function's pointer
};

/// The entry of a function under a name: `platform::Export("ArcadeClick", &ArcadeClick)`.
template <typename Function>
ExportedFunction Export(const char* name, Function* function) {
  return {name, reinterpret_cast<FARPROC>(function), &typeid(Function*)};
}

/// Adds functions to the export table; a name already there keeps its first entry.
/// Made at static initialisation by a namespace-scope object of the library that
/// exports (linked whole), so that the table is complete before main:
/// `const platform::ExportTable kExports{platform::Export("Name", &Name), ...};`
struct ExportTable {
  ExportTable(std::initializer_list<ExportedFunction> functions);
};

/// The entry of that exact name, or null.
const ExportedFunction* FindExport(const char* name);
/// The names in the export table.
std::size_t ExportCount();

/// How a typed look-up went.
enum class ExportLookup { Found, Missing, OtherType };

/// The exported function of that name when its type is Pointer (a function pointer
/// type); null otherwise, with the reason in lookup.
template <typename Pointer>
Pointer FindExportedFunction(const char* name, ExportLookup& lookup) {
  const ExportedFunction* entry = FindExport(name);
  lookup = !entry ? ExportLookup::Missing : *entry->type != typeid(Pointer) ? ExportLookup::OtherType
                                                                            : ExportLookup::Found;
  return lookup == ExportLookup::Found ? reinterpret_cast<Pointer>(entry->address) : nullptr;
}

}  // namespace platform

struct STARTUPINFOA {
  DWORD cb = sizeof(STARTUPINFOA);
};

struct PROCESS_INFORMATION {
  HANDLE hProcess = 0;
  HANDLE hThread = 0;
  DWORD dwProcessId = 0;
  DWORD dwThreadId = 0;
};

/// Starts a program with posix_spawn: argv is the application name alone (a command
/// line is not split), with the current environment and directory (another
/// environment block or directory is refused). Without inherited handles
/// every descriptor above the standard three is closed in the new process. TRUE on
/// success. The new process is not waited for.
BOOL CreateProcessA(const char* applicationName, char* commandLine, void* processAttributes,
                    void* threadAttributes, BOOL inheritHandles, DWORD creationFlags, void* environment,
                    const char* currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation);

/// Sets (or with a null value removes) a variable of the process environment.
BOOL SetEnvironmentVariableA(const char* name, const char* value);

/// Pseudo handles of the calling process and thread.
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();

/// The priority class from the process's nice value; 0 for another process.
DWORD GetPriorityClass(HANDLE process);
/// Sets the nice value of the class; FALSE when the system refuses (raising needs rights).
BOOL SetPriorityClass(HANDLE process, DWORD priorityClass);
/// Thread priorities are relative to the class, which Linux has no room for: the value
/// is remembered and answered, and changes nothing.
int GetThreadPriority(HANDLE thread);
BOOL SetThreadPriority(HANDLE thread, int priority);
/// The processors the process may run on, and those of the system (the first 64).
BOOL GetProcessAffinityMask(HANDLE process, DWORD_PTR* processMask, DWORD_PTR* systemMask);
BOOL SetProcessAffinityMask(HANDLE process, DWORD_PTR mask);

/// Suspends the thread for the milliseconds given.
void Sleep(DWORD milliseconds);

namespace platform {

/// The full path of the running executable (from procfs; no length limit); empty on failure.
std::string ExecutablePath();
/// The folder whose lock the named mutexes are: the current directory (the game root).
std::string MutexLockFolder();

}  // namespace platform

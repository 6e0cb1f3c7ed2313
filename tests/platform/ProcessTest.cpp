// The named mutex, the own executable, starting programs, priorities, system information.
#include "platform/win32.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

/// An exported function of this test executable, found by name.
extern "C" int ProcessTestExport(int value) { return value * 3; }
const platform::ExportTable kProcessTestExports{platform::Export("ProcessTestExport", &ProcessTestExport)};

namespace {

/// Puts the lock files of the test into its own directory.
struct PrivateRuntimeDir {
  explicit PrivateRuntimeDir(const std::string& path) { setenv("XDG_RUNTIME_DIR", path.c_str(), 1); }
  ~PrivateRuntimeDir() { unsetenv("XDG_RUNTIME_DIR"); }
};

TEST(Mutex, SecondCopyFindsItUntilTheFirstClosesIt) {
  test::TempDir dir;  // the current directory: the game root
  PrivateRuntimeDir runtime(dir.Path());
  EXPECT_EQ(platform::MutexLockFolder(), dir.Path());
  EXPECT_EQ(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "Vendral_kktina"), 0);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  const HANDLE first = CreateMutexA(nullptr, TRUE, "Vendral_kktina");
  ASSERT_NE(first, 0);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  // flock conflicts between open files even in one process, as between two copies.
  const HANDLE seen = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "Vendral_kktina");
  EXPECT_NE(seen, 0);
  const HANDLE second = CreateMutexA(nullptr, TRUE, "Vendral_kktina");
  EXPECT_NE(second, 0);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(CloseHandle(seen));
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_TRUE(CloseHandle(first));
  EXPECT_FALSE(CloseHandle(first));
  // Nothing was created for it, and nobody holds it now.
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_EQ(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "Vendral_kktina"), 0);
}

TEST(Mutex, TheLockIsTheGameRootWhateverTheRuntimeFolder) {
  // The lock used to live in $XDG_RUNTIME_DIR: two copies of one game root started
  // with different runtime folders (or one without) both ran, and copies of two roots
  // sharing a runtime folder excluded each other. Now a root's lock is seen from every
  // runtime folder, and another root's lock is not.
  test::TempDir dir;
  dir.Write("private/.keep", "");
  dir.Write("other root/.keep", "");
  ::chmod((dir.Path() + "/private").c_str(), 0700);
  const HANDLE first = CreateMutexA(nullptr, TRUE, "Vendral_kktina");
  ASSERT_NE(first, 0);
  for (const char* runtime : {"private", "", "/tmp", "missing"}) {
    if (*runtime) {
      setenv("XDG_RUNTIME_DIR", runtime[0] == '/' ? runtime : (dir.Path() + "/" + runtime).c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
    EXPECT_EQ(platform::MutexLockFolder(), dir.Path()) << runtime;
    const HANDLE seen = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "Vendral_kktina");
    EXPECT_NE(seen, 0) << runtime;
    CloseHandle(seen);
  }
  ASSERT_TRUE(SetCurrentDirectoryA((dir.Path() + "/other root").c_str()));
  const HANDLE other = CreateMutexA(nullptr, TRUE, "Vendral_kktina");
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "another root's copy runs";
  CloseHandle(other);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  CloseHandle(first);
  unsetenv("XDG_RUNTIME_DIR");
}

TEST(Process, ExportedFunctionsAreTheExecutablesOwn) {
  const HMODULE self = GetModuleHandleA(nullptr);
  const FARPROC found = GetProcAddress(self, "ProcessTestExport");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(reinterpret_cast<int (*)(int)>(found)(5), 15);
  // Names of the libraries the program loaded, of the executable's own functions that
  // it does not export, a wrong case, nothing, another module.
  struct Refused {
    HMODULE module;
    const char* name;
    DWORD error;
  };
  for (const Refused& r : {Refused{self, "exit", ERROR_PROC_NOT_FOUND}, Refused{self, "abort", ERROR_PROC_NOT_FOUND},
                           Refused{self, "cos", ERROR_PROC_NOT_FOUND}, Refused{self, "main", ERROR_PROC_NOT_FOUND},
                           Refused{self, "malloc", ERROR_PROC_NOT_FOUND},
                           Refused{self, "processtestexport", ERROR_PROC_NOT_FOUND},
                           Refused{self, "", ERROR_PROC_NOT_FOUND}, Refused{self, nullptr, ERROR_PROC_NOT_FOUND},
                           Refused{self + 1, "ProcessTestExport", ERROR_MOD_NOT_FOUND}}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetProcAddress(r.module, r.name), nullptr) << (r.name ? r.name : "(null)");
    EXPECT_EQ(GetLastError(), r.error) << (r.name ? r.name : "(null)");
  }
}

TEST(Process, ExecutablePathAndStartingPrograms) {
  EXPECT_EQ(platform::ExecutablePath(), std::filesystem::canonical("/proc/self/exe").string());
  EXPECT_NE(GetModuleHandleA(nullptr), 0);

  test::TempDir dir;
  // A started program runs in this directory with this environment; it gets no
  // arguments. A shell reads a script from its standard input... so start a script
  // file directly: it sees the environment and the directory.
  dir.Write("probe.sh", "#!/bin/sh\necho \"$PROBE_VALUE $#\" > \"$(pwd)/probe.out\"\n");
  std::filesystem::permissions(dir.Path() + "/probe.sh", std::filesystem::perms::owner_all);
  ASSERT_TRUE(SetEnvironmentVariableA("PROBE_VALUE", "hello"));
  PROCESS_INFORMATION info;
  STARTUPINFOA startup;
  ASSERT_TRUE(CreateProcessA((dir.Path() + "/probe.sh").c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info));
  int status = 0;
  ASSERT_EQ(waitpid(static_cast<pid_t>(info.dwProcessId), &status, 0), static_cast<pid_t>(info.dwProcessId));
  EXPECT_EQ(dir.Read("probe.out"), "hello 0\n");
  ASSERT_TRUE(SetEnvironmentVariableA("PROBE_VALUE", nullptr));
  EXPECT_EQ(std::getenv("PROBE_VALUE"), nullptr);
  EXPECT_FALSE(CreateProcessA((dir.Path() + "/missing").c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info));
  // A Windows environment block ("A=1\0\0") or another directory is refused, not misread.
  char block[] = "PROBE_VALUE=block\0";
  EXPECT_FALSE(CreateProcessA((dir.Path() + "/probe.sh").c_str(), nullptr, nullptr, nullptr, FALSE, 0, block,
                              nullptr, &startup, &info));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(CreateProcessA((dir.Path() + "/probe.sh").c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                              "/", &startup, &info));
}

TEST(Process, PriorityAndAffinityRestoreWhatTheyFound) {
  const HANDLE self = GetCurrentProcess();
  const DWORD priorityClass = GetPriorityClass(self);
  EXPECT_NE(priorityClass, 0u);
  EXPECT_TRUE(SetPriorityClass(self, priorityClass)) << "setting the class it has changes nothing";
  SetPriorityClass(self, REALTIME_PRIORITY_CLASS);  // refused without rights: no matter
  SetPriorityClass(self, priorityClass);
  EXPECT_EQ(GetPriorityClass(self), priorityClass);
  EXPECT_EQ(GetPriorityClass(self + 5), 0u);

  EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_TIME_CRITICAL);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);

  DWORD_PTR processMask = 0;
  DWORD_PTR systemMask = 0;
  ASSERT_TRUE(GetProcessAffinityMask(self, &processMask, &systemMask));
  EXPECT_NE(processMask, 0u);
  EXPECT_FALSE(SetProcessAffinityMask(self, 0)) << "no processor at all is refused";
  EXPECT_TRUE(SetProcessAffinityMask(self, processMask));
  DWORD_PTR after = 0;
  ASSERT_TRUE(GetProcessAffinityMask(self, &after, &systemMask));
  EXPECT_EQ(after, processMask);
}

TEST(SystemInfo, ReleaseNumbers) {
  struct Case {
    const char* release;
    unsigned major, minor, build;
  };
  for (const Case& c : {Case{"6.1.0-18-amd64", 6, 1, 0}, Case{"5.15.153.1-microsoft-standard-WSL2", 5, 15, 153},
                        Case{"6.8", 6, 8, 0}, Case{"4.19.0", 4, 19, 0}, Case{"weird", 0, 0, 0}, Case{"", 0, 0, 0}}) {
    unsigned major = 9, minor = 9, build = 9;
    platform::ParseRelease(c.release, major, minor, build);
    EXPECT_EQ(major, c.major) << c.release;
    EXPECT_EQ(minor, c.minor) << c.release;
    EXPECT_EQ(build, c.build) << c.release;
  }
  const platform::OsVersion version = platform::GetOsVersion();
  EXPECT_EQ(version.name, "Linux");
  EXPECT_FALSE(version.release.empty());
  EXPECT_GT(version.major, 0u);
}

TEST(SystemInfo, ProcessorsFeaturesAndMemoryAreConsistent) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(info.dwNumberOfProcessors, static_cast<DWORD>(sysconf(_SC_NPROCESSORS_ONLN)));
#if defined(__x86_64__)
  EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
  EXPECT_TRUE(platform::HasCpuId());
  // Every x86-64 processor has MMX, SSE and SSE2.
  EXPECT_TRUE(IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE));
  EXPECT_TRUE(IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE));
  EXPECT_TRUE(IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE));
  const std::uint64_t a = platform::ReadTimeStampCounter();
  EXPECT_GT(platform::ReadTimeStampCounter(), a);
#endif
  EXPECT_FALSE(IsProcessorFeaturePresent(12345));
  MEMORYSTATUS memory;
  GlobalMemoryStatus(&memory);
  EXPECT_GT(memory.dwTotalPhys, 0u);
  EXPECT_LE(memory.dwAvailPhys, memory.dwTotalPhys);
  EXPECT_LE(memory.dwMemoryLoad, 100u);
  EXPECT_GE(memory.dwTotalPageFile, memory.dwTotalPhys);
  EXPECT_LE(memory.dwAvailPageFile, memory.dwTotalPageFile);
  EXPECT_GT(memory.dwTotalVirtual, memory.dwAvailVirtual);
  EXPECT_GT(memory.dwAvailVirtual, 0u);
}

}  // namespace

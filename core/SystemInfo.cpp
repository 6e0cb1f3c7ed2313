#include "core/SystemInfo.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/KeyboardHook.h"
#include "core/Log.h"
#include "core/VarMng.h"

namespace {

constexpr std::uint32_t kTimeStampCounterBit = 1u << 4;  // CPUID 1, EDX

HHOOK g_keyboardHook = 0;

const char* YesNo(DWORD feature) { return IsProcessorFeaturePresent(feature) ? "Yes" : "No"; }

int Megabytes(SIZE_T bytes) { return static_cast<int>(bytes >> 20); }

void LogProcessors(N_Log& log) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  log.Print("--- Number of processors: %u\n", info.dwNumberOfProcessors);
  if (info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL) {
    log.Print("--- Processor architecture: %s", ProcessorLevelName(info.wProcessorLevel).c_str());
  }
  std::uint64_t hertz = N_CpuInfo(100);
  // Without a time-stamp counter (other processors) the system's own figure stands in.
  if (hertz == 0) hertz = static_cast<std::uint64_t>(platform::CpuInfoMHz() * 1000000.0);
  log.Print("--- Processor Frequency: %s", FormatProcessorFrequency(hertz).c_str());
  log.Print("--- 3D-Now instruction set: %s\n", YesNo(PF_3DNOW_INSTRUCTIONS_AVAILABLE));
  log.Print("--- MMX instruction set: %s\n", YesNo(PF_MMX_INSTRUCTIONS_AVAILABLE));
  log.Print("--- SSE instruction set: %s\n", YesNo(PF_XMMI_INSTRUCTIONS_AVAILABLE));
  log.Print("--- SSE2 instruction set: %s\n", YesNo(PF_XMMI64_INSTRUCTIONS_AVAILABLE));
}

void LogMemory(N_Log& log) {
  MEMORYSTATUS status;
  GlobalMemoryStatus(&status);
  log.Print("--- Memory load: %d %%\n", static_cast<int>(status.dwMemoryLoad));
  log.Print("--- Total physical memory: %d MB\n", Megabytes(status.dwTotalPhys));
  log.Print("--- Available physical memory: %d MB\n", Megabytes(status.dwAvailPhys));
  log.Print("--- Total virtual memory: %d MB\n", Megabytes(status.dwTotalVirtual));
  log.Print("--- Available virtual memory: %d MB\n", Megabytes(status.dwAvailVirtual));
  log.Print("--- Total page file size: %d MB\n", Megabytes(status.dwTotalPageFile));
  log.Print("--- Available page file size: %d MB\n", Megabytes(status.dwAvailPageFile));
}

void LogOperatingSystem(N_Log& log) {
  const platform::OsVersion version = platform::GetOsVersion();
  log.Print("--- Operating system: Linux %s", version.release.c_str());
  log.Print("\n--- Operating system version: %u.%u.%u\n", version.major, version.minor, version.build);
}

}  // namespace

std::string FormatProcessorFrequency(std::uint64_t hertz) {
  const std::uint64_t megahertz = hertz / 1000000;
  if (megahertz > 1000) return FormatString("%.1f GHz\n", static_cast<double>(megahertz) * 0.001);
  return FormatString("%.0f MHz\n", static_cast<double>(megahertz));
}

std::string ProcessorLevelName(int level) {
  switch (level) {
    case 3: return "Intel 80386\n";
    case 4: return "Intel 80486\n";
    case 5: return "Intel Pentium\n";
    case 6: return "Intel Pentium Pro or Pentium II\n";
    case 7: return "Intel Pentium 3\n";
    case 15: return "Intel Pentium 4\n";
    default: return FormatString("%d - Unknown\n", level);
  }
}

void SystemInfoToLog() {
  if (!g_log) return;
  N_Log& log = *g_log;
  log.Print("\n--- System info\n");
  LogProcessors(log);
  LogMemory(log);
  LogOperatingSystem(log);
  if (g_varMng && g_varMng->GetInt("v_fullscreen") == 1 && !g_keyboardHook) {
    g_keyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, N_KeyboardHook, GetModuleHandleA(nullptr), 0);
    SetKeyboardHookHandle(g_keyboardHook);
  }
}

std::uint64_t N_CpuInfo(DWORD sleepMilliseconds) {
  if (sleepMilliseconds < 1 || !platform::HasCpuId()) return 0;
  std::uint32_t registers[4];
  platform::CpuId(1, registers);
  if (!(registers[3] & kTimeStampCounterBit)) return 0;
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0) return 0;

  const HANDLE process = GetCurrentProcess();
  const HANDLE thread = GetCurrentThread();
  const DWORD priorityClass = GetPriorityClass(process);
  const int threadPriority = GetThreadPriority(thread);
  DWORD_PTR processMask = 0;
  DWORD_PTR systemMask = 0;
  // Bound to the first processor only when the mask can be put back afterwards.
  const bool bind = GetProcessAffinityMask(process, &processMask, &systemMask) != FALSE;
  // Changes the system refuses (no rights, CPU 0 not ours) are simply not made.
  SetPriorityClass(process, REALTIME_PRIORITY_CLASS);
  SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
  if (bind) SetProcessAffinityMask(process, 1);

  platform::CpuId(0, registers);  // serialises the instruction stream
  LARGE_INTEGER counterStart;
  QueryPerformanceCounter(&counterStart);
  const std::uint64_t stampStart = platform::ReadTimeStampCounter();
  Sleep(sleepMilliseconds);
  LARGE_INTEGER counterEnd;
  QueryPerformanceCounter(&counterEnd);
  const std::uint64_t stampEnd = platform::ReadTimeStampCounter();

  if (bind) SetProcessAffinityMask(process, processMask);
  SetThreadPriority(thread, threadPriority);
  SetPriorityClass(process, priorityClass);

  const std::uint64_t counted = static_cast<std::uint64_t>(counterEnd.QuadPart - counterStart.QuadPart);
  if (counted == 0) return 0;
  const double seconds = static_cast<double>(counted) / static_cast<double>(frequency.QuadPart);
  return static_cast<std::uint64_t>(static_cast<double>(stampEnd - stampStart) / seconds);
}

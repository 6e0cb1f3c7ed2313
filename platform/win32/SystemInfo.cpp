#include "platform/win32/SystemInfo.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define NAVO_X86 1
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr std::uint32_t kFeatureMmx = 1u << 23;   // CPUID 1, EDX
constexpr std::uint32_t kFeatureSse = 1u << 25;   // CPUID 1, EDX
constexpr std::uint32_t kFeatureSse2 = 1u << 26;  // CPUID 1, EDX
constexpr std::uint32_t kFeature3dNow = 1u << 31; // CPUID 0x80000001, EDX

std::uint32_t Edx(std::uint32_t function) {
  std::uint32_t r[4];
  platform::CpuId(function, r);
  return r[3];
}

/// The process's address space: its limit when one is set, else the 47-bit user space of x86-64.
SIZE_T AddressSpace() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return limit.rlim_cur;
  return sizeof(void*) == 8 ? (SIZE_T{1} << 47) : (SIZE_T{3} << 30);
}

/// The bytes the process has mapped (the first field of /proc/self/statm, in pages).
SIZE_T MappedBytes() {
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  statm >> pages;
  return static_cast<SIZE_T>(pages) * static_cast<SIZE_T>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

namespace platform {

bool HasCpuId() {
#ifdef NAVO_X86
  return __get_cpuid_max(0, nullptr) != 0;  // toggles the ID flag on 32-bit processors
#else
  return false;
#endif
}

void CpuId(std::uint32_t function, std::uint32_t registers[4]) {
  registers[0] = registers[1] = registers[2] = registers[3] = 0;
#ifdef NAVO_X86
  const std::uint32_t highest = __get_cpuid_max(function & 0x80000000u, nullptr);
  if (highest == 0 || function > highest) return;
  __cpuid_count(function, 0, registers[0], registers[1], registers[2], registers[3]);
#else
  (void)function;
#endif
}

std::uint64_t ReadTimeStampCounter() {
#ifdef NAVO_X86
  return __rdtsc();
#else
  return 0;
#endif
}

double CpuInfoMHz() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("cpu MHz", 0) != 0) continue;
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) return std::strtod(line.c_str() + colon + 1, nullptr);
  }
  return 0.0;
}

void ParseRelease(const std::string& release, unsigned& major, unsigned& minor, unsigned& build) {
  major = minor = build = 0;
  unsigned* parts[] = {&major, &minor, &build};
  const char* p = release.c_str();
  for (unsigned* part : parts) {
    if (*p < '0' || *p > '9') return;
    char* end = nullptr;
    *part = static_cast<unsigned>(std::strtoul(p, &end, 10));
    p = end;
    if (*p != '.') return;
    ++p;
  }
}

OsVersion GetOsVersion() {
  OsVersion version;
  utsname names{};
  if (::uname(&names) != 0) return version;
  version.name = names.sysname;
  version.release = names.release;
  ParseRelease(version.release, version.major, version.minor, version.build);
  return version;
}

}  // namespace platform

void GetSystemInfo(SYSTEM_INFO* info) {
  if (!info) return;
  *info = SYSTEM_INFO{};
  info->dwPageSize = static_cast<DWORD>(::sysconf(_SC_PAGESIZE));
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  info->dwNumberOfProcessors = online > 0 ? static_cast<DWORD>(online) : 1;
#if defined(__x86_64__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
#elif defined(__i386__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
#elif defined(__aarch64__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM64;
#elif defined(__arm__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM;
#endif
  std::uint32_t r[4];
  platform::CpuId(1, r);
  const std::uint32_t family = (r[0] >> 8) & 0xF;
  const std::uint32_t model = (r[0] >> 4) & 0xF;
  info->wProcessorLevel = static_cast<WORD>(family);
  info->wProcessorRevision = static_cast<WORD>((model << 8) | (r[0] & 0xF));
}

BOOL IsProcessorFeaturePresent(DWORD feature) {
  switch (feature) {
    case PF_MMX_INSTRUCTIONS_AVAILABLE: return (Edx(1) & kFeatureMmx) ? TRUE : FALSE;
    case PF_XMMI_INSTRUCTIONS_AVAILABLE: return (Edx(1) & kFeatureSse) ? TRUE : FALSE;
    case PF_XMMI64_INSTRUCTIONS_AVAILABLE: return (Edx(1) & kFeatureSse2) ? TRUE : FALSE;
    case PF_3DNOW_INSTRUCTIONS_AVAILABLE: return (Edx(0x80000001u) & kFeature3dNow) ? TRUE : FALSE;
    default: return FALSE;
  }
}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (!status) return;
  *status = MEMORYSTATUS{};
  struct sysinfo info {};
  if (::sysinfo(&info) == 0) {
    const SIZE_T unit = info.mem_unit ? info.mem_unit : 1;
    status->dwTotalPhys = static_cast<SIZE_T>(info.totalram) * unit;
    status->dwAvailPhys = static_cast<SIZE_T>(info.freeram + info.bufferram) * unit;
    status->dwTotalPageFile = static_cast<SIZE_T>(info.totalram + info.totalswap) * unit;
    status->dwAvailPageFile = static_cast<SIZE_T>(info.freeram + info.bufferram + info.freeswap) * unit;
    if (status->dwTotalPhys > 0) {
      const SIZE_T used = status->dwTotalPhys - status->dwAvailPhys;
      status->dwMemoryLoad = static_cast<DWORD>(used * 100 / status->dwTotalPhys);
    }
  }
  status->dwTotalVirtual = AddressSpace();
  const SIZE_T mapped = MappedBytes();
  status->dwAvailVirtual = mapped < status->dwTotalVirtual ? status->dwTotalVirtual - mapped : 0;
}

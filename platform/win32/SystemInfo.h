#pragma once
// System information, Windows-shaped, over Linux: processors from sysconf and CPUID,
// memory from sysinfo, the system's name and version from uname.
#include "platform/win32/Types.h"

#include <cstddef>
#include <cstdint>
#include <string>

using SIZE_T = std::size_t;

constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr WORD PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM64 = 12;
constexpr WORD PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;

constexpr DWORD PF_MMX_INSTRUCTIONS_AVAILABLE = 3;
constexpr DWORD PF_XMMI_INSTRUCTIONS_AVAILABLE = 6;
constexpr DWORD PF_3DNOW_INSTRUCTIONS_AVAILABLE = 7;
constexpr DWORD PF_XMMI64_INSTRUCTIONS_AVAILABLE = 10;

struct SYSTEM_INFO {
  WORD wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
  DWORD dwPageSize = 0;
  DWORD dwNumberOfProcessors = 0;
  WORD wProcessorLevel = 0;     ///< the x86 family (CPUID)
  WORD wProcessorRevision = 0;  ///< model << 8 | stepping
};

/// Sizes in bytes; the load in percent of the physical memory in use.
struct MEMORYSTATUS {
  DWORD dwLength = sizeof(MEMORYSTATUS);
  DWORD dwMemoryLoad = 0;
  SIZE_T dwTotalPhys = 0;
  SIZE_T dwAvailPhys = 0;
  SIZE_T dwTotalPageFile = 0;  ///< physical memory plus swap: what can be committed
  SIZE_T dwAvailPageFile = 0;
  SIZE_T dwTotalVirtual = 0;   ///< the process's address space
  SIZE_T dwAvailVirtual = 0;   ///< the address space not yet mapped by the process
};

void GetSystemInfo(SYSTEM_INFO* info);
/// The four instruction-set features named above, from CPUID; FALSE for anything else.
BOOL IsProcessorFeaturePresent(DWORD feature);
void GlobalMemoryStatus(MEMORYSTATUS* status);

namespace platform {

struct OsVersion {
  std::string name;     ///< "Linux"
  std::string release;  ///< the kernel release text, e.g. "6.1.0-18-amd64"
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;   ///< the third number of the release
};

/// The system's name, release and version numbers (uname).
OsVersion GetOsVersion();
/// Reads the three leading numbers of a release text ("6.1.0-18" gives 6, 1, 0).
void ParseRelease(const std::string& release, unsigned& major, unsigned& minor, unsigned& build);

/// Whether the processor has the CPUID instruction (always on x86-64, never off x86).
bool HasCpuId();
/// CPUID of a function: EAX, EBX, ECX, EDX; zeros when it does not exist.
void CpuId(std::uint32_t function, std::uint32_t registers[4]);
/// The processor's time-stamp counter (0 off x86).
std::uint64_t ReadTimeStampCounter();
/// The first "cpu MHz" of /proc/cpuinfo; 0 when there is none.
double CpuInfoMHz();

}  // namespace platform

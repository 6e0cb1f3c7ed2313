#include "core/SystemInfo.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SystemInfo, FrequencyLineInWholeMegahertz) {
  struct Case {
    std::uint64_t hertz;
    const char* text;
  };
  for (const Case& c : {Case{2800000000ull, "2.8 GHz\n"}, Case{1000000000ull, "1000 MHz\n"},
                        Case{1000999999ull, "1000 MHz\n"}, Case{1001000000ull, "1.0 GHz\n"},
                        Case{733000000ull, "733 MHz\n"}, Case{999999ull, "0 MHz\n"}, Case{0, "0 MHz\n"},
                        Case{3456789012ull, "3.5 GHz\n"}}) {
    EXPECT_EQ(FormatProcessorFrequency(c.hertz), c.text) << c.hertz;
  }
}

TEST(SystemInfo, ArchitectureNames) {
  struct Case {
    int level;
    const char* name;
  };
  for (const Case& c : {Case{3, "Intel 80386\n"}, Case{4, "Intel 80486\n"}, Case{5, "Intel Pentium\n"},
                        Case{6, "Intel Pentium Pro or Pentium II\n"}, Case{7, "Intel Pentium 3\n"},
                        Case{15, "Intel Pentium 4\n"}, Case{16, "16 - Unknown\n"}, Case{0, "0 - Unknown\n"}}) {
    EXPECT_EQ(ProcessorLevelName(c.level), c.name);
  }
}

TEST(SystemInfo, BlockHasEveryLineInOrder) {
  test::TempDir dir;
  test::CoreServices core;
  SystemInfoToLog();
  const std::string log = core.LogText();
  const std::vector<std::string> lines = {
      "\n--- System info\n",           "--- Number of processors: ",   "--- Processor Frequency: ",
      "--- 3D-Now instruction set: ",  "--- MMX instruction set: ",    "--- SSE instruction set: ",
      "--- SSE2 instruction set: ",    "--- Memory load: ",            " %\n--- Total physical memory: ",
      " MB\n--- Available physical memory: ", " MB\n--- Total virtual memory: ",
      " MB\n--- Available virtual memory: ", " MB\n--- Total page file size: ",
      " MB\n--- Available page file size: ", " MB\n--- Operating system: Linux ",
      "\n--- Operating system version: "};
  EXPECT_TRUE(test::ContainsInOrder(log, lines));
  EXPECT_EQ(log.back(), '\n');
#if defined(__x86_64__)
  EXPECT_EQ(log.find("--- Processor architecture"), std::string::npos) << "no architecture line on x86-64";
  EXPECT_NE(log.find("--- MMX instruction set: Yes\n"), std::string::npos);
  EXPECT_EQ(log.find("--- Processor Frequency: 0 MHz"), std::string::npos);
#endif
}

TEST(SystemInfo, ClockMeasurement) {
  EXPECT_EQ(N_CpuInfo(0), 0u) << "no sleep, no measurement";
#if defined(__x86_64__)
  const DWORD priorityClass = GetPriorityClass(GetCurrentProcess());
  const std::uint64_t hertz = N_CpuInfo(20);
  EXPECT_GT(hertz, 100000000u);     // above 100 MHz
  EXPECT_LT(hertz, 100000000000u);  // below 100 GHz
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), priorityClass) << "the priority is put back";
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
#endif
}

}  // namespace

#include "frontend/RaceTables.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32/Files.h"
#include "race/LevelTables.h"

std::string GetLevelFileName(std::int32_t row, bool arcadeTable, bool fog) {
  const char* name = GetLevelName(row, arcadeTable);
  if (*name == '\0') {
    if (g_log) g_log->Print("!!! GetLevelFileName: no level in row %d of the %s table\n", row, arcadeTable ? "arcade" : "full");
    return {};
  }
  return std::string(fog ? "fog_" : "") + name + ".alf";
}

const char* GetNationCode(std::int32_t row) {
  if (row < 0 || static_cast<std::size_t>(row) >= kNationCodes.size()) {
    if (g_log) g_log->Print("!!! GetNationCode: no nation in row %d\n", row);
    return "";
  }
  return kNationCodes[static_cast<std::size_t>(row)];
}

std::int32_t FindNationRow(const std::string& code) {
  for (std::size_t row = 0; row < kNationCodes.size(); ++row) {
    if (platform::EqualsNoCase(code, kNationCodes[row])) return static_cast<std::int32_t>(row);
  }
  return static_cast<std::int32_t>(kNationCodes.size());
}

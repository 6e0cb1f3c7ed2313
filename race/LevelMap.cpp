#include "race/LevelMap.h"

#include "race/LevelTables.h"
#include "race/RaceGui.h"

#include <string>

void ShowLevelMap(std::int32_t levelIndex, bool arcadeTable) {
  const std::string level = GetLevelName(levelIndex, arcadeTable);
  if (!level.empty()) race_gui::SetShader("Map1", level);
}

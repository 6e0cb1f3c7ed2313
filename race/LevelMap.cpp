#include "race/LevelMap.h"

#include "gui/GuiMap.h"
#include "race/LevelTables.h"
#include "race/RaceGui.h"

#include <string>

void ShowLevelMap(std::int32_t levelIndex, bool arcadeTable) {
  const std::string level = GetLevelName(levelIndex, arcadeTable);
  if (!level.empty()) race_gui::SetShader("Map1", level);
}

void SetMapPlayerMark(std::int32_t index) {
  if (auto* map = race_gui::ElementAs<N_GuiMap>("Map1")) {
    map->SetPlayerIndex(index < 0 ? N_GuiMap::kNoPlayer : static_cast<std::uint32_t>(index));
  }
}

void UpdateMapMarks(const std::vector<N_Vector3>& points) {
  if (auto* map = race_gui::ElementAs<N_GuiMap>("Map1")) map->SetMarks(points);
}

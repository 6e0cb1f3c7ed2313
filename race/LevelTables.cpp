#include "race/LevelTables.h"

namespace {

constexpr N_LevelName Row(const char* name) {
  N_LevelName row{};
  for (std::size_t i = 0; i + 1 < row.size() && name[i] != '\0'; ++i) row[i] = name[i];
  return row;
}

}  // namespace

const std::array<N_LevelName, 12> LevelNamesAll = {
    Row("Beitostolen"), Row("Holmenkollen"), Row("Ostersund"),  Row("Oberhof"),         Row("Ruhpolding"),
    Row("Antholz"),     Row("Torino"),       Row("Pokljuka"),   Row("Hochfilzen"),      Row("Khanty-Mansiysk"),
    Row("Running"),     Row("Training")};

const std::array<N_LevelName, 8> LevelNamesArcade = {Row("Beitostolen"), Row("Holmenkollen"), Row("Ostersund"),
                                                     Row("Oberhof"),     Row("Ruhpolding"),   Row("Antholz"),
                                                     Row("Pokljuka"),    Row("Hochfilzen")};

const char* GetLevelName(std::int32_t row, bool arcadeTable) {
  if (row < 0) return "";
  const auto at = static_cast<std::size_t>(row);
  if (arcadeTable) return at < LevelNamesArcade.size() ? LevelNamesArcade[at].data() : "";
  return at < LevelNamesAll.size() ? LevelNamesAll[at].data() : "";
}

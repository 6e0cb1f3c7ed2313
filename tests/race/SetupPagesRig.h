#pragma once
// The race pages' test world with stand-ins of the three set-up pages (the arcade,
// single-race and time-attack choices: tests/race/pages/setup.gui), the athlete tables
// filled, the markers' files for the arcade games a pursuit start makes, and the
// tables' folder; choices are made by element name.
#include "core/VarMng.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/TestEnv.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace test {

class SetupPagesRig : public RacePagesRig {
 public:
  SetupPagesRig() {
    for (const char* part : {"data/anim/sipka", "data/anim/starter.mesh", "data/anim/starter.anim",
                             "data/anim/starter_s.anim", "data/scripts/markers.shader", "data/textures/markers",
                             "data/anim/puska", "data/anim/terciky", "data/Ai"}) {
      CopyFromGameRoot(rig.harness.dir, part);
    }
    std::filesystem::create_directories(rig.harness.dir.Path() + "/data/tables");
    World().GuiMng().ParseGuiFile(NAVO_RACE_TEST_PAGES "/setup.gui");
    for (const char* table : {"Athlets1", "Athlets2", "Athlets3"}) {
      for (int row = 0; row < 8; ++row) ElementAs<N_GuiTable>(table).AddRow("\"athlete\" GER", false);
    }
    NewLog();
  }

  N_VarMng& Vars() { return *rig.core.vars; }

  /// Selects by element name: an image or text selector's item, a table's row.
  void Choose(std::initializer_list<std::pair<const char*, int>> choices) {
    for (const auto& [name, index] : choices) {
      N_GuiElement& element = Element(name);
      if (auto* image = dynamic_cast<N_GuiImageSelector*>(&element)) image->SetSelected(std::uint32_t(index));
      if (auto* text = dynamic_cast<N_GuiTextSelector*>(&element)) text->SetSelected(std::uint32_t(index));
      if (auto* table = dynamic_cast<N_GuiTable*>(&element)) table->SelectRow(index);
    }
  }
  void TypeName(const char* box, const std::string& name) { ElementAs<N_GuiEditBox>(box).SetCaption(name); }

  /// A result as the final-result board leaves it, kept under a handle.
  static std::int32_t Keep(std::vector<N_ResultRow> rows, std::int32_t sex = 0) {
    auto result = std::make_unique<ExportData>();
    result->Rows = std::move(rows);
    result->Sex = sex;
    return StoreFinishedResult(std::move(result));
  }
  static N_ResultRow Row(std::int32_t athlete, float time, std::int32_t misses = 0) {
    N_ResultRow row;
    row.AthleteIndex = athlete;
    row.Time = time;
    row.Misses = misses;
    return row;
  }

  /// A table file's bytes; empty when it does not exist.
  std::string TableFile(const char* name) { return rig.harness.dir.Read("data/tables/" + std::string(name)); }
};

}  // namespace test

#include "frontend/TopTimesPages.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/FrontendUtil.h"
#include "frontend/TopTimesDisplay.h"
#include "gui/GuiElement.h"
#include "gui/GuiTextSelector.h"

#include <cstdint>
#include <new>
#include <string>

using namespace frontend;

std::unique_ptr<N_ArcadeHS> ArcadeHSTable;
std::unique_ptr<N_SingleRaceHS> SingleRaceHSTable;

namespace {

/// One top-times page: its selectors, back button, pages, table and display.
template <class Table>
struct TopTimesPage {
  const char* track;
  const char* sex;
  const char* discipline;
  const char* difficulty;
  const char* back;
  const char* page;
  const char* setupPage;
  std::unique_ptr<Table>* table;
  void (*display)(const Table&, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
};

const TopTimesPage<N_ArcadeHS> kArcade{
    "Track8", "Sex8", "Discipline8", "Difficulty8", "Back16", "ArcadeHS", "Arcade", &ArcadeHSTable, DisplayArcadeHS};
const TopTimesPage<N_SingleRaceHS> kSingleRace{"Track9",     "Sex9",         "Discipline9",
                                               "Difficulty9", "Back17",      "SingleRaceHS",
                                               "SingleRace", &SingleRaceHSTable, DisplaySingleRaceHS};

template <class Table>
void ShowBlock(const TopTimesPage<Table>& page) {
  if (!*page.table) return;
  page.display(**page.table, SelectedItem(page.track), SelectedItem(page.sex), SelectedItem(page.discipline),
               SelectedItem(page.difficulty));
}

template <class Table>
void Show(const TopTimesPage<Table>& page) {
  page.table->reset(new (std::nothrow) Table);
  if (!*page.table) {
    if (g_log) g_log->Print("%s: no memory for the top times\n", page.page);
    return;
  }
  (*page.table)->Load();
  ShowBlock(page);
}

template <class Table>
void Click(const TopTimesPage<Table>& page, const N_GuiElement* element) {
  if (!element) return;
  if (element->GetName() != page.back) {
    ShowBlock(page);
    return;
  }
  page.table->reset();
  HidePageNow(page.page);
  ShowPageNow(page.setupPage);
}

void Select(const char* name, std::int32_t item) {
  auto* selector = GetElementOf<N_GuiTextSelector>(name);
  if (selector && item >= 0 && static_cast<std::size_t>(item) < selector->Items().size()) {
    selector->SetSelected(static_cast<std::uint32_t>(item));
  }
}

template <class Table>
void SelectBlock(const TopTimesPage<Table>& page, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                 std::int32_t difficulty) {
  Select(page.track, track);
  Select(page.sex, sex);
  Select(page.discipline, discipline);
  Select(page.difficulty, difficulty);
}

}  // namespace

void SelectTopTimesBlock(const char* page, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                         std::int32_t difficulty) {
  const std::string name = page ? page : "";
  if (name == kArcade.page) SelectBlock(kArcade, track, sex, discipline, difficulty);
  if (name == kSingleRace.page) SelectBlock(kSingleRace, track, sex, discipline, difficulty);
}

extern "C" {

void ArcadeHSShow(N_GuiPage*) { Show(kArcade); }
void ArcadeHSClick(N_GuiElement* element) { Click(kArcade, element); }
void SingleRaceHSShow(N_GuiPage*) { Show(kSingleRace); }
void SingleRaceHSClick(N_GuiElement* element) { Click(kSingleRace, element); }

}  // extern "C"

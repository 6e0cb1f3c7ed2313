#pragma once
// The top-times pages of the arcade race ("ArcadeHS") and the single race
// ("SingleRaceHS"): showing one loads its table into a process-wide object kept while
// the page is open and shows the block of its four selectors (track, sex, discipline,
// difficulty); a selector click shows the new block; the back button frees the table,
// hides the page at once and shows the set-up page ("Arcade", "SingleRace") at once.
// Opened from its set-up page, it shows the block of the set-up page's choice.
#include "race/TopTimeTables.h"

#include <cstdint>
#include <memory>

class N_GuiElement;
class N_GuiPage;

/// The table of the open "ArcadeHS" page; null while it is closed.
extern std::unique_ptr<N_ArcadeHS> ArcadeHSTable;
/// The table of the open "SingleRaceHS" page; null while it is closed.
extern std::unique_ptr<N_SingleRaceHS> SingleRaceHSTable;

/// Puts the selectors of the top-times page of that name ("ArcadeHS", "SingleRaceHS")
/// on the block of the set-up page's choice, before the page shows it; a choice its
/// selector lacks (-1, or past its items) leaves that selector as it was.
void SelectTopTimesBlock(const char* page, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                         std::int32_t difficulty);

extern "C" {
/// Onshow of "ArcadeHS": selectors "Track8", "Sex8", "Discipline8", "Difficulty8".
void ArcadeHSShow(N_GuiPage* page);
/// Onclick of the selectors and of "Back16".
void ArcadeHSClick(N_GuiElement* element);
/// Onshow of "SingleRaceHS": selectors "Track9", "Sex9", "Discipline9", "Difficulty9".
void SingleRaceHSShow(N_GuiPage* page);
/// Onclick of the selectors and of "Back17".
void SingleRaceHSClick(N_GuiElement* element);
}

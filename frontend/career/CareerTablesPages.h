#pragma once
// The career's table pages and its end:
// - "CareerHS1" (standings) loads the slot's "data\tables\career%d.hs" into one object
//   on its first showing and keeps it until "Back23" takes the player back to "Career";
//   "Details2" opens "CareerHS2" (race results), whose selectors "Season1", "Track2" and
//   "Discipline10" pick the race shown and whose "Back26" returns without reloading.
// - "CareerHSFinal" shows the block of the profile's difficulty of "data\tables\career.hs";
//   "Back27" deletes the profile (it was saved when the career ended) and returns to the
//   single-player menu.
// - "CareerHelp": "Back24" returns to "CareerHS" and "Career".
// - cbFinishCareer: the answer of "Finish1"'s question; "Yes1" ends the career.
#include "frontend/CareerTables.h"

#include <memory>

class N_GuiElement;
class N_GuiPage;

namespace career {
/// The career tables of the open standings and results pages; null while they are closed.
std::unique_ptr<N_CareerHS>& TablesPageTable();
}  // namespace career

extern "C" {
/// Onshow of "CareerHS1": loads the tables unless they are loaded already.
void CareerHS1Show(N_GuiPage* page);
/// Onclick of "Back23" and "Details2".
void CareerHS1Click(N_GuiElement* element);
/// Onshow of "CareerHS2": the race of the three selectors.
void CareerHS2Show(N_GuiPage* page);
/// Onclick of the selectors (refresh) and "Back26".
void CareerHS2Click(N_GuiElement* element);
/// Onshow of "CareerHSFinal": the final table of the profile's difficulty.
void CareerHSFinalShow(N_GuiPage* page);
/// Onclick of "Back27".
void CareerHSFinalClick(N_GuiElement* element);
/// Onclick of "Back24".
void CareerHelpClick(N_GuiElement* element);
/// The answer of the question of "Finish1".
void cbFinishCareer(N_GuiElement* element);
}

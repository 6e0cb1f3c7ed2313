#pragma once
// The click on the final-result page "FinalResult": the one place where a finished race
// becomes records and the player returns to the page of the mode that launched it
// ("gamemode"). The page is hidden at once; the case of "gamemode" acts on the result
// kept under "egd" (race/FinishedResults.h) and names the page shown at once after it,
// or none when it has started the next race or shown a page of its own. A "gamemode"
// without a case is "none": menu reset, the result released, "Background" and
// "MainMenu".
//
// A race mode adds its case as one row of the table in FinalResultPage.cpp.
#include <cstdint>

class N_GuiElement;

namespace final_result {

/// What the click read, in this order: "gamemode", "discipline", "egd".
struct Finished {
  std::int32_t gameMode = 0;
  std::int32_t discipline = 0;
  std::int32_t resultHandle = 0;  ///< "egd": 0, stale or released resolve to no result
};

/// One "gamemode"'s handling; the page to show at once afterwards, or null for none.
using CaseHandler = const char* (*)(const Finished& finished);

/// The view reset: "detail" 0, "ShowAnimObj" 1, the menu's sound groups.
void ViewReset();
/// The menu reset: the level's snowfall off, "HmlaHackSet" 0, then the view reset.
void MenuReset();

}  // namespace final_result

extern "C" {
/// Onclick of the page "FinalResult"; which element was clicked does not matter.
void FinalResultClick(N_GuiElement* element);
}

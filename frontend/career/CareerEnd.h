#pragma once
// The end of a career and the career's cases of the final-result page.
//
// FinishCareer (the tenth season's last race, or the player's own "Finish1"): the
// roster saved for the profile's slot, the career entered into "data\tables\career.hs"
// under its difficulty (only with points above 0), the profile marked finished and
// saved, then "Career" hidden and "CareerHSFinal" shown.
//
// The result page's cases: "gamemode" 5 (a sponsor event: the view reset only, the
// result scored) and 6 (a career race: the menu reset, the result booked) show
// "CareerHS" and return to "Career", except that a finished career stays on its final
// table. A result without a current profile is released and logged, and the player
// goes back to "Background" and "SinglePlayer".
#include "frontend/FinalResultPage.h"

/// Ends the current career (nothing without a profile).
void FinishCareer();

namespace career {

/// "gamemode" 5: the sponsor event's result.
const char* SponsorEventResult(const final_result::Finished& finished);
/// "gamemode" 6: the career race's result.
const char* CareerRaceResult(const final_result::Finished& finished);

}  // namespace career

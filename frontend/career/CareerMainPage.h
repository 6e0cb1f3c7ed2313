#pragma once
// The career hub "Career": the bookable items, the plan of the selected day, the
// account and the week's line; booking and removing items, selecting a day (the
// travel day opens the travel page), and the start button that plays a booked
// sponsor event, ends the working week or starts the week's next race.
#include <cstdint>

class N_GuiElement;
class N_GuiPage;

namespace career {
/// "EventText1" by the stage: the week's work, the pursuit next or the extra race;
/// any other stage leaves it as it is.
void ShowStageText(std::int32_t stage);
/// The program ends (the menus' exit, a termination signal) while a career runs: it is
/// saved as leaving its page saves it, unless one of its races is under way (a game, a
/// result page, a week played out whose first race is not booked): then its last save
/// stands, which the files hold whole.
void SaveCareerAtExit();
}  // namespace career

extern "C" {
/// Onshow of "Career": fills the whole page from the current profile.
void CareerShow(N_GuiPage* page);
/// Onclick of every button, table, day box and the model of "Career".
void CareerClick(N_GuiElement* element);
}

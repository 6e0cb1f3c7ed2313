#pragma once
// The player's relay team and the page "Relay" that puts it together: the table
// "Relay1" lists the members in leg order, "Add1" takes the athlete selected in the
// set-up page's athlete table, "Remove1" drops the selected member, "Up1" and "Down1"
// move it one leg earlier or later. The team is one nation's: an athlete of another
// nation gets a message box instead. The set-up pages ("Arcade" and "SingleRace")
// share the team and empty it when they show; the launches start their relay from it.
#include "race/PlayerRelayTeam.h"

class N_GuiElement;

extern "C" {
/// Onclick of "Add1", "Remove1", "Up1" and "Down1" of the page "Relay".
void RelayClick(N_GuiElement* element);
}

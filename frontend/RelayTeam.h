#pragma once
// The player's relay team and the page "Relay" that puts it together: the table
// "Relay1" lists the members in leg order, "Add1" takes the athlete selected in the
// set-up page's athlete table, "Remove1" drops the selected member, "Up1" and "Down1"
// move it one leg earlier or later. The team is one nation's: an athlete of another
// nation gets a message box instead. The set-up pages ("Arcade" and "SingleRace")
// share the team: it stays while they show the sex its athletes were taken from (over
// their top times, from race to race), and goes when the sex changes. The launches
// start their relay from it.
#include "race/PlayerRelayTeam.h"

#include <cstdint>

class N_GuiElement;

/// The empty relay team: "RelayTeam" emptied with its storage, "Relay1" cleared, "Add1"
/// enabled and "Remove1" disabled.
void ResetRelayTeam();
/// A set-up page shows the athletes of the sex: a team taken from that sex stays,
/// "Relay1" lists it again and "Add1" and "Remove1" follow its size; a team of the
/// other sex is emptied as ResetRelayTeam does.
void KeepRelayTeamFor(std::int32_t sex);

extern "C" {
/// Onclick of "Add1", "Remove1", "Up1" and "Down1" of the page "Relay".
void RelayClick(N_GuiElement* element);
}

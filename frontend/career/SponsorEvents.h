#pragma once
// The sponsor's paid appearances: the offer a new week may bring (one of the six
// buddy games, a prize and a day, in a yes/no box) and the scoring of a played event
// against its target.
#include <cstdint>

struct ExportData;

/// Draws the new week's offer into the week state: with one chance in two none (event
/// -1, prize 0); else an event 0 to 5, a prize of 1000 to 2500 EUR and a day 0 to 2
/// (Monday to Wednesday), shown in the "#str321" yes/no box answered by cbSponsorEvent.
void OfferSponsorEvent();

/// Whether a played event reached its target: the game's success and the hits or the
/// time of the event's row; an unknown event never does.
bool SponsorTargetMet(std::int32_t event, const ExportData& result);

/// Scores the played event of the current week from the result under the handle and
/// releases the result: on success the "#str335" box with the prize, which is paid to
/// the account; else the "#str336" box. The event and its prize are cleared either
/// way. Without a current profile the result is released, logged, and nothing changes.
void ScoreSponsorEvent(std::int32_t resultHandle);

/// Plays the booked event (its item already taken out of the week): from "Career"
/// through "Loading" to the buddy game's "BuddyStart" with the profile's athlete,
/// "gamemode" 5. Nothing without a current profile.
void LaunchSponsorEvent();

class N_GuiElement;
extern "C" {
/// Answer of the offer box: "Yes1" books the event (row 8 at the prize) into its day.
void cbSponsorEvent(N_GuiElement* element);
/// Answer of the removal question: "Yes1" takes the selected event item out of the
/// selected day, without refund.
void cbRemoveSponsorEvent(N_GuiElement* element);
}

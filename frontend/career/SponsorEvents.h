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

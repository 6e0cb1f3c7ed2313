#pragma once
// The page "CareerTrainings": one special training a week (at most two a season),
// which takes Monday to Wednesday of the week plan.
class N_GuiElement;
class N_GuiPage;

/// The purchase of the row selected in "TTable1": refused with a box when one is
/// already booked this week or the account is short; else paid, counted, and Monday
/// to Wednesday emptied without refund, back to "Career".
void BuyWeekChoice();

extern "C" {
void CareerTrainingsShow(N_GuiPage* page);
void CareerTrainingsClick(N_GuiElement* element);
/// Answer of the question whether to give up the items of Monday to Wednesday.
void cbTrainingBuy(N_GuiElement* element);
}

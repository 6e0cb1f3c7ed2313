#include "race/PausePage.h"

#include "race/RaceGui.h"

void ShowPausePage() { race_gui::ShowPage("Pause", 2.0f); }

void HidePausePage() { race_gui::ClosePage("Pause", 2.0f); }

void HidePausePageNow() { race_gui::HidePage("Pause"); }

#pragma once
// The two pages around every race start: "Loading" while the level loads, and the
// start list of the discipline, whose click starts the race.
class N_GuiElement;
class N_GuiPage;

extern "C" {
/// Onshow of "Loading": its progress bar "Loading" back to 0.
void LoadingShow(N_GuiPage* page);
/// Onclick of the start lists' catchers: fades the clicked page out (2.0 a second),
/// points the race camera at the level camera of "discipline" (relay and mass start 3,
/// pursuit 2, sprint 1, others unchanged) and unpauses the current game. Without a
/// game it only closes the page.
void StartListClick(N_GuiElement* element);
}

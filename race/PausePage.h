#pragma once
// The in-race "Pause" page, opened and closed by the player's pause key. The player
// controls live below the race, so the world installs these two into them
// (SetPausePageCalls, core/PlayerControls.h) when it is built, and takes them out
// again when it goes.

/// Fades "Pause" in at 2.0 per second; nothing when there is none.
void ShowPausePage();
/// Fades "Pause" out at 2.0 per second; nothing when there is none.
void HidePausePage();
/// Hides "Pause" at once (the race it belongs to is gone).
void HidePausePageNow();
/// Whether "Pause" shows (also while it fades).
bool PausePageShown();

#pragma once
// The in-race "Pause" page, opened and closed by the player's pause key. Defined by
// the race subsystem (it finds the GUI page by name), which installs both into the
// player controls with SetPausePageCalls (core/PlayerControls.h).

/// Opens the "Pause" page with the transition value 2.0; nothing when there is none.
void ShowPausePage();
/// Closes the "Pause" page with the transition value 2.0; nothing when there is none.
void HidePausePage();

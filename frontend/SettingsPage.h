#pragma once
// The options pages' callbacks: "Settings" (video, detail and sound settings, shown over
// "CareerHS") and "ControlsOptions" (the key buttons, ControlsPage.h), which share the
// click callback OptionsClick.
//
// "Settings" holds the pending choice, the variables the applied one: showing the page
// reloads it from the variables, "Apply1" writes them, "Back14" forgets the choice. The
// picture sliders preview on the display's gamma ramp at once; the volume sliders act
// on the sound manager at once and stay. Most video variables are read only when the
// renderer starts: a click on such a selector (or a preset) sets the restart-needed
// flag, and "Apply1" with the flag set asks for a restart in an OK box whose answer
// ends the program with "restart" 1 (the variables are saved to "config.cfg" at the
// shutdown, and the entry point starts the new copy).
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"

extern "C" {
/// Onshow of "Settings": the sound part, then the selectors and the picture sliders.
void Options1Show(N_GuiPage* page);
/// Onclick (onmousedown of the sliders) of "Settings" and "ControlsOptions".
void OptionsClick(N_GuiElement* element);
/// The answer of the restart box ("Ok1").
void cbSettingsRestart(N_GuiElement* element);
}

/// Writes the eight selectors and the three picture sliders into the variables.
void ApplyVideoSettings();

namespace settings {
/// The process-wide restart-needed flag: set by the selectors that need a restart and
/// the presets, cleared only by the restart box's answer.
bool RestartNeeded();
/// The four sound switches as their variables say. The race switches its sound groups
/// by the switches: the main menu shows them at once, so that a race before the first
/// visit of "Settings" follows the stored choice too.
void ShowSoundSwitches();
}  // namespace settings

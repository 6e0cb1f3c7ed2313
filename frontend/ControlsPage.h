#pragma once
// "ControlsOptions": one button per rebindable player action shows the name of its key;
// a click waits (in frames of its own, inside the click) for the next key to go down
// and binds it; an action that held it takes the button's old key in exchange; the athlete figure "Model6"
// plays the movement of the action under the mouse. The key definitions table is the
// only state: a binding is in force at once and saved when the program exits.
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"

extern "C" {
/// Onshow of "ControlsOptions": every key button's caption from the table.
void Options2Show(N_GuiPage* page);
/// Onmouseenter of the key buttons: the figure's animation for the action.
void OptionsEnter(N_GuiElement* element);
}

/// "Back15" of OptionsClick: back to the options page.
void ControlsBack();
/// The key-button branch of OptionsClick; a name that is no key button does nothing.
void ClickKeyButton(N_GuiElement* element);
/// Waits, drawing only the GUI, until a key goes down and binds it to the action;
/// *previous as BindPressedKey leaves it. The key's name, or null when the desktop
/// asked the program to end first (nothing bound) or there is no input.
const char* CaptureActionKey(int action, int* previous);

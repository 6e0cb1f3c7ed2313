#pragma once
// The main menu and the navigation pages below it: what showing the menu puts back
// (camera, detail, snow, music, sound groups), the lens picture "AImage" that follows
// the button under the mouse, and where each button leads. Every callback dispatches on
// the exact name of its element; a name in no row does nothing.
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"

/// The sound categories of the menus: commentary, environment, ski, body and audience
/// off, music on; the menu's own categories stay as they are.
void SwitchSoundGroupsToMenu();

extern "C" {
void MainMenuShow(N_GuiPage* page);

void MainMenuEnter(N_GuiElement* element);
void SinglePlayerEnter(N_GuiElement* element);
void MultiPlayerEnter(N_GuiElement* element);
void TrainingFunEnter(N_GuiElement* element);
void MainOptionsEnter(N_GuiElement* element);

void MainMenuClick(N_GuiElement* element);
void SinglePlayerClick(N_GuiElement* element);
void MultiPlayerClick(N_GuiElement* element);
void TrainingFunClick(N_GuiElement* element);
void MainOptionsClick(N_GuiElement* element);
void CreditsClick(N_GuiElement* element);
}

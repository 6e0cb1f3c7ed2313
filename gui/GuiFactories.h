#pragma once
// The registration of the GUI's factories, in the game's fixed order: the world's
// constructor calls it once with its GUI manager.
class N_GuiMng;

/// Registers one factory of every element and effect class that exists, elements
/// first, each in its place of the game's table (registration logs one line each).
void RegisterGuiFactories(N_GuiMng& mng);

#pragma once
// Interim GUI access of the options pages until the front-end's shared helpers land.
#include "race/RaceGui.h"
#include <string>
class N_GuiMng;
namespace frontend {
template <class T>
T* ElementAs(const char* name) { return race_gui::ElementAs<T>(name); }
inline void HidePage(const char* name) { race_gui::HidePage(name); }
inline void ShowPage(const char* name) { race_gui::ShowPage(name, 2.0f); }
inline std::string Text(const char* key) { return race_gui::Text(key); }
inline N_GuiMng* GuiMng() { return race_gui::Mng(); }
void ShowMessageOK(const char* text, const char* callback);
void RunGuiFrame();
}  // namespace frontend

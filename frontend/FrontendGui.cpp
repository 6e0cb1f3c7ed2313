#include "frontend/FrontendGui.h"
#include "core/InputMng.h"
namespace frontend {
void ShowMessageOK(const char*, const char*) {}
void RunGuiFrame() { if (g_inputMng) g_inputMng->Update(); }
}  // namespace frontend

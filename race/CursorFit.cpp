#include "race/CursorFit.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "gui/GuiCursor.h"
#include "gui/GuiMng.h"
#include "platform/win32.h"

void FitCursorToWindow(N_GuiMng& gui) {
  auto* cursor = dynamic_cast<N_GuiCursor*>(gui.GetCursor());
  if (!cursor) return;
  float x = 1.0f, y = 1.0f;
  RECT client{};
  if (g_varMng && g_varMng->GetInt("v_fullscreen") == 0 &&
      GetClientRect(static_cast<HWND>(g_varMng->GetInt("wnd_handle")), &client) && client.right > 0 && client.bottom > 0) {
    x = N_GuiElement::kScreenWidth / static_cast<float>(client.right);
    y = N_GuiElement::kScreenHeight / static_cast<float>(client.bottom);
  }
  cursor->SetMotionScale(x, y);
}

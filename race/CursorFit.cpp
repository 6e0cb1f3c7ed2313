#include "race/CursorFit.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "gui/GuiCursor.h"
#include "gui/GuiMng.h"
#include "platform/win32.h"
#include "race/PausePage.h"

#include <algorithm>

namespace {

HWND MainWindow() { return g_varMng ? static_cast<HWND>(g_varMng->GetInt("wnd_handle")) : 0; }

/// The pointer in the window's client coordinates and the client area's size; false
/// without a window or a pointer.
bool PointerInClient(HWND window, POINT& point, RECT& client) {
  return window && GetCursorPos(&point) && ScreenToClient(window, &point) && GetClientRect(window, &client) &&
         client.right > 0 && client.bottom > 0;
}

}  // namespace

N_CursorFit::~N_CursorFit() { Clip(false); }

void N_CursorFit::Clip(bool take) {
  if (take == m_clipped) return;
  m_clipped = take;
  const RECT anywhere{};  // the layer holds the pointer in the window whatever the rectangle
  ClipCursor(take ? &anywhere : nullptr);
}

void N_CursorFit::Update(N_GuiMng& gui, bool mouseTurnsView) {
  const HWND window = MainWindow();
  Clip(window && mouseTurnsView && gui.GetCursorCounter() == 0 && !PausePageShown());
  auto* cursor = dynamic_cast<N_GuiCursor*>(gui.GetCursor());
  if (!cursor) return;
  POINT point;
  RECT client;
  if (m_clipped || !PointerInClient(window, point, client)) {
    cursor->SetMotionScale(1.0f, 1.0f);
    m_placed = false;  // back on the pointer when it is free again
    return;
  }
  cursor->SetMotionScale(0.0f, 0.0f);
  // Put on the pointer when the pointer moves: an arrow the program set elsewhere (a
  // script putting it on a button) stays there until then.
  if (m_placed && point.x == m_lastX && point.y == m_lastY) return;
  m_placed = true;
  m_lastX = point.x;
  m_lastY = point.y;
  const float x = float(point.x) * N_GuiElement::kScreenWidth / float(client.right);
  const float y = float(point.y) * N_GuiElement::kScreenHeight / float(client.bottom);
  cursor->SetLeft(std::clamp(x, 0.0f, N_GuiElement::kScreenWidth));
  cursor->SetTop(std::clamp(y, 0.0f, N_GuiElement::kScreenHeight));
}

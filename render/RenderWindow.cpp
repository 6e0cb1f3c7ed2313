// The window side of a video-mode change.
#include "platform/win32.h"
#include "render/Render.h"
#include "render/RenderServices.h"

void N_Render::ApplyWindowStyle() {
  const bool fullScreen = RenderVarInt("v_fullscreen") != 0;
  DWORD style, exStyle;
  if (fullScreen) {
    ShowCursor(FALSE);
    style = WS_POPUP | WS_VISIBLE;
    exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
  } else {
    ShowCursor(TRUE);
    style = WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
    exStyle = WS_EX_APPWINDOW;
  }
  RECT rect;
  SetRect(&rect, 0, 0, RenderVarInt("v_width"), RenderVarInt("v_height"));
  AdjustWindowRect(&rect, style, FALSE);
  const HWND window = HWND(RenderVarInt("wnd_handle"));
  SetWindowLongA(window, GWL_EXSTYLE, LONG(exStyle));
  SetWindowLongA(window, GWL_STYLE, LONG(style));
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

#include "core/KeyboardHook.h"

namespace {
HHOOK g_hook = 0;
}  // namespace

bool IsProtectedSystemKey(const KBDLLHOOKSTRUCT& event, bool ctrlDown) {
  const bool altDown = (event.flags & LLKHF_ALTDOWN) != 0;
  switch (event.vkCode) {
    case VK_ESCAPE: return ctrlDown || altDown;
    case VK_TAB: return altDown;
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS: return true;
    default: return false;
  }
}

void SetKeyboardHookHandle(HHOOK hook) { g_hook = hook; }

LRESULT N_KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION || lParam == 0) return CallNextHookEx(g_hook, code, wParam, lParam);
  const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  const bool ctrlDown = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
  if (IsProtectedSystemKey(*event, ctrlDown)) return 1;
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

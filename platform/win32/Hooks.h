#pragma once
// The low-level keyboard hook, Windows-shaped.
//
// A desktop keyboard hook has no counterpart for an ordinary Linux program: the layer
// accepts the hook (a nonzero handle) and never calls it, so the system keys keep
// working, as they do for every other program of the desktop.
#include "platform/win32/Keyboard.h"
#include "platform/win32/Types.h"

using HHOOK = std::int32_t;
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

constexpr int WH_KEYBOARD_LL = 13;
constexpr int HC_ACTION = 0;
constexpr DWORD LLKHF_ALTDOWN = 0x20;

/// The record a low-level keyboard hook receives (its address in the long parameter).
struct KBDLLHOOKSTRUCT {
  DWORD vkCode = 0;
  DWORD scanCode = 0;
  DWORD flags = 0;
  DWORD time = 0;
  std::uintptr_t dwExtraInfo = 0;
};

/// Accepts a low-level keyboard hook (nonzero handle); it is never called. 0 for other kinds.
HHOOK SetWindowsHookExA(int kind, HOOKPROC procedure, HINSTANCE module, DWORD threadId);
/// The next hook in the chain: there is none, so the event goes on (0).
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
/// Bit 15 set while the key is down. Only the Ctrl keys are known (from SDL's modifier
/// state, while SDL runs); every other key reads as up.
short GetAsyncKeyState(int virtualKey);

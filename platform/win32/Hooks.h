#pragma once
// The low-level keyboard hook and the screen-saver switch, Windows-shaped.
//
// A desktop keyboard hook has no counterpart for an ordinary Linux program: the layer
// accepts the hook (a nonzero handle) and never calls it, so the system keys keep
// working, as they do for every other program of the desktop. The screen saver is
// kept off by SDL while the window exists.
#include "platform/win32/Keyboard.h"
#include "platform/win32/Types.h"

using HHOOK = std::int32_t;
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

constexpr int WH_KEYBOARD_LL = 13;
constexpr int HC_ACTION = 0;
constexpr DWORD LLKHF_ALTDOWN = 0x20;

constexpr UINT SPI_SETSCREENSAVERRUNNING = 0x0061;

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
/// Accepted and ignored (TRUE): no system setting is changed.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, void* pvParam, UINT winIni);
